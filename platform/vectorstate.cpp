#include "platform/vectorstate.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define CURVANA_X86_VECTOR_STATE 1
#endif

namespace curvana {

#ifdef CURVANA_X86_VECTOR_STATE
namespace {
__attribute__((target("avx"))) void ZeroUpper() {
    _mm256_zeroupper();
}

bool HasAvx() {
    // The instruction exists only with AVX, which the check also requires the system to enable.
    static const bool avx = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    return avx;
}
} // namespace

void ClearUpperVectorState() {
    if (HasAvx())
        ZeroUpper();
}
#else
void ClearUpperVectorState() {}
#endif

} // namespace curvana
