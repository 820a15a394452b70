// Everything drawn on a surface since it was last cleared, kept compactly so
// that it can be painted again at any scale: lines and circles in the user
// coordinates they were drawn in (single precision, as drawn), texts at the
// place they were printed. A line takes 16 bytes, 8 when it starts where the
// line before it ended and ends at that line's height (as one pass's tangent
// follows the last), a circle 8 (none when it is centred on the start of the
// line just drawn, as a pass's marker is on its tangent), each one more for
// its kind; colours, radii and user frames are kept once per run of equal
// ones.
#pragma once

#include <QFont>
#include <QPointF>
#include <QRgb>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "graph/surface_mapping.h"

namespace quorel {

// A growing sequence in fixed blocks: appending never moves or copies what
// is stored, so a long drawing needs no spare room for regrowth.
template <class T>
class BlockVector {
  public:
    static constexpr std::size_t kBlockShift = 14;
    static constexpr std::size_t kBlock = std::size_t(1) << kBlockShift;

    void push_back(const T& v) {
        if (size_ == blocks_.size() * kBlock) blocks_.push_back(std::make_unique<T[]>(kBlock));
        blocks_.back()[size_ & (kBlock - 1)] = v;
        ++size_;
    }
    const T& operator[](std::size_t i) const { return blocks_[i >> kBlockShift][i & (kBlock - 1)]; }
    std::size_t size() const { return size_; }
    void clear() {
        blocks_.clear();
        size_ = 0;
    }
    std::size_t bytes() const {
        return blocks_.size() * kBlock * sizeof(T) + blocks_.capacity() * sizeof(void*);
    }

  private:
    std::vector<std::unique_ptr<T[]>> blocks_;
    std::size_t size_ = 0;
};

class DrawingRecord {
  public:
    struct Line {
        float x1, y1, x2, y2;
    };
    struct Circle {
        float x, y, radius;
    };
    struct Text {
        QPointF baselineDip;  // in the inner area, as printed
        QString text;
        QFont font;
        QRgb rgb;
    };
    // Where a replay stands; a default cursor starts at the beginning.
    struct Cursor {
        std::size_t op = 0, line = 0, circle = 0, centre = 0, text = 0;
        std::size_t lineRun = 0, circleRun = 0, frame = 0;
        std::size_t fullLine = 0, joinedLine = 0;
        Line last{};  // the latest line handed over
    };

    void addLine(const UserFrame& frame, const Line& line, QRgb rgb);
    void addCircle(const UserFrame& frame, const Circle& circle, QRgb rgb);
    void addText(const UserFrame& frame, Text text);
    void clear();

    std::size_t size() const { return kinds_.size(); }
    bool empty() const { return kinds_.size() == 0; }
    // The frame of the latest drawing, null when there is none.
    const UserFrame* lastFrame() const { return frames_.empty() ? nullptr : &frames_.back().frame; }
    // Heap bytes held.
    std::size_t bytes() const;

    // Hands the drawing from the cursor on to the visitor, in drawing order:
    // v.frame(UserFrame) first and whenever the frame changes, then
    // v.line(Line, rgb, index), v.circle(Circle, rgb, index) or v.text(Text).
    // Leaves the cursor at the end.
    template <class Visitor>
    void replay(Cursor& c, Visitor& v) const;

  private:
    enum Kind : std::uint8_t { kLine, kJoinedLine, kCircle, kCircleAtLineStart, kText };
    struct ColourRun {
        std::size_t first;
        QRgb rgb;
        float radius;  // of circles
    };
    struct Centre {
        float x, y;
    };
    // A line from the end of the one before it to (x2, that line's y2).
    struct Joint {
        float y1, x2;
    };
    struct FrameRun {
        std::size_t first;
        UserFrame frame;
    };
    void noteFrame(const UserFrame& frame);
    static void noteStyle(std::vector<ColourRun>& runs, std::size_t index, QRgb rgb, float radius);
    static std::size_t runAt(const std::vector<ColourRun>& runs, std::size_t run,
                             std::size_t index);

    BlockVector<std::uint8_t> kinds_;
    BlockVector<Line> lines_;
    BlockVector<Joint> joints_;
    std::size_t lineCount_ = 0;
    Line last_{};  // the latest line added
    BlockVector<Centre> centres_;
    std::size_t circleCount_ = 0;
    std::vector<Text> texts_;
    std::vector<ColourRun> lineColours_, circleColours_;
    std::vector<FrameRun> frames_;
};

template <class Visitor>
void DrawingRecord::replay(Cursor& c, Visitor& v) const {
    const std::size_t n = kinds_.size();
    bool sent = false;
    for (; c.op < n; ++c.op) {
        std::size_t f = c.frame;
        while (f + 1 < frames_.size() && frames_[f + 1].first <= c.op) ++f;
        if (f != c.frame || !sent) {
            c.frame = f;
            sent = true;
            v.frame(frames_[f].frame);
        }
        switch (kinds_[c.op]) {
            case kLine:
            case kJoinedLine: {
                if (kinds_[c.op] == kLine) {
                    c.last = lines_[c.fullLine++];
                } else {
                    const Joint& j = joints_[c.joinedLine++];
                    c.last = Line{c.last.x2, j.y1, j.x2, c.last.y2};
                }
                c.lineRun = runAt(lineColours_, c.lineRun, c.line);
                v.line(c.last, lineColours_[c.lineRun].rgb, c.op);
                ++c.line;
                break;
            }
            case kCircle:
            case kCircleAtLineStart: {
                c.circleRun = runAt(circleColours_, c.circleRun, c.circle);
                const ColourRun& style = circleColours_[c.circleRun];
                if (kinds_[c.op] == kCircle) {
                    v.circle(Circle{centres_[c.centre].x, centres_[c.centre].y, style.radius},
                             style.rgb, c.op);
                    ++c.centre;
                } else {
                    v.circle(Circle{c.last.x1, c.last.y1, style.radius}, style.rgb, c.op);
                }
                ++c.circle;
                break;
            }
            default:
                v.text(texts_[c.text]);
                ++c.text;
                break;
        }
    }
}

inline std::size_t DrawingRecord::runAt(const std::vector<ColourRun>& runs, std::size_t run,
                                        std::size_t index) {
    while (run + 1 < runs.size() && runs[run + 1].first <= index) ++run;
    return run;
}

}  // namespace quorel
