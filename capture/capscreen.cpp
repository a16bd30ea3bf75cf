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

} // namespace curvana
