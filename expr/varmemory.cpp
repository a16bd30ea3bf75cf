#include "expr/varmemory.h"

#include <atomic>

namespace curvana {

namespace {

std::string_view OrUnknown(std::string_view name) {
    return name.empty() ? "UnKnown" : name;
}

} // namespace

std::uint64_t TVarMemory::NextStamp() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

void TVarMemory::Touch() {
    StampValue = NextStamp();
}

int TVarMemory::IndexOf(std::string_view name) const {
    for (std::size_t i = 0; i < Items.size(); ++i) {
        if (Items[i]->Name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int TVarMemory::AddVariable(std::string_view name, double value) {
    name = OrUnknown(name);
    if (IndexOf(name) >= 0) {
        return -1;
    }
    Items.push_back(std::make_unique<TVarItem>(std::string(name), value));
    Touch();
    return Count() - 1;
}

void TVarMemory::SetValue(std::string_view name, double value) {
    name = OrUnknown(name);
    const int i = IndexOf(name);
    if (i < 0) {
        AddVariable(name, value);
    } else {
        Items[static_cast<std::size_t>(i)]->Value = value;
    }
}

double TVarMemory::ValueOf(std::string_view name) const {
    const int i = IndexOf(name);
    return i < 0 ? 0.0 : Items[static_cast<std::size_t>(i)]->Value;
}

bool TVarMemory::RemoveVariable(std::string_view name) {
    const int i = IndexOf(name);
    if (i < 0) {
        return false;
    }
    Items.erase(Items.begin() + i);
    Touch();
    return true;
}

TVarItem* TVarMemory::At(int index) {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return Items[static_cast<std::size_t>(index)].get();
}

const TVarItem* TVarMemory::At(int index) const {
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return Items[static_cast<std::size_t>(index)].get();
}

int TVarMemory::LongestPrefixMatch(std::string_view text) const {
    int best = -1;
    std::size_t bestLength = 0;
    for (std::size_t i = 0; i < Items.size(); ++i) {
        const std::string& name = Items[i]->Name;
        if (name.size() > bestLength && text.starts_with(name)) {
            best = static_cast<int>(i);
            bestLength = name.size();
        }
    }
    return best;
}

void AddPlotVariables(TVarMemory& variables) {
    for (const char* name : {"x", "y", "t", "a"}) {
        variables.AddVariable(name, 0);
    }
}

void AddPlotConstants(TVarMemory& constants) {
    constants.AddVariable("PI", 3.141592653589793);
}

} // namespace curvana
