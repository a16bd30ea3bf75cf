#pragma once

#include "common/types.h"
#include "model/graphstyle.h"
#include "model/interval.h"
#include "model/plotparameter.h"
#include "model/tableelemobj.h"

#include <memory>
#include <string>
#include <vector>

namespace curvana {

// A table graph: an owning list of points in insertion order (also the drawing order) plus
// the graph's own fields. Copying is only through Assign, which never shares points.
class TTableObj {
public:
    std::string Name = "UnknownTableObj";
    TFlag ShowEnabled = 0;
    std::string Description = "Unknown Description";
    TGraphStyle GraphStyle;
    TInterval Interval;
    TPlotParameter PlotParameter;
    TFlag Smooth = 0;
    // Carried from the document; points are never re-ordered by it.
    TEnum8 SortingType = 0;

    TTableObj() = default;
    TTableObj(const TTableObj&) = delete;
    TTableObj& operator=(const TTableObj&) = delete;

    TTableElemObj& AddPoint(double x, double y);
    // 0-based; the caller keeps the index below Count().
    TTableElemObj& Point(int index) { return *FPoints[static_cast<std::size_t>(index)]; }
    const TTableElemObj& Point(int index) const {
        return *FPoints[static_cast<std::size_t>(index)];
    }
    int Count() const { return static_cast<int>(FPoints.size()); }
    void Clear() { FPoints.clear(); }

    void Assign(const TTableObj& source);

private:
    std::vector<std::unique_ptr<TTableElemObj>> FPoints;
};

} // namespace curvana
