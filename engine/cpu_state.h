// Some libraries leave the upper halves of the AVX registers in use when they
// return (Qt's GUI start-up does). Until they are cleared, every SSE
// instruction, ours and the maths library's alike, pays a transition penalty
// that makes sin, exp or pow more than ten times slower. Clearing them costs
// about a nanosecond.
#pragma once

namespace quorel {

#if defined(__x86_64__) || defined(__i386__)
inline const bool kHasAvx = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
}();

inline void clearUpperVectorState() {
    if (kHasAvx) asm volatile("vzeroupper");
}
#else
inline void clearUpperVectorState() {}
#endif

}  // namespace quorel
