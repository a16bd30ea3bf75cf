#include "app/tempslidefolder.h"

#include "common/errors.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace curvana {

namespace {

bool IsWritableFolder(const char* path) {
    struct stat info {};
    return path != nullptr && path[0] == '/' && ::stat(path, &info) == 0 && S_ISDIR(info.st_mode) &&
           ::access(path, W_OK | X_OK) == 0;
}

// The process id in "curvana-slides-<pid>-<suffix>", or 0 when the name is not of that form.
pid_t PidOfFolderName(std::string_view name) {
    if (!name.starts_with(TempSlideFolderPrefix))
        return 0;
    name.remove_prefix(TempSlideFolderPrefix.size());
    const auto dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == name.size())
        return 0;
    const std::string_view digits = name.substr(0, dash);
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return 0;
    }
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
    if (error != std::errc() || end != digits.data() + digits.size())
        return 0;
    return pid;
}

} // namespace

TTempSlideFolder::TTempSlideFolder() : TTempSlideFolder(TempSlideRoot()) {}

TTempSlideFolder::TTempSlideFolder(const std::string& root) {
    std::string name = root;
    if (name.empty() || name.back() != '/')
        name += '/';
    name += TempSlideFolderPrefix;
    name += std::to_string(::getpid());
    name += "-XXXXXX";
    // mkdtemp picks an unused random suffix and creates the folder with mode 0700 in one step.
    if (::mkdtemp(name.data()) == nullptr) {
        const int error = errno;
        throw ECurvanaError("Cannot create a folder for the slides under '" + root +
                            "': " + std::strerror(error));
    }
    FPath = std::move(name);
}

TTempSlideFolder::~TTempSlideFolder() {
    Remove();
}

TTempSlideFolder::TTempSlideFolder(TTempSlideFolder&& other) noexcept
    : FPath(std::exchange(other.FPath, std::string())) {}

TTempSlideFolder& TTempSlideFolder::operator=(TTempSlideFolder&& other) noexcept {
    if (this != &other) {
        Remove();
        FPath = std::exchange(other.FPath, std::string());
    }
    return *this;
}

void TTempSlideFolder::Remove() noexcept {
    if (FPath.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
    FPath.clear();
}

std::string TempSlideRoot() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); IsWritableFolder(runtime))
        return runtime;
    std::error_code error;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    if (!error && !temp.empty())
        return temp.string();
    return "/tmp";
}

bool IsProcessAlive(pid_t pid) {
    // kill with 0 or a negative id would address whole process groups.
    if (pid <= 0)
        return false;
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

int RemoveStaleTempSlideFolders(const std::string& root) {
    DIR* dir = ::opendir(root.c_str());
    if (dir == nullptr)
        return 0;
    std::vector<std::string> stale;
    const uid_t me = ::geteuid();
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t pid = PidOfFolderName(entry->d_name);
        if (pid <= 0)
            continue;
        const std::string path = root + "/" + entry->d_name;
        // lstat: a link that only looks like our folder is never followed.
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != me)
            continue;
        if (!IsProcessAlive(pid))
            stale.push_back(path);
    }
    ::closedir(dir);
    int removed = 0;
    for (const std::string& path : stale) {
        std::error_code error;
        std::filesystem::remove_all(path, error);
        if (!error)
            ++removed;
    }
    return removed;
}

int RemoveStaleTempSlideFolders() {
    return RemoveStaleTempSlideFolders(TempSlideRoot());
}

} // namespace curvana
