#include "model/memory.h"

namespace curvana {

TFunctionObj& TMemory::AddFunctionCopy(const TFunctionObj& function) {
    auto copy = std::make_unique<TFunctionObj>();
    copy->Assign(function);
    TFunctionObj& stored = *copy;
    FItems.emplace_back(std::move(copy));
    return stored;
}

TTableObj& TMemory::AddTableCopy(const TTableObj& table) {
    auto copy = std::make_unique<TTableObj>();
    copy->Assign(table);
    TTableObj& stored = *copy;
    FItems.emplace_back(std::move(copy));
    return stored;
}

int TMemory::GraphKind(int index) const {
    if (!InRange(index))
        return gkNone;
    return FItems[static_cast<std::size_t>(index)].index() == 0 ? gkFunction : gkTable;
}

TFunctionObj* TMemory::Function(int index) {
    return const_cast<TFunctionObj*>(std::as_const(*this).Function(index));
}

const TFunctionObj* TMemory::Function(int index) const {
    if (!InRange(index))
        return nullptr;
    const auto* item = std::get_if<0>(&FItems[static_cast<std::size_t>(index)]);
    return item ? item->get() : nullptr;
}

TTableObj* TMemory::Table(int index) {
    return const_cast<TTableObj*>(std::as_const(*this).Table(index));
}

const TTableObj* TMemory::Table(int index) const {
    if (!InRange(index))
        return nullptr;
    const auto* item = std::get_if<1>(&FItems[static_cast<std::size_t>(index)]);
    return item ? item->get() : nullptr;
}

TFlag TMemory::GetShowEnabled(int index) const {
    if (const TFunctionObj* function = Function(index))
        return function->ShowEnabled;
    if (const TTableObj* table = Table(index))
        return table->ShowEnabled;
    return 0;
}

void TMemory::SetShowEnabled(int index, TFlag value) {
    if (TFunctionObj* function = Function(index))
        function->ShowEnabled = value;
    else if (TTableObj* table = Table(index))
        table->ShowEnabled = value;
}

} // namespace curvana
