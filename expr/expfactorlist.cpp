#include "expr/expfactorlist.h"

namespace curvana {

std::optional<TExpFactor> TExpFactorList::PopLast() {
    if (Items.empty()) {
        return std::nullopt;
    }
    std::optional<TExpFactor> last(std::move(Items.back()));
    Items.pop_back();
    return last;
}

TExpFactor* TExpFactorList::At(int index) {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return &Items[static_cast<std::size_t>(index)];
}

const TExpFactor* TExpFactorList::At(int index) const {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return &Items[static_cast<std::size_t>(index)];
}

} // namespace curvana
