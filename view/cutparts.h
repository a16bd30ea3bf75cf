#pragma once

namespace curvana {

// The names under which a picture reports the parts of its coordinate system that it could not
// draw in full (TCoordinate::CutMarks and CutTexts), as the slide notice, --export and --check
// write them; --check also finds each part's setting by its name.
namespace cutparts {
inline constexpr const char* XAxisMarks = "the x-axis marks";
inline constexpr const char* YAxisMarks = "the y-axis marks";
inline constexpr const char* HorizontalGrid = "the horizontal grid";
inline constexpr const char* VerticalGrid = "the vertical grid";
inline constexpr const char* RadialGrid = "the radial grid";
inline constexpr const char* AngularGrid = "the angular grid";
inline constexpr const char* XAxisLabels = "the x-axis labels";
inline constexpr const char* YAxisLabels = "the y-axis labels";
inline constexpr const char* XAxisName = "the x-axis name";
inline constexpr const char* YAxisName = "the y-axis name";
inline constexpr const char* TopTitle = "the top title";
inline constexpr const char* BottomTitle = "the bottom title";
inline constexpr const char* LeftTitle = "the left title";
inline constexpr const char* RightTitle = "the right title";
inline constexpr const char* Legend = "the legend";
} // namespace cutparts

} // namespace curvana
