#include "graph/drawing_record.h"

namespace quorel {

void DrawingRecord::noteFrame(const UserFrame& frame) {
    if (frames_.empty() || !(frames_.back().frame == frame))
        frames_.push_back({kinds_.size(), frame});
}

void DrawingRecord::noteColour(std::vector<ColourRun>& runs, std::size_t index, QRgb rgb) {
    if (runs.empty() || runs.back().rgb != rgb) runs.push_back({index, rgb});
}

void DrawingRecord::addLine(const UserFrame& frame, const Line& line, QRgb rgb) {
    noteFrame(frame);
    noteColour(lineColours_, lines_.size(), rgb);
    lines_.push_back(line);
    kinds_.push_back(kLine);
}

void DrawingRecord::addCircle(const UserFrame& frame, const Circle& circle, QRgb rgb) {
    noteFrame(frame);
    noteColour(circleColours_, circles_.size(), rgb);
    circles_.push_back(circle);
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
    circles_.clear();
    texts_.clear();
    lineColours_.clear();
    circleColours_.clear();
    frames_.clear();
}

std::size_t DrawingRecord::bytes() const {
    return kinds_.bytes() + lines_.bytes() + circles_.bytes() + texts_.capacity() * sizeof(Text) +
           (lineColours_.capacity() + circleColours_.capacity()) * sizeof(ColourRun) +
           frames_.capacity() * sizeof(FrameRun);
}

}  // namespace quorel
