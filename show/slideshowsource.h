#pragma once

#include <functional>
#include <string>
#include <vector>

namespace curvana {

// Where the slides of a show came from, so that the show can read the file again when it is
// saved: the slide show file and how to split it again into the same slide files (the paths in
// slide order; throws with the reason when the file cannot be read or split).
struct TSlideShowSource {
    std::string Path;
    std::function<std::vector<std::string>()> Split;
};

} // namespace curvana
