#pragma once

namespace curvana {

// Qt's raster drawing runs AVX code that leaves the upper halves of the vector registers in use.
// Until they are cleared, the scalar SSE code that follows on the same thread (all of ours, and
// C library functions such as pow) runs several times slower on many x86 processors. Code that
// calls Qt to draw clears them when it returns; elsewhere this does nothing.
void ClearUpperVectorState();

// Clears them when it goes out of scope.
class TUpperVectorStateGuard {
public:
    TUpperVectorStateGuard() = default;
    TUpperVectorStateGuard(const TUpperVectorStateGuard&) = delete;
    TUpperVectorStateGuard& operator=(const TUpperVectorStateGuard&) = delete;
    ~TUpperVectorStateGuard() { ClearUpperVectorState(); }
};

} // namespace curvana
