#include "app/tempslidefolder.h"
#include "common/errors.h"
#include "tests/app/slidetestfiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace curvana {
namespace {

using testing::TTempDir;
using testing::WriteFile;
namespace fs = std::filesystem;

std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The id of a process that has ended and been reaped.
pid_t DeadPid() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

TEST(TempSlideFolder, IsPrivateNamedForThisProcessAndRemovedWithItsContent) {
    TTempDir root;
    const mode_t oldMask = ::umask(0);
    std::optional<TTempSlideFolder> folder(std::in_place, root.Path.string());
    ::umask(oldMask);
    const std::string path = folder->Path();

    EXPECT_EQ(fs::path(path).parent_path(), root.Path);
    const std::string name = fs::path(path).filename().string();
    const std::string expectedStart =
        std::string(TempSlideFolderPrefix) + std::to_string(::getpid()) + "-";
    EXPECT_TRUE(name.starts_with(expectedStart)) << name;
    EXPECT_GT(name.size(), expectedStart.size()) << name;
    struct stat info {};
    ASSERT_EQ(::lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, 0700u);

    // A second folder of the same process never shares the first one's files.
    {
        TTempSlideFolder second(root.Path.string());
        EXPECT_NE(second.Path(), path);
    }

    WriteFile(path + "/~TempSlide1.xml", "<CurvanaDocument/>");
    fs::create_directory(path + "/sub");
    WriteFile(path + "/sub/file", "x");
    folder.reset();
    EXPECT_TRUE(Entries(root.Path).empty());
}

TEST(TempSlideFolder, MovingHandsOverTheFolderAndRemoveIsFinal) {
    TTempDir root;
    TTempSlideFolder first(root.Path.string());
    const std::string path = first.Path();
    {
        TTempSlideFolder moved(std::move(first));
        EXPECT_EQ(moved.Path(), path);
        EXPECT_EQ(first.Path(), "");
        EXPECT_TRUE(fs::exists(path));
    }
    EXPECT_FALSE(fs::exists(path));

    TTempSlideFolder other(root.Path.string());
    const std::string otherPath = other.Path();
    {
        TTempSlideFolder target(root.Path.string());
        const std::string replaced = target.Path();
        target = std::move(other);
        EXPECT_FALSE(fs::exists(replaced));
        EXPECT_EQ(target.Path(), otherPath);
    }
    EXPECT_FALSE(fs::exists(otherPath));

    TTempSlideFolder early(root.Path.string());
    early.Remove();
    EXPECT_EQ(early.Path(), "");
    EXPECT_TRUE(Entries(root.Path).empty());
}

TEST(TempSlideFolder, CreationUnderAMissingRootThrows) {
    TTempDir root;
    EXPECT_THROW(TTempSlideFolder(root / "missing"), ECurvanaError);
}

// Sets an environment variable for one scope and restores it afterwards.
class TEnvScope {
public:
    TEnvScope(const char* name, const char* value) : FName(name) {
        if (const char* old = std::getenv(name))
            FOld = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~TEnvScope() {
        if (FOld)
            ::setenv(FName, FOld->c_str(), 1);
        else
            ::unsetenv(FName);
    }

private:
    const char* FName;
    std::optional<std::string> FOld;
};

TEST(TempSlideFolder, RootIsTheRuntimeFolderWhenUsableElseTheTemporaryFolder) {
    TTempDir runtime;
    TTempDir temp;
    const TEnvScope tmpdir("TMPDIR", temp.Path.c_str());
    const std::string file = runtime / "file";
    WriteFile(file, "x");
    struct RootCase {
        std::optional<std::string> runtimeDir;
        std::string expected;
    };
    const RootCase cases[] = {
        {runtime.Path.string(), runtime.Path.string()},
        {std::nullopt, temp.Path.string()},
        {"", temp.Path.string()},
        {"relative/dir", temp.Path.string()},
        {runtime / "missing", temp.Path.string()},
        {file, temp.Path.string()},
    };
    for (const RootCase& c : cases) {
        const TEnvScope xdg("XDG_RUNTIME_DIR", c.runtimeDir ? c.runtimeDir->c_str() : nullptr);
        EXPECT_EQ(fs::path(TempSlideRoot()), fs::path(c.expected))
            << c.runtimeDir.value_or("(unset)");
    }
    // The default constructor uses that root.
    const TEnvScope xdg("XDG_RUNTIME_DIR", runtime.Path.c_str());
    TTempSlideFolder folder;
    EXPECT_EQ(fs::path(folder.Path()).parent_path(), runtime.Path);
}

TEST(IsProcessAlive, KnowsLiveAndEndedProcesses) {
    EXPECT_TRUE(IsProcessAlive(::getpid()));
    EXPECT_TRUE(IsProcessAlive(::getppid()));
    EXPECT_FALSE(IsProcessAlive(DeadPid()));
    // 0 and negative ids name process groups, not a process.
    EXPECT_FALSE(IsProcessAlive(0));
    EXPECT_FALSE(IsProcessAlive(-1));
}

TEST(RemoveStaleTempSlideFolders, RemovesOnlyFoldersOfEndedRuns) {
    TTempDir root;
    TTempDir outside;
    const std::string prefix(TempSlideFolderPrefix);
    const std::string dead = std::to_string(DeadPid());
    const std::string live = std::to_string(::getpid());
    const std::string parent = std::to_string(::getppid());

    const std::string staleFolder = prefix + dead + "-a1b2c3";
    fs::create_directory(root / staleFolder);
    WriteFile(root / (staleFolder + "/~TempSlide1.xml"), "<CurvanaDocument/>");
    fs::create_directory(root / (staleFolder + "/sub"));
    TTempSlideFolder ownLive(root.Path.string()); // this run's own folder
    const std::vector<std::string> kept = {
        prefix + live + "-zzzzzz",
        prefix + parent + "-yyyyyy",
        "other-" + dead + "-x",
        prefix + "abc-x",
        prefix + dead,
        prefix + dead + "-",
        prefix + "-" + dead + "-x",
        prefix + "0-x",
        prefix + "99999999999999999999-x",
    };
    for (const std::string& name : kept)
        fs::create_directory(root / name);
    // Only folders: a file or a link with a stale name stays, and a link is never followed.
    const std::string staleFile = prefix + dead + "-file";
    WriteFile(root / staleFile, "x");
    WriteFile(outside / "precious", "x");
    const std::string staleLink = prefix + dead + "-link";
    fs::create_directory_symlink(outside.Path, root / staleLink);

    EXPECT_EQ(RemoveStaleTempSlideFolders(root.Path.string()), 1);

    std::vector<std::string> expected = kept;
    expected.push_back(fs::path(ownLive.Path()).filename().string());
    expected.push_back(staleFile);
    expected.push_back(staleLink);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Entries(root.Path), expected);
    EXPECT_TRUE(fs::exists(outside / "precious"));

    // Nothing is left to remove the second time; a missing root is no error.
    EXPECT_EQ(RemoveStaleTempSlideFolders(root.Path.string()), 0);
    EXPECT_EQ(RemoveStaleTempSlideFolders(root / "missing"), 0);
}

} // namespace
} // namespace curvana
