// Some libraries leave the upper halves of the AVX registers in use when they
// return (Qt's GUI start-up does). Until they are cleared, every SSE
// instruction, ours and the maths library's alike, pays a transition penalty
// that makes sin, exp or pow more than ten times slower. Clearing costs about
// a cycle.
#pragma once

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace quorel {

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) inline void zeroUpperAvx() {
    _mm256_zeroupper();
}

inline void clearUpperVectorState() {
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx) zeroUpperAvx();
}
#else
inline void clearUpperVectorState() {}
#endif

}  // namespace quorel
