// The basin strip: a band along the bottom of the graph's surface, one
// column per device pixel of the view, each in the colour of where a run
// started at that column's x ends (a colour per root, grey where none is
// shown). It follows zoom, pan and resize by asking for the columns of the
// view anew; a click starts a calculation from the column's x; the tooltip
// and the accessible description name the roots.
#pragma once

#include <QColor>
#include <QWidget>
#include <functional>
#include <vector>

#include "graph/basin_picture.h"

namespace quorel {

class BasinStrip : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kHeight = 8;  // device-independent pixels

    // `worldXAt` gives the world x shown at an x of the surface (its widget
    // pixels).
    BasinStrip(QWidget* surface, std::function<double(double)> worldXAt);

    // The world x of each column of the present view.
    std::vector<double> viewXs() const;
    // Asks for the columns again when the view no longer shows those of the
    // picture held (or there is none); nothing while hidden.
    void refreshColumns();
    // Forgets the picture: the next refresh asks anew.
    void forget();
    // A picture for the columns of the present view; others are ignored.
    void setPicture(const BasinPicture& picture);
    const BasinPicture& picture() const { return picture_; }

    // The colour of a column as painted.
    QColor columnColour(int column) const;
    static QColor entryColour(const BasinEntry& entry);
    // "x from -3.2 to -0.58: root -1; ..."; "" before a whole picture.
    QString describe() const;
    // The legend entry's name of the column under a strip x (widget pixels).
    QString nameAt(double x) const;

  signals:
    void columnsWanted(const std::vector<double>& xs);
    // A click on a column: a calculation from its x.
    void columnClicked(double x);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    void place();
    int columnAt(double x) const;

    std::function<double(double)> worldXAt_;
    BasinPicture picture_;
};

}  // namespace quorel
