#include "graph/part_chunk.h"

namespace quorel {
namespace {

constexpr std::size_t kSlots = 2 * PartChunk::kParts;  // a power of two
static_assert((kSlots & (kSlots - 1)) == 0);

std::size_t slotOf(const Part& p) {
    std::uint64_t h = std::uint64_t(p.rgb) * 0x9E3779B97F4A7C15ull ^ std::uint64_t(p.kind);
    for (int v : {p.a, p.b, p.c, p.d}) h = (h ^ std::uint32_t(v)) * 0xBF58476D1CE4E5B9ull;
    return std::size_t(h >> 40) & (kSlots - 1);
}

}  // namespace

void PartChunk::markLastOfEach() {
    const std::size_t n = parts_.size();
    kept_.assign(n, 0);
    if (slotPart_.empty()) {
        slotPart_.assign(kSlots, 0);
        slotStamp_.assign(kSlots, 0);
    }
    if (++stamp_ == 0) {  // wrapped: old stamps could read as current
        slotStamp_.assign(kSlots, 0);
        stamp_ = 1;
    }
    for (std::size_t i = n; i-- > 0;) {
        const Part& part = parts_[i];
        std::size_t s = slotOf(part);
        for (;; s = (s + 1) & (kSlots - 1)) {
            if (slotStamp_[s] != stamp_) {
                slotStamp_[s] = stamp_;
                slotPart_[s] = std::uint32_t(i);
                kept_[i] = 1;
                break;
            }
            if (parts_[slotPart_[s]] == part) break;
        }
    }
}

}  // namespace quorel
