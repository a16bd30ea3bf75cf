#pragma once

#include "expr/expfactor.h"

#include <optional>
#include <vector>

namespace curvana {

// An owning list of factors. Lists never share factors: adding stores a copy. Pointers to items
// stay valid until the list is changed.
class TExpFactorList {
public:
    int Count() const { return static_cast<int>(Items.size()); }
    void AddCopy(const TExpFactor& factor) { Items.push_back(factor); }
    void Add(TExpFactor&& factor) { Items.push_back(std::move(factor)); }
    // nullptr when the list is empty.
    const TExpFactor* Last() const { return Items.empty() ? nullptr : &Items.back(); }
    // Removes the last factor and yields it; nothing when the list is empty.
    std::optional<TExpFactor> PopLast();
    // nullptr outside 0 .. Count() - 1.
    TExpFactor* At(int index);
    const TExpFactor* At(int index) const;
    void Clear() { Items.clear(); }
    void Reserve(std::size_t count) { Items.reserve(count); }

    std::vector<TExpFactor>::const_iterator begin() const { return Items.begin(); }
    std::vector<TExpFactor>::const_iterator end() const { return Items.end(); }

private:
    std::vector<TExpFactor> Items;
};

} // namespace curvana
