#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace curvana {

// Folder names are "curvana-slides-<pid>-<random>", so a later run can tell whose folder it is
// and whether that process still lives.
inline constexpr std::string_view TempSlideFolderPrefix = "curvana-slides-";

// The private folder that holds one run's temporary slide files. Made with mode 0700 on
// construction; removed with everything in it on destruction, so a show that ends, fails or
// throws leaves nothing behind.
class TTempSlideFolder {
public:
    // Creates the folder under TempSlideRoot().
    TTempSlideFolder();
    // Creates the folder under root (tests, and callers with a root of their own).
    explicit TTempSlideFolder(const std::string& root);
    ~TTempSlideFolder();

    TTempSlideFolder(const TTempSlideFolder&) = delete;
    TTempSlideFolder& operator=(const TTempSlideFolder&) = delete;
    TTempSlideFolder(TTempSlideFolder&& other) noexcept;
    TTempSlideFolder& operator=(TTempSlideFolder&& other) noexcept;

    // Full path of the folder, without a trailing slash; empty after Remove.
    const std::string& Path() const { return FPath; }
    // Removes the folder and its files now; never throws.
    void Remove() noexcept;

private:
    std::string FPath;
};

// $XDG_RUNTIME_DIR when it is set, absolute and a writable folder; otherwise the system's
// temporary folder ($TMPDIR, else /tmp).
std::string TempSlideRoot();

// True while a process with this id exists (also one of another user).
bool IsProcessAlive(pid_t pid);

// Removes the slide folders under root that earlier runs left behind: folders of ours, named
// as above, whose process no longer exists. Folders of live processes, of other users, links
// and anything else named otherwise are left alone. Returns how many were removed; never throws.
int RemoveStaleTempSlideFolders(const std::string& root);
int RemoveStaleTempSlideFolders();

} // namespace curvana
