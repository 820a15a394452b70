// How the windows answer the keyboard, the wheel, a click and a resize, run
// at the screen's ratio and once more at ratio 2.

#include <QMenu>
#include <QScrollBar>
#include <QSet>
#include <QWheelEvent>
#include <algorithm>
#include <set>

#include "calculation_fixture.h"
#include "common/text_fit.h"
#include "graph/plot_surface.h"

namespace quorel {
namespace {

using WindowBehaviour = testing::CalculationTest;

TEST_F(WindowBehaviour, EnterInEveryBoxAndOnCalculateStartsACalculation) {
    FrmFx& p = panel();
    p.CmbFx().setEditText("x-2");
    p.TexDFT().setText("1");
    QWidget* targets[] = {&p.CmbFx(), &p.TexDFT(), &p.TexLoops(), &p.TexError(), &p.CmdCal()};
    for (QWidget* target : targets) {
        for (auto [key, modifiers] : {std::pair{Qt::Key_Return, Qt::NoModifier},
                                      std::pair{Qt::Key_Enter, Qt::KeypadModifier}}) {
            table().Dta_Clr();
            target->setFocus();
            QTest::keyClick(target, key, modifiers);
            EXPECT_EQ(table().cellText(1, 0), "1") << target->metaObject()->className() << key;
            EXPECT_EQ(p.CmbFx().currentText(), "x-2");
        }
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

// The table's first row whose cell shows whole.
long long topRow(const FrmDSPDTA& table) {
    return (static_cast<long long>(-table.contentTop()) + 334) / 335;
}

TEST_F(WindowBehaviour, TheTableScrollsByRowsAndPagesToItsLastRowAtAMillionRows) {
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QWidget* rows = table().findChild<QWidget*>("picOne");
    QScrollBar* bar = table().vsbScroll();
    ASSERT_NE(rows, nullptr);
    const long long wheel = QApplication::wheelScrollLines();
    const long long page = 14;  // rows the viewport shows whole
    // Rows 0 to n, as a run with a loop limit of n makes them.
    for (long long n : {1'000LL, 1'000'000LL}) {
        table().Dta_Clr();
        table().holdUpdates(true);
        for (long long r = 0; r <= n; ++r) table().DspDta(r, static_cast<double>(r), 0.5, 2.0);
        table().holdUpdates(false);
        ASSERT_EQ(table().rowCount(), n + 1);
        // The newest row shows at the bottom, a pitch above the viewport's end.
        long long top = n + 1 - 13;
        ASSERT_EQ(topRow(table()), top) << n;

        const auto step = [&](const char* what, long long move, auto&& act) {
            act();
            top = std::clamp(top + move, 0LL, n + 1 - 13);
            EXPECT_EQ(topRow(table()), top) << what << " at " << n << " rows";
        };
        auto turn = [&](int delta) {
            const QPointF at(rows->width() / 2.0, rows->height() / 2.0);
            QWheelEvent e(at, rows->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(rows, &e);
        };
        auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
            return [=] { QTest::keyClick(QApplication::focusWidget(), k, m); };
        };
        auto clickBar = [&](double fraction) {
            return [=] {
                QTest::mouseClick(bar, Qt::LeftButton, {},
                                  QPoint(bar->width() / 2, qRound(bar->height() * fraction)));
            };
        };
        const double arrowTop = 4.0 / bar->height(), arrowBottom = 1 - arrowTop;

        step("wheel back", -wheel, [&] { turn(120); });
        step("wheel on", wheel, [&] { turn(-120); });
        step("wheel back", -wheel, [&] { turn(120); });
        step("upper arrow", -1, clickBar(arrowTop));
        step("lower arrow", 1, clickBar(arrowBottom));
        step("track above the thumb", -page, clickBar(0.5));
        // A click gives the rows the keyboard and they show it: their left edge, all
        // blue while another box has it, turns to black and white dashes.
        auto edgeColours = [&] {
            const QImage shot = rows->grab().toImage();
            std::set<QRgb> seen;
            for (int y = 0; y < shot.height(); ++y) seen.insert(shot.pixel(0, y));
            return seen;
        };
        main->frmFx().CmbFx().setFocus();
        EXPECT_EQ(edgeColours(), std::set<QRgb>{qRgb(0, 0, 192)});
        QTest::mouseClick(rows, Qt::LeftButton, {}, QPoint(5, rows->height() - 5));
        ASSERT_EQ(QApplication::focusWidget(), rows);
        EXPECT_EQ(edgeColours(), (std::set<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
        step("Up", -1, key(Qt::Key_Up));
        step("Down", 1, key(Qt::Key_Down));
        step("PgUp", -page, key(Qt::Key_PageUp));
        step("PgDn", page, key(Qt::Key_PageDown));
        step("Home", -n, key(Qt::Key_Home));
        EXPECT_EQ(table().contentTop(), 0);
        step("wheel back at the top", -wheel, [&] { turn(120); });
        step("Down", 1, key(Qt::Key_Down));
        step("wheel on", wheel, [&] { turn(-120); });
        step("PgDn", page, key(Qt::Key_PageDown));
        step("track below the thumb", page, clickBar(0.75));
        step("Ctrl+End", n, key(Qt::Key_End, Qt::ControlModifier));
        step("Down at the end", 1, key(Qt::Key_Down));
        step("Ctrl+Home", -n, key(Qt::Key_Home, Qt::ControlModifier));
        step("End", n, key(Qt::Key_End));
        EXPECT_EQ(bar->value(), bar->maximum());
    }
}

TEST_F(WindowBehaviour, RowNumbersStayReadableAndWhole) {
    for (long long r = 0; r <= 1'000'000; r += 1'000'000) table().DspDta(r, 1, 2, 3);
    QWidget* rows = table().findChild<QWidget*>("picOne");
    // White digits inside the cell, blue both sides, as tall as 7 pt (6.5 px at ratio 1).
    const QImage shot = rows->grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    const int cellTop = qRound((table().contentTop() + 335.0 * 1'000'000) / 15 * ratio);
    const int cellWidth = qRound(495.0 / 15 * ratio), cellHeight = qRound(255.0 / 15 * ratio);
    int left = cellWidth, right = -1, top = cellHeight, bottom = -1;
    for (int y = 0; y < cellHeight; ++y) {
        for (int x = 0; x < cellWidth; ++x) {
            if (qGray(shot.pixel(x, cellTop + y)) < 160) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    EXPECT_GT(left, 0);
    EXPECT_LT(right, cellWidth - 1);
    EXPECT_GE(bottom - top + 1, 6 * ratio) << top << " " << bottom;

    // Too long even at the floor: the last digits, whole, in the column's face.
    const FittedText shown = fittedText(formFont(kFaceCells, 12, true), "123456789.",
                                        FrmDSPDTA::cellTextWidth(0), 7.0, rows);
    EXPECT_EQ(shown.font.pointSizeF(), 7.0);
    EXPECT_TRUE(shown.text.startsWith(QChar(0x2026)) && shown.text.endsWith("789."))
        << shown.text.toStdString();
    EXPECT_LE(textAdvance(shown.font, shown.text, rows), FrmDSPDTA::cellTextWidth(0));
}

TEST_F(WindowBehaviour, NothingOnTheGraphHidesTheTablesDigits) {
    calculate("x^3-3x-10", "10");
    QWidget* rows = table().findChild<QWidget*>("picOne");
    PlotSurface& surface = graph().picThree();
    // The rows as the frame shows them are the rows as the table draws them.
    auto expectRowsWhole = [&](const char* after) {
        QApplication::processEvents();
        const QImage own = rows->grab().toImage();
        const QPoint at = rows->mapTo(main.get(), QPoint(0, 0));
        const QImage shown = main->grab(QRect(at, rows->size())).toImage();
        ASSERT_EQ(own.size(), shown.size());
        // The cells end 5415 twips from the left; the last pixel row is not the table's.
        const int cellsRight = qRound((3720 + 1695) / 15.0 * own.devicePixelRatio());
        int differing = 0;
        for (int y = 0; y < own.height() - own.devicePixelRatio(); ++y)
            for (int x = 0; x < cellsRight; ++x) differing += own.pixel(x, y) != shown.pixel(x, y);
        EXPECT_EQ(differing, 0) << after;
    };
    expectRowsWhole("a calculation");
    const QPoint onSurface(surface.width() / 4, surface.height() / 2);
    QTest::mouseClick(&surface, Qt::LeftButton, {}, onSurface);
    ASSERT_GT(table().rowCount(), 1);
    expectRowsWhole("a click on the graph");
    QWheelEvent turn(QPointF(onSurface), surface.mapToGlobal(QPointF(onSurface)), QPoint(),
                     QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, true);
    QApplication::sendEvent(&surface, &turn);
    expectRowsWhole("a wheel turn on the graph");
    surface.setFocus();
    QTest::keyClick(&surface, Qt::Key_Minus);
    expectRowsWhole("a key on the graph");
    main->mdiArea().setActiveSubWindow(qobject_cast<QMdiSubWindow*>(outerWindow(&graph())));
    expectRowsWhole("the graph made the active window");
}

TEST_F(WindowBehaviour, TheGraphFollowsItsWindowAndTheLabelsTheirAxes) {
    calculate("x^3-3x-10", "3");
    PlotSurface& s = graph().picThree();
    const ProgramState& st = main->state();
    // The axes: black across the surface but where the curve or a tangent crosses.
    auto expectAxesAcross = [&](const char* after) {
        const QImage img = s.image();
        const qreal r = img.devicePixelRatio();
        const QPointF cross = (s.toWidget(st.OrgX, st.OrgY) - QPointF(2, 2)) * r;
        int offX = 0, offY = 0;
        for (int x = 0; x < img.width(); ++x) offX += img.pixel(x, int(cross.y())) != qRgb(0, 0, 0);
        for (int y = 0; y < img.height(); ++y)
            offY += img.pixel(int(cross.x()), y) != qRgb(0, 0, 0);
        EXPECT_LE(offX, img.width() / 20) << after;
        EXPECT_LE(offY, img.height() / 20) << after;
    };
    // "X" just below the x axis, "Y" just left of the y axis, both whole on the surface.
    auto expectLabelsByTheirAxes = [&](const char* after) {
        const QPointF cross = s.toWidget(st.OrgX, st.OrgY);
        const QRect x = graph().LabX().geometry(), y = graph().LabY().geometry();
        EXPECT_TRUE(s.rect().contains(x) && s.rect().contains(y)) << after;
        EXPECT_NEAR(x.top() - cross.y(), 380 / 15.0, 1.5) << after;
        EXPECT_NEAR(cross.x() - y.left(), 530 / 15.0, 1.5) << after;
    };
    auto* sub = qobject_cast<QMdiSubWindow*>(outerWindow(&graph()));
    const QSize before = s.size();
    const QString outcome = graph().outcomeText();
    ASSERT_FALSE(outcome.isEmpty());
    sub->showMaximized();
    QApplication::processEvents();
    ASSERT_GT(s.width(), before.width());
    EXPECT_EQ(graph().outcomeText(), outcome);
    expectAxesAcross("maximised");
    expectLabelsByTheirAxes("maximised");

    s.zoomAt(s.toWidget(st.OrgX + 3, st.OrgY + 10), 2, 2);
    expectLabelsByTheirAxes("zoomed");
    s.setFocus();
    QTest::keyClick(&s, Qt::Key_Right);
    QTest::keyClick(&s, Qt::Key_Down);
    expectLabelsByTheirAxes("panned");
    // The view goes along: the same zoom, the same world point in the middle.
    auto unitPx = [&] { return s.toWidget(1, 0).x() - s.toWidget(0, 0).x(); };
    auto worldInTheMiddle = [&] {
        const QPointF u = s.shownUserAt(QPointF(s.width(), s.height()) / 2);
        return graph().worldAt(u.x(), u.y());
    };
    const double unitZoomed = unitPx();
    const QPointF middleZoomed = worldInTheMiddle();
    sub->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(s.size(), before);
    EXPECT_NEAR(unitPx(), unitZoomed, 0.03 * unitZoomed);
    EXPECT_NEAR(worldInTheMiddle().x(), middleZoomed.x(), 1 / unitZoomed);
    EXPECT_NEAR(worldInTheMiddle().y(), middleZoomed.y(), 1 / unitZoomed);
    expectAxesAcross("restored");
    expectLabelsByTheirAxes("restored");

    // The curve sampled again for the new width: as near either edge, 3 units and a bit.
    auto curveEnds = [&] {
        const QImage shot = s.image();
        int left = shot.width(), right = -1;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shot.pixel(x, y) == qRgb(0, 0, 255)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        const double unit = unitPx() * shot.devicePixelRatio();
        return std::pair{left / unit, (shot.width() - 1 - right) / unit};
    };
    calculate("sin(x)", "3");
    const auto [leftBefore, rightBefore] = curveEnds();
    EXPECT_LT(std::max(leftBefore, rightBefore), 5.0);
    sub->showMaximized();
    QApplication::processEvents();
    const auto [leftAfter, rightAfter] = curveEnds();
    EXPECT_LT(std::max(leftAfter, rightAfter), 5.0);
    // Back at the old size the curve is sampled across the whole view again.
    sub->showNormal();
    QApplication::processEvents();
    const auto [leftAgain, rightAgain] = curveEnds();
    EXPECT_LT(std::max(leftAgain, rightAgain), 0.2);
}

TEST_F(WindowBehaviour, AfterAFarClickAndAResizeTheCurveSpansTheView) {
    calculate("X^3-3X-10", "3");
    PlotSurface& s = graph().picThree();
    const ProgramState& st = main->state();
    QTest::mouseClick(&s, Qt::LeftButton, {}, s.toWidget(29.154 + st.OffX, st.OrgY).toPoint());
    ASSERT_NEAR(textToNumber(panel().TexDFT().text().toStdString()), 29.154, 0.1);
    auto* sub = qobject_cast<QMdiSubWindow*>(outerWindow(&graph()));
    // Every column where f lies within the plot holds the curve between f
    // at its two edges, give or take a few pixels (or a tangent or marker
    // drawn over it).
    const QSet<QRgb> drawn{qRgb(0, 0, 255), qRgb(255, 0, 0), qRgb(0, 255, 8)};
    auto expectCurveAcross = [&](const char* after) {
        const QImage img = s.image();
        const qreal r = img.devicePixelRatio();
        auto curveY = [&](double column) {
            const double wx = s.shownUserAt(QPointF(2 + column / r, 0)).x() - st.OffX;
            return (s.toWidget(0, wx * wx * wx - 3 * wx - 10 + st.OrgY).y() - 2) * r;
        };
        int columns = 0, missing = 0;
        for (int x = 0; x < img.width(); ++x) {
            const double y1 = curveY(x), y2 = curveY(x + 1);
            if (!(std::min(y1, y2) > 3 * r && std::max(y1, y2) < img.height() - 3 * r)) continue;
            ++columns;
            bool found = false;
            for (int y = int(std::min(y1, y2) - 3 * r); y <= int(std::max(y1, y2) + 3 * r); ++y)
                found = found || drawn.contains(img.pixel(x, y));
            missing += !found;
        }
        EXPECT_GT(columns, 40 * r) << after;
        EXPECT_EQ(missing, 0) << after;
    };
    sub->showMaximized();
    QApplication::processEvents();
    expectCurveAcross("maximised");
    s.setFocus();
    QTest::keyClick(&s, Qt::Key_Home);
    expectCurveAcross("Home");
    for (int i = 0; i < 3; ++i) QTest::keyClick(&s, Qt::Key_Minus);
    sub->showNormal();
    QApplication::processEvents();
    expectCurveAcross("zoomed out and restored");
}

TEST_F(WindowBehaviour, FFramesEveryIterateOfTheRun) {
    calculate("X^3-3X-10", "100");
    PlotSurface& s = graph().picThree();
    const ProgramState& st = main->state();
    const QRgb marker = qRgb(0, 255, 8);
    ASSERT_GT(table().rowCount(), 5);
    EXPECT_FALSE(graphHas(marker));
    auto* sub = qobject_cast<QMdiSubWindow*>(outerWindow(&graph()));
    const auto menu = sub->systemMenu()->actions();
    EXPECT_TRUE(std::any_of(menu.begin(), menu.end(),
                            [](QAction* a) { return a->text() == "Frame the run"; }));
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    s.setFocus();
    QTest::keyClick(&s, Qt::Key_F);
    const QImage img = s.image();
    const qreal r = img.devicePixelRatio();
    const QRectF inner = QRectF(s.rect()).adjusted(2, 2, -2, -2);
    for (long long row = 0; row < table().rowCount(); ++row) {
        const QPointF at = s.toWidget(cell(1, row) + st.OffX, cell(2, row) + st.OrgY);
        EXPECT_TRUE(inner.adjusted(5, 5, -5, -5).contains(at)) << row;
        // Its marker (the last iterate's is the root's) shows there.
        bool seen = false;
        for (int dy = -6; dy <= 6; ++dy)
            for (int dx = -6; dx <= 6; ++dx) {
                const QPoint p(int((at.x() - 2) * r) + dx, int((at.y() - 2) * r) + dy);
                seen = seen || (img.valid(p) && img.pixel(p) == marker);
            }
        EXPECT_TRUE(seen) << row;
    }
    // The x axis came down to the bottom: its label stands clear of the
    // centre label and the outcome line, each whole.
    const QRect xLabel = graph().LabX().geometry();
    for (const char* name : {"viewCenter", "outcomeLine"}) {
        auto* label = s.findChild<QLabel*>(name);
        ASSERT_TRUE(label && label->isVisible()) << name;
        EXPECT_FALSE(xLabel.intersects(label->geometry())) << name;
        EXPECT_TRUE(s.rect().contains(label->geometry())) << name;
    }
}

TEST_F(WindowBehaviour, TheFrameScrollsToChildWindowsOutsideIt) {
    QMdiArea& area = main->mdiArea();
    EXPECT_FALSE(area.horizontalScrollBar()->isVisible());
    EXPECT_FALSE(area.verticalScrollBar()->isVisible());
    main->resize(main->width() / 2, main->height() / 2);
    QApplication::processEvents();
    ASSERT_TRUE(area.horizontalScrollBar()->isVisible());
    ASSERT_TRUE(area.verticalScrollBar()->isVisible());
    // Scrolled to the end, the graph's right edge shows.
    area.horizontalScrollBar()->setValue(area.horizontalScrollBar()->maximum());
    QApplication::processEvents();
    QWidget* graphSub = outerWindow(&graph());
    EXPECT_LE(graphSub->geometry().right(), area.viewport()->width());
}

}  // namespace
}  // namespace quorel
