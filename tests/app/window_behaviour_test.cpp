// How the windows answer the keyboard, the wheel, a click and a resize, run
// at the screen's ratio and once more at ratio 2.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "program_fixture.h"

namespace quorel {
namespace {

using WindowBehaviour = testing::ProgramTest;

TEST_F(WindowBehaviour, EnterInEveryBoxAndOnCalculateStartsACalculation) {
    FrmFx& p = panel();
    p.CmbFx().setEditText("x-2");
    p.TexDFT().setText("1");
    QWidget* targets[] = {&p.CmbFx(), &p.TexDFT(), &p.TexLoops(), &p.TexError(), &p.CmdCal()};
    for (QWidget* target : targets) {
        for (auto [key, modifiers] : {std::pair{Qt::Key_Return, Qt::NoModifier},
                                      std::pair{Qt::Key_Enter, Qt::KeypadModifier}}) {
            table().Dta_Clr();
            ASSERT_EQ(table().cellText(1, 0), "");
            target->setFocus();
            QTest::keyClick(target, key, modifiers);
            EXPECT_EQ(table().cellText(1, 0), "1") << target->metaObject()->className() << key;
            EXPECT_EQ(p.CmbFx().currentText(), "x-2");
        }
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace quorel
