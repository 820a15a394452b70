#include "graph/drawing_record.h"

#include <bit>

namespace quorel {
namespace {

bool sameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

}  // namespace

void DrawingRecord::noteFrame(const UserFrame& frame) {
    if (frames_.empty() || !(frames_.back().frame == frame))
        frames_.push_back({kinds_.size(), frame});
}

void DrawingRecord::noteStyle(std::vector<ColourRun>& runs, std::size_t index, QRgb rgb,
                              float radius) {
    if (runs.empty() || runs.back().rgb != rgb || runs.back().radius != radius)
        runs.push_back({index, rgb, radius});
}

void DrawingRecord::addLine(const UserFrame& frame, const Line& line, QRgb rgb) {
    noteFrame(frame);
    noteStyle(lineColours_, lineCount_, rgb, 0);
    // Compared bit for bit, so that the line replays exactly as given (a
    // zero keeps its sign, a NaN is kept whole).
    if (lineCount_ > 0 && sameBits(line.x1, last_.x2) && sameBits(line.y2, last_.y2)) {
        joints_.push_back({line.y1, line.x2});
        kinds_.push_back(kJoinedLine);
    } else {
        lines_.push_back(line);
        kinds_.push_back(kLine);
    }
    last_ = line;
    ++lineCount_;
}

void DrawingRecord::addCircle(const UserFrame& frame, const Circle& circle, QRgb rgb) {
    noteFrame(frame);
    noteStyle(circleColours_, circleCount_++, rgb, circle.radius);
    const std::size_t n = kinds_.size();
    if (n > 0 && (kinds_[n - 1] == kLine || kinds_[n - 1] == kJoinedLine) &&
        sameBits(last_.x1, circle.x) && sameBits(last_.y1, circle.y)) {
        kinds_.push_back(kCircleAtLineStart);
        return;
    }
    centres_.push_back({circle.x, circle.y});
    kinds_.push_back(kCircle);
}

void DrawingRecord::addText(const UserFrame& frame, Text text) {
    noteFrame(frame);
    texts_.push_back(std::move(text));
    kinds_.push_back(kText);
}

void DrawingRecord::clear() {
    kinds_.clear();
    lines_.clear();
    joints_.clear();
    lineCount_ = 0;
    last_ = {};
    centres_.clear();
    circleCount_ = 0;
    texts_.clear();
    lineColours_.clear();
    circleColours_.clear();
    frames_.clear();
}

std::size_t DrawingRecord::bytes() const {
    return kinds_.bytes() + lines_.bytes() + joints_.bytes() + centres_.bytes() +
           texts_.capacity() * sizeof(Text) +
           (lineColours_.capacity() + circleColours_.capacity()) * sizeof(ColourRun) +
           frames_.capacity() * sizeof(FrameRun);
}

}  // namespace quorel
