#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "manual_timer.h"
#include "recording_dialogs.h"
#include "solver/failure_messages.h"
#include "solver/frm_wait.h"

namespace quorel {
namespace {

class WaitTest : public ::testing::Test {
  protected:
    WaitTest() : wait(state, dialogs, nullptr, std::make_unique<testing::ManualTimer>()) {
        state.PauseSeconds = 5;
        wait.Form_Load();
    }
    void typeSeconds(const char* text) {
        wait.TexSec().clear();
        QTest::keyClicks(&wait.TexSec(), text);
        QTest::keyClick(&wait.TexSec(), Qt::Key_Return);
    }

    // Runs `during` once the pause has begun; false when it ended the calculation.
    bool pause(const std::function<void()>& during) {
        QTimer::singleShot(0, &wait, during);
        return wait.showModal();
    }
    testing::ManualTimer& clock() { return static_cast<testing::ManualTimer&>(wait.Timer1()); }

    ProgramState state;
    testing::RecordingDialogs dialogs;
    FrmWait wait;
};

TEST_F(WaitTest, LoadsWithTheLengthSelectedAndEnterSetsTheLengthOrRefusesIt) {
    // A close button only, to leave room for the title.
    EXPECT_EQ(wait.windowFlags() & (Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
              Qt::WindowCloseButtonHint);
    EXPECT_EQ(wait.windowTitle(), "Waiting");
    EXPECT_EQ(wait.Label1().text(), "pause second:");
    EXPECT_EQ(wait.CmdGo().text(), "Continue");
    EXPECT_EQ(wait.TexSec().selectedText(), "5");
    EXPECT_TRUE(wait.Timer1().isActive());
    EXPECT_EQ(wait.Timer1().interval(), 5000);

    struct Case {
        const char* typed;
        int seconds;  // -1: refused
    } cases[] = {{"10", 10}, {"2.5", -1},   {" 7 ", 7},    {"32", 32}, {"abc", -1}, {"33", -1},
                 {"-1", -1}, {"40000", -1}, {"1e999", -1}, {"0", 0},   {"3x", -1},  {"", -1}};
    for (const auto& c : cases) {
        const int before = state.PauseSeconds;
        const std::size_t told = dialogs.messages.size();
        typeSeconds(c.typed);
        const bool refused = c.seconds < 0;
        const int now = refused ? before : c.seconds;
        EXPECT_EQ(state.PauseSeconds, now) << c.typed;
        EXPECT_EQ(dialogs.messages.size(), told + (refused ? 1 : 0)) << c.typed;
        if (refused) {
            EXPECT_EQ(wait.TexSec().text(), QString::number(before)) << c.typed;
            if (std::string(c.typed) != "1e999") {
                EXPECT_EQ(dialogs.messages.back().text, kPauseRangeMessage) << c.typed;
            }
        }
        EXPECT_EQ(wait.Timer1().isActive(), now > 0) << c.typed;
        if (now > 0) {
            EXPECT_EQ(wait.Timer1().interval(), now * 1000) << c.typed;
        }
    }
    // A long text is taken whole: 40000 blanks inside change nothing.
    wait.TexSec().clear();
    wait.TexSec().insert("1" + QString(40000, ' ') + "0");
    QTest::keyClick(&wait.TexSec(), Qt::Key_Return);
    EXPECT_EQ(state.PauseSeconds, 10);
}

TEST_F(WaitTest, APauseEndsAtTheTickOrOnContinueAndTheCalculationOnClosingOrEscape) {
    // The timer runs from the load: the first pause ends at its first tick.
    clock().advance(3000);
    bool visibleBeforeTick = false;
    EXPECT_TRUE(pause([&] {
        clock().advance(1999);
        visibleBeforeTick = wait.isVisible();
        clock().advance(1);
    }));
    EXPECT_TRUE(visibleBeforeTick);
    EXPECT_FALSE(wait.isVisible());

    // Enter in a pause counts the new length afresh; Continue ends the pause.
    bool visibleAfterEnter = false;
    EXPECT_TRUE(pause([&] {
        clock().advance(4000);
        typeSeconds("7");
        clock().advance(6999);
        visibleAfterEnter = wait.isVisible();
        QTest::mouseClick(&wait.CmdGo(), Qt::LeftButton);
    }));
    EXPECT_TRUE(visibleAfterEnter);
    EXPECT_FALSE(wait.isVisible());
    EXPECT_EQ(state.PauseSeconds, 7);

    // Escape and the close button end the pause and the calculation.
    typeSeconds("0");
    EXPECT_FALSE(pause([&] { QTest::keyClick(&wait.TexSec(), Qt::Key_Escape); }));
    EXPECT_FALSE(wait.isVisible());
    EXPECT_FALSE(pause([&] { wait.close(); }));
    EXPECT_FALSE(wait.isVisible());
}

TEST_F(WaitTest, ARefusalIsToldByItsTextAndThePauseWaitsForIt) {
    typeSeconds("1e999");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              numberTextMessage("pause second:", "1e999") + " The previous length stays.");
    EXPECT_EQ(state.PauseSeconds, 5);

    // A 1-second pause, a refusal held open 1.5 seconds: the pause is still on
    // when it closes, and the kept length runs afresh from there.
    typeSeconds("1");
    dialogs.messages.clear();
    bool visibleWhileTold = false, visibleAfterTold = false;
    dialogs.onMessage = [&](const testing::ShownMessage&) {
        clock().advance(1500);
        visibleWhileTold = wait.isVisible();
    };
    EXPECT_TRUE(pause([&] {
        typeSeconds("33");
        clock().advance(999);
        visibleAfterTold = wait.isVisible();
        clock().advance(1);
    }));
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(visibleWhileTold);
    EXPECT_TRUE(visibleAfterTold);
    EXPECT_FALSE(wait.isVisible());
    EXPECT_EQ(state.PauseSeconds, 1);
}

}  // namespace
}  // namespace quorel
