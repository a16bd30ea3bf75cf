#pragma once

#include <cstddef>
#include <functional>

namespace curvana {

// The threads a plot may use: `requested` when it is 1 or more, else one per processor core;
// never more than MaxPlotThreads (each thread keeps lists that grow with its share of a graph).
constexpr int MaxPlotThreads = 4;
int PlotThreads(int requested);

// Calls job(thread, item) for every item in [0, count). Up to `threads` threads take the items
// in turn, the caller's among them as thread 0, so a job may keep state per thread. Returns
// when every thread has stopped; the first exception a job threw is then thrown again, and no
// item is started after it.
void ForEachItem(std::size_t count, int threads,
                 const std::function<void(int thread, std::size_t item)>& job);

} // namespace curvana
