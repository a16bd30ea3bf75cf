#pragma once

#include "expr/varmemory.h"

#include <string_view>

namespace curvana {

// The free variable of a plot (x, y, t or a), set before every evaluation. The item is found
// (or appended, as SetValue would) once; its address stays valid while an evaluation adds and
// removes its temporaries, so each sample writes the value without a name lookup.
class TFreeVariable {
public:
    TFreeVariable(TVarMemory& variables, std::string_view name) {
        if (!variables.HasVariable(name))
            variables.SetValue(name, 0);
        FItem = variables.At(variables.IndexOf(name));
    }

    void Set(double value) { FItem->Value = value; }
    TVarItem& Item() const { return *FItem; }

private:
    TVarItem* FItem;
};

} // namespace curvana
