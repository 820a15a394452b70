// Everything drawn on a surface since it was last cleared, as it was drawn:
// lines and circles in the user coordinates of their frame (single
// precision, as drawn), texts at the place they were printed, in drawing
// order, with the boundaries of a calculation's passes marked among them.
// Colours, circle radii and frames are kept once per run of parts that share
// them.
#pragma once

#include <QFont>
#include <QPointF>
#include <QRgb>
#include <QString>
#include <algorithm>
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
    // Where a replay stands: how many lines, circles, texts and pass marks
    // it has gone past. A default cursor starts at the beginning.
    struct Cursor {
        std::size_t line = 0, circle = 0, text = 0, mark = 0;
        std::size_t part() const { return line + circle + text + mark; }
    };

    void addLine(const UserFrame& frame, const Line& line, QRgb rgb);
    void addCircle(const UserFrame& frame, const Circle& circle, QRgb rgb);
    void addText(const UserFrame& frame, Text text);
    // Marks the boundaries of the calculation's passes: once before the
    // first pass, then after each.
    void markPass();
    void clear();

    // The passes marked since the last clear, and where pass k's drawing
    // starts and ends. Finding a pass reads the record from its start, as
    // drawing up to it does.
    std::size_t passCount() const { return marks_ == 0 ? 0 : marks_ - 1; }
    Cursor passStart(std::size_t k) const { return afterMark(k); }
    Cursor passEnd(std::size_t k) const { return passEnd(k, passStart(k)); }
    // The same from passStart(k), read on from there.
    Cursor passEnd(std::size_t k, Cursor start) const { return afterMark(k + 1, start); }
    // The pass marks recorded, and the cursor standing at mark m (before it),
    // looked for from `from` on.
    std::size_t marks() const { return marks_; }
    Cursor atMark(std::size_t m, Cursor from) const;
    Cursor atMark(std::size_t m) const { return atMark(m, Cursor()); }

    // The parts and pass marks recorded.
    std::size_t size() const { return kinds_.size(); }
    // A cursor past everything recorded so far.
    Cursor end() const { return {lines_.size(), circles_.size(), texts_.size(), marks_}; }
    // The frame of the latest drawing, null when there is none.
    const UserFrame* lastFrame() const { return frames_.empty() ? nullptr : &frames_.back().frame; }
    // Heap bytes held.
    std::size_t bytes() const;

    // Hands the drawing from the cursor on to the visitor, in drawing order:
    // v.frame(UserFrame) first and whenever the frame changes, then
    // v.line(Line, rgb), v.circle(Circle, rgb) or v.text(Text), and
    // v.passMark() at a pass boundary when the visitor has it. Leaves the
    // cursor at the end, or at part `end` when given.
    template <class Visitor>
    void replay(Cursor& c, Visitor& v, std::size_t end = SIZE_MAX) const;

  private:
    enum Kind : std::uint8_t { kLine, kCircle, kText, kPassMark };
    // From its first part on (counted among the parts of one kind, or among
    // all parts for frames), a run shares one style or frame.
    struct StyleRun {
        std::size_t first;
        QRgb rgb;
        float radius;  // of circles
    };
    struct Centre {
        float x, y;
    };
    struct FrameRun {
        std::size_t first;
        UserFrame frame;
    };
    // How many runs have begun by part `index`.
    template <class Run>
    static std::size_t runsBegunBy(const std::vector<Run>& runs, std::size_t index) {
        const auto after =
            std::upper_bound(runs.begin(), runs.end(), index,
                             [](std::size_t i, const Run& r) { return i < r.first; });
        return static_cast<std::size_t>(after - runs.begin());
    }
    // The cursor just past pass mark `m` (counted from 0).
    Cursor afterMark(std::size_t m, Cursor from) const;
    Cursor afterMark(std::size_t m) const { return afterMark(m, Cursor()); }
    void noteFrame(const UserFrame& frame);
    static void noteStyle(std::vector<StyleRun>& runs, std::size_t index, QRgb rgb, float radius);

    BlockVector<Kind> kinds_;
    BlockVector<Line> lines_;
    BlockVector<Centre> circles_;
    std::vector<Text> texts_;
    std::vector<StyleRun> lineStyles_, circleStyles_;
    std::vector<FrameRun> frames_;
    std::size_t marks_ = 0;
};

template <class Visitor>
void DrawingRecord::replay(Cursor& c, Visitor& v, std::size_t end) const {
    const std::size_t n = std::min<std::size_t>(kinds_.size(), end);
    std::size_t part = c.part();
    if (part >= n) return;
    // Frame runs begun by `part`: pass marks may come before the first one.
    std::size_t frames = runsBegunBy(frames_, part);
    // A line or circle always has a run, begun by its first.
    std::size_t lineRun = lineStyles_.empty() ? 0 : runsBegunBy(lineStyles_, c.line) - 1;
    std::size_t circleRun = circleStyles_.empty() ? 0 : runsBegunBy(circleStyles_, c.circle) - 1;
    if (frames > 0) v.frame(frames_[frames - 1].frame);
    for (; part < n; ++part) {
        if (frames < frames_.size() && frames_[frames].first == part)
            v.frame(frames_[frames++].frame);
        switch (kinds_[part]) {
            case kLine:
                if (lineRun + 1 < lineStyles_.size() && lineStyles_[lineRun + 1].first == c.line)
                    ++lineRun;
                v.line(lines_[c.line++], lineStyles_[lineRun].rgb);
                break;
            case kCircle: {
                if (circleRun + 1 < circleStyles_.size() &&
                    circleStyles_[circleRun + 1].first == c.circle)
                    ++circleRun;
                const StyleRun& style = circleStyles_[circleRun];
                const Centre& centre = circles_[c.circle++];
                v.circle(Circle{centre.x, centre.y, style.radius}, style.rgb);
                break;
            }
            case kText:
                v.text(texts_[c.text++]);
                break;
            case kPassMark:
                ++c.mark;
                if constexpr (requires { v.passMark(); }) v.passMark();
                break;
        }
    }
}

}  // namespace quorel
