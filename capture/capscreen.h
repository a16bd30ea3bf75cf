#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace curvana {

// The naming and format of a series of captures: prefix, zero-padded number, extension.
class TCapScreen {
public:
    std::string FileNamePrefix = "Outputpic";
    std::string OutputDirectory;
    // 0 BMP, 1 EMF.
    std::int32_t PictureFormat = 0;
    // Number of the next file.
    std::int32_t CurrentIndex = 1;
    // Minimum count of digits of the number; the minus sign of a negative number counts.
    std::int32_t Digital = 2;

    // The next file's name without folder and extension: the prefix, then the number with
    // zeros before it (before a minus sign too) up to Digital characters.
    std::string CurrentFileName() const;
    // ".bmp" for format 0, ".emf" for format 1.
    std::string Extension() const;
    // OutputDirectory + "/" + CurrentFileName() + Extension().
    std::string CurrentPath() const;
};

// Why the text cannot begin a capture's file name, or empty when it can: a separator would send
// the file to another folder, a null character would cut its name short, and a name longer than
// the file system takes cannot be created at all.
std::string PrefixProblem(const std::string& prefix);

// Longest padding CurrentFileName makes: far beyond the longest file name any file system
// takes, so only the memory a huge Digital would cost is cut off.
inline constexpr std::int32_t MaxCaptureDigits = 1024;

// Longest file name (in bytes) the usual file systems take.
inline constexpr std::size_t MaxFileNameBytes = 255;

} // namespace curvana
