// The parts of a picture waiting for the painter. A long run draws many parts
// on the same pixels, so the chunk leaves out repeats:
// - a part that a later part of the same chunk repeats exactly (kind, colour,
//   width and pixel geometry): the later one paints the same pixels over
//   everything drawn between them, so the image is the one painting every
//   part gives;
// - once a picture has taken kExactParts parts, a part it has already taken:
//   its pixels are painted already. Only where parts of another colour came
//   over it since can a pixel differ from painting every part, and then
//   only in which colour lies on top.
// Both follow from the order of the parts alone, however they are divided
// into chunks, so a picture comes out the same painted live or afresh.
//
// The surface keeps one chunk across its painters, so the many chunks of a
// long run reuse one block of memory.
#pragma once

#include <QRgb>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorel {

// A part in device pixels: a line between two pixels, or a circle about
// (a, b) with radius c, in quarter pixels; drawn `width` pixels wide.
struct Part {
    enum Kind : int { kLine, kCircle } kind;
    QRgb rgb;
    int width;
    int a, b, c, d;
    bool operator==(const Part&) const = default;
};

// A set of parts by open addressing, emptied without touching its slots.
class PartSet {
  public:
    enum class Insert { kAdded, kThere, kFull };
    // Adds `part` unless it is there or the set holds `limit` parts already.
    Insert insert(const Part& part, std::size_t limit);
    void clear();

  private:
    std::size_t find(const Part& part) const;  // its slot, or the free one it would take
    void grow();

    std::vector<Part> slots_;
    std::vector<std::uint32_t> stamps_;  // a slot is taken when it holds stamp_
    std::uint32_t stamp_ = 1;
    std::size_t size_ = 0;
};

class PartChunk {
  public:
    static constexpr std::size_t kParts = 16384;
    static constexpr std::size_t kExactParts = 65536;
    // At most this many parts of a picture are remembered; parts beyond are
    // painted like the first kExactParts.
    static constexpr std::size_t kRememberedParts = 65536;

    // A new, blank picture: nothing of it taken yet.
    void restart();
    void push(const Part& part);
    bool full() const { return parts_.size() >= kParts; }

    // Hands every part that no later part of the chunk repeats to `draw`, in
    // order, and empties the chunk.
    template <class Draw>
    void drain(Draw&& draw) {
        markLastOfEach();
        for (std::size_t i = 0; i < parts_.size(); ++i)
            if (kept_[i]) draw(parts_[i]);
        parts_.clear();
    }

  private:
    void markLastOfEach();

    std::vector<Part> parts_;
    std::vector<char> kept_;
    PartSet later_;  // while draining
    PartSet taken_;  // of the picture
    std::size_t pictureParts_ = 0;
};

}  // namespace quorel
