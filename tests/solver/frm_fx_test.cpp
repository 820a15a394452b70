#include <QAccessible>

#include "calculation_fixture.h"
#include "common/numtext.h"
#include "solver/failure_messages.h"

namespace quorel {
namespace {

using PanelTest = testing::CalculationTest;

TEST_F(PanelTest, ControlsAndExamples) {
    FrmFx& p = panel();
    EXPECT_EQ(p.CmbFx().currentText(), "3X^2-2X+1");
    ASSERT_EQ(p.CmbFx().count(), 6);
    EXPECT_EQ(p.CmbFx().itemText(0), "sin(3)*X^2-2*cos(X+8)");
    EXPECT_EQ(p.CmbFx().itemText(5), "log(x^9-x^7+x^5)/log(9)-x-8");
    EXPECT_EQ(p.TexDFT().text(), "");
    EXPECT_EQ(p.TexLoops().text(), "55");
    EXPECT_EQ(p.TexError().text(), "0.000001");
    EXPECT_EQ(p.LabDFT().text(), "initial value=");
    EXPECT_EQ(p.CmdCal().text(), "Calculate");
    EXPECT_FALSE(p.ChkStep().isChecked());

    // The visible caption beside the box does not tick it.
    QTest::mouseClick(&p.LabSel1(), Qt::LeftButton);
    EXPECT_FALSE(p.ChkStep().isChecked());

    // Choosing an example only replaces the text.
    p.CmbFx().setCurrentIndex(2);
    EXPECT_EQ(p.CmbFx().currentText(), "X^3-3X-10");
    EXPECT_EQ(main->frmDspdta().rowCount(), 1);
    EXPECT_TRUE(dialogs.messages.empty());

    // Tab order from Calculate on.
    EXPECT_EQ(p.CmdCal().nextInFocusChain(), &p.TexDFT());

    // Assistive technology: every control of the panel and the pause dialog has a
    // name and a description; each box is named by and related to its caption.
    for (QWidget* form : {static_cast<QWidget*>(&p), static_cast<QWidget*>(&main->frmWait())}) {
        for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << w->metaObject()->className();
            EXPECT_FALSE(a->text(QAccessible::Description).isEmpty())
                << a->text(QAccessible::Name).toStdString();
        }
    }
    EXPECT_EQ(main->frmWait().TexSec().accessibleName(), main->frmWait().Label1().text());
    const std::pair<QWidget*, QLabel*> boxes[] = {
        {&p.CmbFx(), &p.LabFx()},     {&p.TexDFT(), &p.LabDFT()},   {&p.TexLoops(), &p.Label3()},
        {&p.TexError(), &p.Label2()}, {&p.ChkStep(), &p.LabSel1()},
    };
    for (auto [box, label] : boxes) {
        EXPECT_EQ(box->accessibleName(), label->text());
        const auto related =
            QAccessible::queryAccessibleInterface(box)->relations(QAccessible::Label);
        ASSERT_EQ(related.size(), 1) << label->text().toStdString();
        EXPECT_EQ(related[0].first->object(), label);
    }
}

TEST_F(PanelTest, WhatIsTypedIsKeptWholeAndSolved) {
    FrmFx& p = panel();
    // Nothing completes the f(x) box: x typed and left stays x, and x is solved.
    p.CmbFx().setFocus();
    p.CmbFx().lineEdit()->selectAll();
    QTest::keyClicks(&p.CmbFx(), "x");
    p.TexDFT().setFocus();
    EXPECT_EQ(p.CmbFx().currentText(), "x");
    p.TexDFT().setText("1");
    QTest::mouseClick(&p.CmdCal(), Qt::LeftButton);
    EXPECT_EQ(p.CmbFx().currentText(), "x");
    ASSERT_EQ(table().rowCount(), 2);
    EXPECT_EQ(table().cellText(1, 1), "0");
    EXPECT_EQ(table().cellText(2, 1), "0");

    // Typed while another window is the active one (keys still arrive so on a
    // display without a window manager), the text keeps its order.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    p.CmbFx().setFocus();
    p.CmbFx().lineEdit()->selectAll();
    QTest::keyClicks(p.CmbFx().lineEdit(), "x-12");
    EXPECT_EQ(p.CmbFx().currentText(), "x-12");
    other.close();

    // No box cuts a long text: 40000 blanks inside change nothing.
    const QString blanks(40000, ' ');
    const QString typed[] = {"x-2" + blanks + "+1", blanks + "3", "5" + blanks + "5",
                             "0.1" + blanks + "E-9"};
    QLineEdit* boxes[] = {p.CmbFx().lineEdit(), &p.TexDFT(), &p.TexLoops(), &p.TexError()};
    for (int i = 0; i < 4; ++i) {
        boxes[i]->clear();
        boxes[i]->insert(typed[i]);
        EXPECT_EQ(boxes[i]->text(), typed[i]) << i;
    }
    QTest::mouseClick(&p.CmdCal(), Qt::LeftButton);
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_EQ(table().rowCount(), 2);
    EXPECT_EQ(table().cellText(1, 0), "3");
    EXPECT_EQ(table().cellText(1, 1), "1");
}

TEST_F(PanelTest, ClearCentresOnTheFloorOfTheInitialValue) {
    struct Case {
        const char* text;
        double curX;
    } cases[] = {{"", 0}, {"-2.5", -3}, {"12abc", 12}};
    for (const auto& c : cases) {
        main->frmDspdta().DspDta(0, 1, 2, 3);
        main->frmDspdta().DspDta(1, 1, 2, 3);
        panel().TexDFT().setText(c.text);
        QTest::mouseClick(&panel().CmdClr(), Qt::LeftButton);
        EXPECT_EQ(main->state().OffX, main->state().OrgX - c.curX) << c.text;
        EXPECT_EQ(main->frmDspdta().rowCount(), 1) << c.text;
    }
    EXPECT_TRUE(dialogs.messages.empty());

    // A number beyond the double range: one message, nothing changed.
    panel().TexDFT().setText("1e999");
    QTest::mouseClick(&panel().CmdClr(), Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "The number in \"initial value=\" cannot be read: \"1e999\" lies beyond the range "
              "of a double (about 1.8E+308). Clear was not done: the graph and the table were "
              "left as they were.");
    EXPECT_EQ(dialogs.messages[0].title, kAppTitle);
    EXPECT_EQ(main->state().OffX, main->state().OrgX - 12);
}

// Assistive technology reads the graph as the last calculation's f, centre and outcome.
TEST_F(PanelTest, TheGraphDescribesTheLastCalculation) {
    const auto description = [&] {
        return graph().picThree().accessibleDescription().toStdString();
    };
    EXPECT_EQ(description().find("f(x)="), std::string::npos);
    struct Case {
        const char* f;
        const char* x;
        const char* centre;
    } cases[] = {{"X^3-3X-10", "3", "(3,0)"}, {"x^2-4", "-5.5", "(-6,0)"}};
    for (const auto& c : cases) {
        calculate(c.f, c.x);
        const std::string outcome = graph().outcomeText().toStdString();
        ASSERT_FALSE(outcome.empty());
        EXPECT_EQ(description(),
                  std::string("Graph of f(x)=") + c.f + ", centre " + c.centre + ". " + outcome);
    }
}

TEST_F(PanelTest, DiagnosticViewShowsQueueStackAndValues) {
    panel().TexDFT().setText("1");
    QTest::mouseClick(&panel().LabDFT(), Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[0].text, "0,11 >> 3 , X , 2 , ^ , * , 2 , X , * , - , 1 , + ,  , ");
    EXPECT_EQ(dialogs.messages[1].text, ",");
    const std::string head = "F(1)=2 , F'(1)=";
    const std::string& last = dialogs.messages[2].text;
    ASSERT_EQ(last.rfind(head, 0), 0u) << last;
    EXPECT_NEAR(textToNumber(last.substr(head.size())), 4.0, 1e-6);
    EXPECT_EQ(dialogs.messages[2].title, kAppTitle);

    // The keyboard's way to the same view, from any control of the panel.
    const std::string valuesByMouse = dialogs.messages[2].text;
    dialogs.messages.clear();
    QTest::keyClick(&panel().TexError(), Qt::Key_I, Qt::ControlModifier);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[2].text, valuesByMouse);

    // Failures name what failed; an f(x) that gives no value is told, not evaluated.
    struct Case {
        const char* f;
        const char* x;
        std::string told;
    } cases[] = {
        {"log(x)", "-1", "F(-1) cannot be computed (Argument outside the function's domain)."},
        {"x", "1e999", numberTextMessage("initial value=", "1e999")},
        {"sqr(x)", "0",
         "F(0)=0 , but F'(0) cannot be computed (Argument outside the function's domain)."},
        {"x*-2", "1",
         "f(x) \"x*-2\" cannot be calculated: the operator \"*\" at position 2 lacks an operand. A "
         "sign right after an operator needs parentheses: write x*(-2)."},
    };
    for (const auto& c : cases) {
        dialogs.messages.clear();
        panel().CmbFx().setEditText(c.f);
        panel().TexDFT().setText(c.x);
        panel().LabDFT_Click();
        ASSERT_EQ(dialogs.messages.size(), 3u) << c.f;
        EXPECT_EQ(dialogs.messages[2].text, c.told);
    }
}

}  // namespace
}  // namespace quorel
