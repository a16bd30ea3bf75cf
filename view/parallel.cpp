#include "view/parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace curvana {

int PlotThreads(int requested) {
    if (requested >= 1)
        return std::min(requested, MaxPlotThreads);
    // Asked once: the library reads it from the system on every call.
    static const int cores =
        std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, MaxPlotThreads);
    return cores;
}

void ForEachItem(std::size_t count, int threads,
                 const std::function<void(int thread, std::size_t item)>& job) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr error;
    std::mutex errorLock;
    const auto work = [&](int thread) {
        try {
            for (std::size_t item = next++; item < count && !failed; item = next++)
                job(thread, item);
        } catch (...) {
            const std::lock_guard<std::mutex> lock(errorLock);
            if (!error)
                error = std::current_exception();
            failed = true;
        }
    };
    // No more helpers than items beyond the caller's first.
    const std::size_t helpers =
        count <= 1 || threads <= 1 ? 0 : std::min(static_cast<std::size_t>(threads) - 1, count - 1);
    std::vector<std::thread> pool;
    pool.reserve(helpers);
    try {
        for (std::size_t i = 0; i < helpers; ++i)
            pool.emplace_back(work, static_cast<int>(i + 1));
    } catch (...) {
        // No more threads to be had: the ones running and this one share the items.
    }
    work(0);
    for (std::thread& t : pool)
        t.join();
    if (error)
        std::rethrow_exception(error);
}

} // namespace curvana
