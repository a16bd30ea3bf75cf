#pragma once

#include "expr/varitem.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace curvana {

// An owning list of named values (the variables x, y, t, a or the constant PI). Names compare
// exactly and case-sensitively; lookups take the first item with the name. Item addresses are
// stable while the item is in the list.
class TVarMemory {
public:
    TVarMemory() = default;
    TVarMemory(const TVarMemory&) = delete;
    TVarMemory& operator=(const TVarMemory&) = delete;

    // Appends an item unless one has the name: its index, or -1 when the name exists. An empty
    // name stands for "UnKnown".
    int AddVariable(std::string_view name, double value);
    // Replaces the value of the first item with the name, or appends one.
    void SetValue(std::string_view name, double value);
    // 0 when no item has the name.
    double ValueOf(std::string_view name) const;
    bool HasVariable(std::string_view name) const { return IndexOf(name) >= 0; }
    // Removes the first item with the name; true when one was removed.
    bool RemoveVariable(std::string_view name);
    int IndexOf(std::string_view name) const;

    int Count() const { return static_cast<int>(Items.size()); }
    // nullptr outside 0 .. Count() - 1.
    TVarItem* At(int index);
    const TVarItem* At(int index) const;

    // Index of the item with the longest name that text begins with; -1 when none does. On equal
    // length the earlier item wins.
    int LongestPrefixMatch(std::string_view text) const;

    // Changes whenever a name is added or removed (never for value changes) and is never the
    // same for two different lists, so a calculator can keep resolved item addresses until then.
    std::uint64_t Stamp() const { return StampValue; }

private:
    void Touch();

    std::vector<std::unique_ptr<TVarItem>> Items;
    std::uint64_t StampValue = NextStamp();

    static std::uint64_t NextStamp();
};

// The lists every expression of a slide is compiled with: the variables x, y, t and a, each 0,
// in this order, and the constant PI.
void AddPlotVariables(TVarMemory& variables);
void AddPlotConstants(TVarMemory& constants);

} // namespace curvana
