#pragma once

namespace curvana {
inline constexpr const char* ProgramName = "Curvana Slide Show";
inline constexpr const char* ProgramVersion = "2.0";
} // namespace curvana
