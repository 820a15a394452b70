#include "graph/part_chunk.h"

#include <algorithm>

namespace quorel {
namespace {

constexpr std::size_t kFirstSlots = 1024;  // a power of two

std::size_t hashOf(const Part& p) {
    std::uint64_t h = std::uint64_t(p.rgb) * 0x9E3779B97F4A7C15ull ^ std::uint64_t(p.kind);
    for (int v : {p.width, p.a, p.b, p.c, p.d}) h = (h ^ std::uint32_t(v)) * 0xBF58476D1CE4E5B9ull;
    return std::size_t(h >> 32);
}

}  // namespace

std::size_t PartSet::find(const Part& part) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t s = hashOf(part) & mask;
    while (stamps_[s] == stamp_ && !(slots_[s] == part)) s = (s + 1) & mask;
    return s;
}

PartSet::Insert PartSet::insert(const Part& part, std::size_t limit) {
    // Grown before it is half full, so that a probe always ends at a free slot.
    if (size_ < limit && 2 * (size_ + 1) > slots_.size()) grow();
    if (slots_.empty()) return Insert::kFull;
    const std::size_t s = find(part);
    if (stamps_[s] == stamp_) return Insert::kThere;
    if (size_ >= limit) return Insert::kFull;
    stamps_[s] = stamp_;
    slots_[s] = part;
    ++size_;
    return Insert::kAdded;
}

void PartSet::clear() {
    size_ = 0;
    if (++stamp_ == 0) {  // wrapped: old stamps could read as current
        std::fill(stamps_.begin(), stamps_.end(), 0);
        stamp_ = 1;
    }
}

void PartSet::grow() {
    std::vector<Part> oldSlots(slots_.empty() ? kFirstSlots : 2 * slots_.size());
    std::vector<std::uint32_t> oldStamps(oldSlots.size(), 0);
    oldSlots.swap(slots_);
    oldStamps.swap(stamps_);
    const std::uint32_t oldStamp = stamp_;
    stamp_ = 1;
    size_ = 0;
    for (std::size_t i = 0; i < oldSlots.size(); ++i) {
        if (oldStamps[i] != oldStamp) continue;
        const std::size_t s = find(oldSlots[i]);
        stamps_[s] = stamp_;
        slots_[s] = oldSlots[i];
        ++size_;
    }
}

void PartChunk::restart() {
    taken_.clear();
    pictureParts_ = 0;
}

void PartChunk::push(const Part& part) {
    const bool known = taken_.insert(part, kRememberedParts) == PartSet::Insert::kThere;
    if (known && pictureParts_ >= kExactParts) return;
    ++pictureParts_;
    parts_.push_back(part);
}

void PartChunk::markLastOfEach() {
    const std::size_t n = parts_.size();
    kept_.assign(n, 0);
    later_.clear();
    for (std::size_t i = n; i-- > 0;)
        kept_[i] = later_.insert(parts_[i], n) == PartSet::Insert::kAdded;
}

}  // namespace quorel
