#include <QTimer>

#include "program_fixture.h"

namespace quorel {
namespace {

using StartUp = testing::ProgramTest;

TEST_F(StartUp, SharedValuesAndPlacements) {
    EXPECT_EQ(main->windowTitle(), "Quorel ");
    // Placements to the nearest pixel (15 twips).
    auto expectPlaced = [](QWidget* form, QRect twips) {
        const QRect r = outerGeometryTwips(form);
        EXPECT_NEAR(r.x(), twips.x(), 7.5) << form->windowTitle().toStdString();
        EXPECT_NEAR(r.y(), twips.y(), 7.5);
        EXPECT_NEAR(r.width(), twips.width(), 7.5);
        EXPECT_NEAR(r.height(), twips.height(), 7.5);
    };
    expectPlaced(&main->frmFx(), QRect(0, 0, 5265, 3300));
    expectPlaced(&main->frmGraph(), QRect(5300, 0, 7845, 9000));
    expectPlaced(&main->frmDspdta(), QRect(0, 3350, 6030, 5580));

    // The frame shows all three children.
    const QSize client = main->mdiArea().viewport()->size();
    EXPECT_GE(client.width() * 15, 13145);
    EXPECT_GE(client.height() * 15, 9000);

    // The panel is active; the table lies above the graph where they overlap.
    QMdiSubWindow* active = main->mdiArea().activeSubWindow();
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->widget(), &main->frmFx());
    const auto stack = main->mdiArea().subWindowList(QMdiArea::StackingOrder);
    auto indexOf = [&](QWidget* form) {
        return stack.indexOf(qobject_cast<QMdiSubWindow*>(outerWindow(form)));
    };
    EXPECT_GT(indexOf(&main->frmDspdta()), indexOf(&main->frmGraph()));

    EXPECT_EQ(formCaption(&main->frmDspdta()), "Calculate process data,next X=x-(f(x)/f'(x))");
    EXPECT_EQ(formCaption(&main->frmFx()), "Input initial value and express");
    EXPECT_FALSE(main->frmWait().isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(StartUp, ChildWindowsCannotBeClosed) {
    QWidget* forms[] = {&main->frmFx(), &main->frmDspdta(), &main->frmGraph()};
    for (QWidget* form : forms) EXPECT_FALSE(form->parentWidget()->close());
    QApplication::processEvents();
    for (QWidget* form : forms) EXPECT_TRUE(form->isVisible());
}

TEST(ProgramDialogs, StepModeWithTheRealPauseDialog) {
    MDIForm1 main;  // the program's own dialogs
    main.show();
    QApplication::processEvents();
    FrmFx& panel = main.frmFx();
    panel.CmbFx().setEditText("X^3-3X-10");
    panel.TexDFT().setText("3");
    panel.ChkStep().setChecked(true);
    // 0-second pauses end on "Continue" alone (no timer can end one), pressed as each shows.
    main.frmWait().TexSec().setText("0");
    main.frmWait().TexSec_KeyPress(13);
    int continued = 0;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        if (main.frmWait().isVisible()) {
            ++continued;
            QTest::mouseClick(&main.frmWait().CmdGo(), Qt::LeftButton);
        }
    });
    clicker.start(0);
    panel.CmdCal_Click();
    EXPECT_EQ(continued, 4);
    EXPECT_EQ(main.frmDspdta().rowCount(), 5);
    EXPECT_FALSE(main.frmWait().isVisible());
}

TEST_F(StartUp, ClosingTheMainWindowHidesThePauseDialog) {
    main->frmWait().show();
    QApplication::processEvents();
    main->close();
    EXPECT_FALSE(main->frmWait().isVisible());
}

}  // namespace
}  // namespace quorel
