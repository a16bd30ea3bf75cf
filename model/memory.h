#pragma once

#include "common/types.h"
#include "model/functionobj.h"
#include "model/tableobj.h"

#include <memory>
#include <utility>
#include <variant>
#include <vector>

namespace curvana {

// Answers of TMemory::GraphKind.
constexpr int gkFunction = 0;
constexpr int gkTable = 1;
constexpr int gkNone = 2;

// The ordered graph list of a document. It owns its graphs: each Add...Copy stores a new object
// assigned from the argument, so no graph is shared with the caller or with another list.
class TMemory {
public:
    TMemory() = default;
    TMemory(const TMemory&) = delete;
    TMemory& operator=(const TMemory&) = delete;

    TFunctionObj& AddFunctionCopy(const TFunctionObj& function);
    TTableObj& AddTableCopy(const TTableObj& table);

    int Count() const { return static_cast<int>(FItems.size()); }
    void Clear() { FItems.clear(); }

    // gkFunction, gkTable, or gkNone for an index outside 0..Count()-1.
    int GraphKind(int index) const;

    // The graph at the index, or nullptr when the index is out of range or holds the other kind.
    TFunctionObj* Function(int index);
    const TFunctionObj* Function(int index) const;
    TTableObj* Table(int index);
    const TTableObj* Table(int index) const;

    // ShowEnabled as stored (an 8-bit flag); 0 for an index out of range.
    TFlag GetShowEnabled(int index) const;
    // Does nothing for an index out of range.
    void SetShowEnabled(int index, TFlag value);

private:
    using TItem = std::variant<std::unique_ptr<TFunctionObj>, std::unique_ptr<TTableObj>>;

    bool InRange(int index) const { return index >= 0 && index < Count(); }

    std::vector<TItem> FItems;
};

} // namespace curvana
