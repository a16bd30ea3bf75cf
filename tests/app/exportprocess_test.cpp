// Runs the built program's `curvana --export` as a user would, with and without a display in
// the environment: it must never need one, and the pictures must not depend on it.
#include "programrun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ExportProcess, NeedsNoDisplayAndDrawsTheSameWithOne) {
    const fs::path document = fs::path(CURVANA_SOURCE_DIR) / "examples/trigonometry.xml";
    const fs::path folder =
        fs::temp_directory_path() / ("curvana-export-" + std::to_string(::getpid()));
    // Displays that are named but not there: a program that tried to reach them would fail.
    const struct {
        const char* Name;
        std::vector<std::string> Added;
    } environments[] = {
        {"no display", {}},
        {"an X display", {"DISPLAY=:97"}},
        {"a Wayland display", {"WAYLAND_DISPLAY=curvana-none", "XDG_SESSION_TYPE=wayland"}},
    };
    std::string first;
    for (const auto& environment : environments) {
        fs::remove_all(folder);
        const curvana::test::TRun run = curvana::test::RunCurvana(
            {"--export", folder.string(), "--size", "800x600", document.string()},
            {"DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "QT_QPA_PLATFORM"},
            environment.Added);
        EXPECT_EQ(run.ExitCode, 0) << environment.Name << ": " << run.Err;
        EXPECT_EQ(run.Out, "1 of 1 slide written to " + folder.string() + "\n") << environment.Name;
        const std::string picture = ReadAll(folder / "slide-01.png");
        ASSERT_FALSE(picture.empty()) << environment.Name;
        if (first.empty())
            first = picture;
        EXPECT_EQ(picture, first) << environment.Name;
    }
    fs::remove_all(folder);
}

} // namespace
