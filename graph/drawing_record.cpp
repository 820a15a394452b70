#include "graph/drawing_record.h"

namespace quorel {

void DrawingRecord::noteFrame(const UserFrame& frame) {
    if (frames_.empty() || !(frames_.back().frame == frame))
        frames_.push_back({kinds_.size(), frame});
}

void DrawingRecord::noteStyle(std::vector<StyleRun>& runs, std::size_t index, QRgb rgb,
                              float radius) {
    if (runs.empty() || runs.back().rgb != rgb || runs.back().radius != radius)
        runs.push_back({index, rgb, radius});
}

void DrawingRecord::addLine(const UserFrame& frame, const Line& line, QRgb rgb) {
    noteFrame(frame);
    noteStyle(lineStyles_, lines_.size(), rgb, 0);
    lines_.push_back(line);
    kinds_.push_back(kLine);
}

void DrawingRecord::addCircle(const UserFrame& frame, const Circle& circle, QRgb rgb) {
    noteFrame(frame);
    noteStyle(circleStyles_, circles_.size(), rgb, circle.radius);
    circles_.push_back({circle.x, circle.y});
    kinds_.push_back(kCircle);
}

void DrawingRecord::addText(const UserFrame& frame, Text text) {
    noteFrame(frame);
    texts_.push_back(std::move(text));
    kinds_.push_back(kText);
}

void DrawingRecord::markPass() {
    kinds_.push_back(kPassMark);
    ++marks_;
}

DrawingRecord::Cursor DrawingRecord::atMark(std::size_t m, Cursor from) const {
    Cursor c = from;
    for (std::size_t part = c.part(); part < kinds_.size(); ++part) {
        switch (kinds_[part]) {
            case kLine:
                ++c.line;
                break;
            case kCircle:
                ++c.circle;
                break;
            case kText:
                ++c.text;
                break;
            case kPassMark:
                if (c.mark == m) return c;
                ++c.mark;
                break;
        }
    }
    return c;
}

DrawingRecord::Cursor DrawingRecord::afterMark(std::size_t m, Cursor from) const {
    Cursor c = atMark(m, from);
    if (c.part() < kinds_.size()) ++c.mark;
    return c;
}

void DrawingRecord::clear() {
    kinds_.clear();
    lines_.clear();
    circles_.clear();
    texts_.clear();
    lineStyles_.clear();
    circleStyles_.clear();
    frames_.clear();
    marks_ = 0;
}

std::size_t DrawingRecord::bytes() const {
    return kinds_.bytes() + lines_.bytes() + circles_.bytes() + texts_.capacity() * sizeof(Text) +
           (lineStyles_.capacity() + circleStyles_.capacity()) * sizeof(StyleRun) +
           frames_.capacity() * sizeof(FrameRun);
}

}  // namespace quorel
