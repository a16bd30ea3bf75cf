#include "model/tableobj.h"

namespace curvana {

TTableElemObj& TTableObj::AddPoint(double x, double y) {
    FPoints.push_back(std::make_unique<TTableElemObj>(x, y));
    return *FPoints.back();
}

void TTableObj::Assign(const TTableObj& source) {
    if (&source == this)
        return;
    Clear();
    Name = source.Name;
    ShowEnabled = source.ShowEnabled;
    Description = source.Description;
    GraphStyle.Assign(source.GraphStyle);
    Interval.Assign(source.Interval);
    PlotParameter.Assign(source.PlotParameter);
    Smooth = source.Smooth;
    SortingType = source.SortingType;
    FPoints.reserve(source.FPoints.size());
    for (const auto& point : source.FPoints)
        AddPoint(point->x, point->y);
}

} // namespace curvana
