// An evaluation must not allocate: plotting calls it for every sample.
#include "engine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> Allocations{0};
}

void* operator new(std::size_t size) {
    ++Allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
// The sanitizers replace the other forms themselves; memory from them must not reach the free
// below, so every form takes its memory here.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++Allocations;
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return operator new(size, std::nothrow);
}
// The replacements pair with the operator new above, which takes its memory from malloc.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

namespace curvana {
namespace {

TEST(ExpCalAllocation, EvaluationAllocatesNothing) {
    testing::TEngine e;
    TExpCal cal("sqrt(abs(x))*exp(-x^2/4)+(x^2+y^2-25)<0+round(x)*frac(x)+PI", e.Library,
                e.Variables, e.Constants);
    TExpCal failing("1/x", e.Library, e.Variables, e.Constants);
    const long before = Allocations;
    double sum = 0;
    for (double x = -5; x < 5; x += 0.01) {
        e.Variables.SetValue("x", x);
        sum += cal.Evaluate() ? cal.Value : 0;
        sum += failing.Evaluate() ? failing.Value : 0;
    }
    // A changed list is resolved again, still without allocating.
    e.Variables.RemoveVariable("y");
    const long afterRemoval = Allocations;
    EXPECT_TRUE(cal.Evaluate());
    EXPECT_EQ(Allocations - afterRemoval, 0);
    EXPECT_EQ(afterRemoval - before, 0);
    EXPECT_NE(sum, 0);
}

} // namespace
} // namespace curvana
