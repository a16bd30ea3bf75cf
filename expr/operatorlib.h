#pragma once

#include "expr/operatorobj.h"

#include <string_view>
#include <vector>

namespace curvana {

// The fixed vocabulary of the expression language, 45 entries in a fixed order. The order
// matters: name lookups take the first match and prefix matching keeps the earlier entry on
// equal length. All matching is case-sensitive.
class TOperatorLib {
public:
    TOperatorLib();

    int Count() const { return static_cast<int>(Items.size()); }
    // nullptr outside 0 .. Count() - 1.
    const TOperatorObj* OperatorAt(int index) const;
    // Index of the first entry with exactly this name; -1 when there is none.
    int IndexOf(std::string_view name) const;
    // -1 for a name that is not in the library.
    int PriorityOf(std::string_view name) const;
    // 0 for a name that is not in the library (brackets, operands).
    int OperandCountOf(std::string_view name) const;
    // Index of the entry with the longest name that text begins with; -1 when none does.
    int LongestPrefixMatch(std::string_view text) const;
    // 1, 0 or -1 as PriorityOf(a) is greater than, equal to or smaller than PriorityOf(b).
    int ComparePriority(std::string_view a, std::string_view b) const;

private:
    std::vector<TOperatorObj> Items;
};

} // namespace curvana
