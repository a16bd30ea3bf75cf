#pragma once

#include <string>

namespace curvana {

// A named value of a variable or constant list. The name is fixed for the item's life, so a
// list can tell every change of its names (see TVarMemory::Stamp).
struct TVarItem {
    TVarItem(std::string name, double value) : Name(std::move(name)), Value(value) {}

    const std::string Name;
    double Value;
};

} // namespace curvana
