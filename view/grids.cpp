#include "common/flags.h"
#include "view/applystyle.h"
#include "view/coordinate.h"
#include "view/cutparts.h"
#include "view/walk.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace curvana {

namespace {

// The largest distance of a range end from the origin along either axis.
long double FarthestEnd(const TInterval& x, const TInterval& y) {
    return std::max(
        {std::fabs(static_cast<long double>(x.Min)), std::fabs(static_cast<long double>(x.Max)),
         std::fabs(static_cast<long double>(y.Min)), std::fabs(static_cast<long double>(y.Max))});
}

// The plot area in world coordinates: each range from its lower to its upper end.
struct TWorldBox {
    double Left = 0;
    double Bottom = 0;
    double Right = 0;
    double Top = 0;

    // False for an empty range or bounds that are no numbers.
    bool Valid() const { return Left < Right && Bottom < Top; }
    bool Contains(TWorldPoint p) const {
        return p.X >= Left && p.X <= Right && p.Y >= Bottom && p.Y <= Top;
    }
};

TWorldBox PlotBox(const TInterval& x, const TInterval& y) {
    return {std::min(x.Min, x.Max), std::min(y.Min, y.Max), std::max(x.Min, x.Max),
            std::max(y.Min, y.Max)};
}

// The part t0..t1 of the ray from the origin (t = 0) to the point (t = 1) that lies in the
// box, or false where none does. A ray already inside keeps t0 = 0 and t1 = 1 exactly.
bool RayInside(TWorldPoint end, const TWorldBox& box, double& t0, double& t1) {
    t0 = 0;
    t1 = 1;
    const auto within = [&](double v, double low, double high) {
        if (v == 0)
            return low <= 0 && 0 <= high;
        double a = low / v;
        double b = high / v;
        if (a > b)
            std::swap(a, b);
        t0 = std::max(t0, a);
        t1 = std::min(t1, b);
        return t0 < t1;
    };
    return within(end.X, box.Left, box.Right) && within(end.Y, box.Bottom, box.Top);
}

// An arc of a circle about the origin, counter-clockwise from one angle to a larger one.
struct TArc {
    double From = 0;
    double To = 0;
};

// The arcs of the circle about the origin that lie in the box, joined where they meet.
std::vector<TArc> ArcsInside(double radius, const TWorldBox& box) {
    constexpr double turn = 2 * std::numbers::pi;
    std::vector<double> cuts{0, turn};
    for (const double x : {box.Left, box.Right})
        if (std::fabs(x) < radius) {
            const double a = std::acos(x / radius);
            cuts.insert(cuts.end(), {a, turn - a});
        }
    for (const double y : {box.Bottom, box.Top})
        if (std::fabs(y) < radius) {
            const double a = std::asin(y / radius);
            cuts.insert(cuts.end(), {a < 0 ? a + turn : a, std::numbers::pi - a});
        }
    std::sort(cuts.begin(), cuts.end());
    std::vector<TArc> arcs;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const double from = cuts[i];
        const double to = cuts[i + 1];
        const double middle = (from + to) / 2;
        if (!(to > from) || !box.Contains({radius * std::cos(middle), radius * std::sin(middle)}))
            continue;
        if (!arcs.empty() && arcs.back().To == from)
            arcs.back().To = to;
        else
            arcs.push_back({from, to});
    }
    // An arc through angle 0 was cut there: one piece.
    if (arcs.size() > 1 && arcs.front().From == 0 && arcs.back().To == turn) {
        arcs.back().To = turn + arcs.front().To;
        arcs.erase(arcs.begin());
    }
    return arcs;
}

// At most this many chords per arc, however large the circle is on screen.
constexpr double MaxArcChords = 1 << 16;

// A circle about the origin that crosses the edges of the plot area: the part of the area it
// covers is filled with the brush (unless clear), then its arcs inside are drawn with the pen,
// as chords that stray less than a quarter pixel from the circle.
void DrawCutCircle(TCoordinate& view, TCanvas& canvas, double radius, const TWorldBox& area) {
    const TPoint lowLeft = view.WorldToScreen(area.Left, area.Bottom);
    const TPoint highRight = view.WorldToScreen(area.Right, area.Top);
    const double pixelsPerUnit = std::max(
        std::fabs(static_cast<double>(highRight.X) - lowLeft.X) / (area.Right - area.Left),
        std::fabs(static_cast<double>(highRight.Y) - lowLeft.Y) / (area.Top - area.Bottom));
    const double pixelRadius = radius * pixelsPerUnit;
    const double chordAngle =
        pixelRadius > 1 ? 2 * std::acos(1 - 0.25 / pixelRadius) : std::numbers::pi / 8;

    std::vector<std::vector<TWorldPoint>> pieces;
    for (const TArc& arc : ArcsInside(radius, area)) {
        const double chords =
            std::clamp(std::ceil((arc.To - arc.From) / chordAngle), 1.0, MaxArcChords);
        std::vector<TWorldPoint>& piece = pieces.emplace_back();
        for (double i = 0; i <= chords; ++i) {
            const double angle = arc.From + (arc.To - arc.From) * (i / chords);
            piece.push_back({radius * std::cos(angle), radius * std::sin(angle)});
        }
    }

    if (canvas.Brush.Style != bsClear) {
        // What the circle covers of the area is convex: the arcs and the corners inside the
        // circle, in order around their middle.
        std::vector<TWorldPoint> cover;
        for (const auto& piece : pieces)
            cover.insert(cover.end(), piece.begin(), piece.end());
        for (const TWorldPoint corner :
             {TWorldPoint{area.Left, area.Bottom}, TWorldPoint{area.Right, area.Bottom},
              TWorldPoint{area.Right, area.Top}, TWorldPoint{area.Left, area.Top}})
            if (std::hypot(corner.X, corner.Y) <= radius)
                cover.push_back(corner);
        if (cover.size() >= 3) {
            TWorldPoint middle;
            for (const TWorldPoint& p : cover) {
                middle.X += p.X / static_cast<double>(cover.size());
                middle.Y += p.Y / static_cast<double>(cover.size());
            }
            std::sort(cover.begin(), cover.end(), [middle](TWorldPoint a, TWorldPoint b) {
                return std::atan2(a.Y - middle.Y, a.X - middle.X) <
                       std::atan2(b.Y - middle.Y, b.X - middle.X);
            });
            std::vector<TPoint> polygon;
            for (const TWorldPoint& p : cover)
                polygon.push_back(view.WorldToScreen(p.X, p.Y));
            const TPen pen = canvas.Pen;
            canvas.Pen.Style = psClear;
            canvas.Polygon(polygon);
            canvas.Pen = pen;
        }
    }

    for (const auto& piece : pieces) {
        view.MoveToWorld(piece.front().X, piece.front().Y);
        for (std::size_t i = 1; i < piece.size(); ++i)
            view.LineToWorld(piece[i].X, piece[i].Y);
    }
}

} // namespace

void TCoordinate::DrawRectangularGrids() {
    if (IsOn(GridHorEnabled))
        DrawHorizontalGrid();
    if (IsOn(GridVerEnabled))
        DrawVerticalGrid();
}

// Lines strictly inside the range, from one step past the minimum.
void TCoordinate::DrawHorizontalGrid() {
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(GridHorGraphStyle, canvas);
    TStepWalk y(YInterval.Min, GridHorStep, DrawLimits.Marks + 1);
    while (y.Next() && y.Value() < YInterval.Max)
        DrawWorldLine(XInterval.Min, y.Value(), XInterval.Max, y.Value());
    NoteMarksCut(y.Capped() && y.Value() + y.Step() < YInterval.Max, cutparts::HorizontalGrid);
    RestoreCanvasState();
}

void TCoordinate::DrawVerticalGrid() {
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(GridVerGraphStyle, canvas);
    TStepWalk x(XInterval.Min, GridVerStep, DrawLimits.Marks + 1);
    while (x.Next() && x.Value() < XInterval.Max)
        DrawWorldLine(x.Value(), YInterval.Min, x.Value(), YInterval.Max);
    NoteMarksCut(x.Capped() && x.Value() + x.Step() < XInterval.Max, cutparts::VerticalGrid);
    RestoreCanvasState();
}

// Circles about the origin up to the first that reaches the farthest range end, cut to the
// plot area like the rectangular grids: a circle inside the area is the platform's ellipse,
// one that crosses its edges is drawn as its arcs inside.
void TCoordinate::DrawRadialGrid() {
    if (!IsOn(GridRadialEnabled))
        return;
    TCanvas& canvas = RequireCanvas();
    const TMarginFreeze freeze(*this);
    SaveCanvasState();
    ApplyTo(GridRadialGraphStyle, canvas);
    const TWorldBox area = PlotBox(XInterval, YInterval);
    const double m = static_cast<double>(FarthestEnd(XInterval, YInterval));
    TStepWalk r(0, GridRadialStep, DrawLimits.Marks + 1);
    while (r.Value() < m && r.Next()) {
        const double radius = r.Value();
        if (-radius >= area.Left && radius <= area.Right && -radius >= area.Bottom &&
            radius <= area.Top) {
            const TPoint topLeft = WorldToScreen(-radius, radius);
            const TPoint bottomRight = WorldToScreen(radius, -radius);
            canvas.Ellipse(topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y);
        } else if (area.Valid()) {
            DrawCutCircle(*this, canvas, radius, area);
        }
    }
    // Next is only asked for while another circle is needed.
    NoteMarksCut(r.Capped(), cutparts::RadialGrid);
    RestoreCanvasState();
}

// Rays from the farthest range end's distance to the origin, every step (in units of pi) up
// to the first at or past a full turn, each cut to the plot area.
void TCoordinate::DrawAngularGrid() {
    if (!IsOn(GridAngularEnabled))
        return;
    TCanvas& canvas = RequireCanvas();
    SaveCanvasState();
    ApplyTo(GridAngularGraphStyle, canvas);
    const long double radius = static_cast<double>(FarthestEnd(XInterval, YInterval));
    // A hair wider than the area, so that a ray along an edge (a cosine of pi/2 is not quite
    // 0) stays whole.
    TWorldBox area = PlotBox(XInterval, YInterval);
    const double slackX = (area.Right - area.Left) * 1e-9;
    const double slackY = (area.Top - area.Bottom) * 1e-9;
    area = {area.Left - slackX, area.Bottom - slackY, area.Right + slackX, area.Top + slackY};
    TStepWalk s(0, GridAngularStep, DrawLimits.Marks + 1);
    // A ray that starts on the pixel of the ray before it is the same line again: with a very
    // fine step that would be tens of thousands of identical lines, so it is drawn once. A start
    // at the saturation limit says nothing about the direction, so such rays are all drawn.
    bool drawn = false;
    TPoint lastStart;
    while (s.Value() < 2 && s.Next()) {
        const long double angle = std::numbers::pi_v<long double> * s.Value();
        const double X = static_cast<double>(radius * std::cos(angle));
        const double Y = static_cast<double>(radius * std::sin(angle));
        const TPoint start = WorldToScreen(X, Y);
        const bool saturated = std::abs(start.X) >= PixelLimit || std::abs(start.Y) >= PixelLimit;
        if (drawn && !saturated && start == lastStart)
            continue;
        drawn = true;
        lastStart = start;
        double t0 = 0;
        double t1 = 1;
        if (RayInside({X, Y}, area, t0, t1))
            DrawWorldLine(X * t1, Y * t1, X * t0, Y * t0);
    }
    NoteMarksCut(s.Capped(), cutparts::AngularGrid);
    RestoreCanvasState();
}

} // namespace curvana
