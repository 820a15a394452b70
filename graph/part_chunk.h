// The parts of a drawing waiting for the painter. A long run draws many parts
// on the same pixels; a part that a later part of the same chunk repeats
// exactly (same kind, colour and pixel geometry) is left out, since the later
// one paints the same pixels over everything drawn between them: the image
// is the one that painting every part gives.
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
// (a, b) with radius c, in quarter pixels.
struct Part {
    enum Kind : int { kLine, kCircle } kind;
    QRgb rgb;
    int a, b, c, d;
    bool operator==(const Part&) const = default;
};

class PartChunk {
  public:
    static constexpr std::size_t kParts = 65536;

    void push(const Part& part) { parts_.push_back(part); }
    bool full() const { return parts_.size() >= kParts; }
    bool empty() const { return parts_.empty(); }

    // Hands every part no later part repeats to `draw`, in order, and empties
    // the chunk.
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
    // An open-addressing set of part indices; a slot belongs to this drain
    // when its stamp is the current one, so it is never cleared.
    std::vector<std::uint32_t> slotPart_;
    std::vector<std::uint32_t> slotStamp_;
    std::uint32_t stamp_ = 0;
};

}  // namespace quorel
