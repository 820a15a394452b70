#include <gtest/gtest.h>

#include <string>

#include "engine/queue.h"
#include "engine/stack.h"
#include "tests/support/recording_dialogs.h"

namespace quorel {
namespace {

TEST(Stack, GrowsByTenRefusesThe501stItemAndGivesNothingWhenEmpty) {
    Stack s;
    for (int i = 1; i <= 60; ++i) {
        s.push(std::to_string(i));
        ASSERT_TRUE(s.succeeded);
        EXPECT_EQ(s.capacity(), i <= 50 ? 50 : 60) << i;
    }
    for (int i = 60; i >= 1; --i) EXPECT_EQ(valueText(s.pop()), std::to_string(i));
    EXPECT_TRUE(s.succeeded);

    for (int i = 1; i <= 501; ++i) s.push(std::to_string(i));
    EXPECT_FALSE(s.succeeded);
    EXPECT_EQ(s.capacity(), 500);
    EXPECT_EQ(valueText(s.nowValue()), "500");
    EXPECT_TRUE(s.succeeded);
    EXPECT_EQ(s.top(), 500);

    // An empty stack gives an empty text, then works again.
    Stack empty;
    EXPECT_EQ(valueText(empty.pop()), "");
    EXPECT_FALSE(empty.succeeded);
    EXPECT_EQ(valueText(empty.nowValue()), "");
    EXPECT_FALSE(empty.succeeded);
    empty.push(2.5);
    EXPECT_EQ(valueText(empty.pop()), "2.5");
    EXPECT_TRUE(empty.succeeded);
}

TEST(Queue, RingOf500WrapsIntoTheSlotJustRead) {
    Queue q;
    for (int i = 1; i <= 500; ++i) q.add(std::to_string(i));
    EXPECT_TRUE(q.succeeded);
    EXPECT_EQ(q.rear(), 0);
    q.add(std::string("refused"));
    EXPECT_FALSE(q.succeeded);
    EXPECT_EQ(q.rear(), 0);

    EXPECT_EQ(valueText(q.fetch()), "1");
    q.add(std::string("501"));
    EXPECT_TRUE(q.succeeded);
    EXPECT_EQ(q.rear(), 1);
    EXPECT_EQ(q.front(), 1);
    for (int i = 2; i <= 501; ++i) {
        EXPECT_EQ(valueText(q.nowValue()), std::to_string(i));
        EXPECT_EQ(valueText(q.fetch()), std::to_string(i));
        ASSERT_TRUE(q.succeeded);
    }
    EXPECT_FALSE(q.hasItems());
}

TEST(Queue, HoldAndSetMakeTheSequenceReadableAgain) {
    Queue q;
    q.SetValue();
    q.fetch();
    EXPECT_FALSE(q.succeeded);

    q.add(std::string("a"));
    q.add(std::string("b"));
    q.HoldValue();
    EXPECT_EQ(valueText(q.fetch()), "a");
    EXPECT_EQ(valueText(q.fetch()), "b");
    EXPECT_TRUE(q.succeeded);
    EXPECT_FALSE(q.hasItems());
    EXPECT_EQ(valueText(q.nowValue()), "");
    EXPECT_FALSE(q.succeeded);

    q.SetValue();
    EXPECT_FALSE(q.succeeded);  // SetValue leaves the flag alone
    EXPECT_EQ(valueText(q.fetch()), "a");
    EXPECT_EQ(valueText(q.fetch()), "b");
}

TEST(Queue, TestShowsPositionsAndReadsToTheEnd) {
    testing::RecordingDialogs dialogs;
    Queue q;
    q.test(dialogs);
    q.add(std::string("X"));
    q.add(2.0);
    q.add(std::string("^"));
    q.HoldValue();
    q.test(dialogs);
    q.test(dialogs);
    q.SetValue();
    q.fetch();
    q.test(dialogs);
    ASSERT_EQ(dialogs.messages.size(), 4u);
    EXPECT_EQ(dialogs.messages[0].text, "0,0 >>  , ");
    EXPECT_EQ(dialogs.messages[1].text, "0,3 >> X , 2 , ^ ,  , ");
    EXPECT_EQ(dialogs.messages[2].text, "3,3 >>  , ");
    EXPECT_EQ(dialogs.messages[3].text, "1,3 >> 2 , ^ ,  , ");
    EXPECT_EQ(dialogs.messages[1].title, kAppTitle);
}

}  // namespace
}  // namespace quorel
