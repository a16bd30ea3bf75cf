#pragma once

namespace curvana {

// One point of a table graph.
class TTableElemObj {
public:
    double x = 0;
    double y = 0;

    TTableElemObj(double x_, double y_) : x(x_), y(y_) {}
};

} // namespace curvana
