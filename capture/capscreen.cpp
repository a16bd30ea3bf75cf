#include "capture/capscreen.h"

#include <algorithm>

namespace curvana {

std::string TCapScreen::CurrentFileName() const {
    std::string number = std::to_string(CurrentIndex);
    const auto width = static_cast<std::size_t>(std::clamp(Digital, 0, MaxCaptureDigits));
    if (number.size() < width)
        number.insert(0, width - number.size(), '0');
    return FileNamePrefix + number;
}

std::string TCapScreen::Extension() const {
    return PictureFormat == 1 ? ".emf" : ".bmp";
}

std::string TCapScreen::CurrentPath() const {
    return OutputDirectory + "/" + CurrentFileName() + Extension();
}

std::string PrefixProblem(const std::string& prefix) {
    if (prefix.find('/') != std::string::npos)
        return "A file name cannot hold \"/\".";
    if (prefix.find('\0') != std::string::npos)
        return "A file name cannot hold a null character.";
    // Room for at least one digit and the extension.
    if (prefix.size() + 1 + 4 > MaxFileNameBytes)
        return "A file name cannot be longer than " + std::to_string(MaxFileNameBytes) + " bytes.";
    return {};
}

} // namespace curvana
