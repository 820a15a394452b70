// Last-in-first-out store of values: pending operators during translation.
// Never raises an error; each operation reports success in `succeeded`.
#pragma once

#include <cstdint>
#include <vector>

#include "common/user_dialogs.h"
#include "engine/value.h"

namespace quorel {

class Stack {
  public:
    static constexpr int kMaxItems = 500;

    Stack();

    // True if the last push, pop or nowValue succeeded.
    bool succeeded = false;

    // Puts v on top if fewer than 500 items are held; storage grows by 10 slots.
    void push(Value v);
    // Removes and returns the top item; the empty text on an empty stack.
    Value pop();
    // Returns the top item without removing it; the empty text on an empty stack.
    Value nowValue();
    // Shows ",slot0,slot1,...,slotTop," in a message box with the application title.
    void test(UserDialogs& dialogs) const;
    // The text `test` shows.
    std::string testText() const;

    int top() const { return top_; }
    std::int16_t capacity() const { return capacity_; }

  private:
    std::vector<Value> items_;  // slots 0..capacity_, slot 0 never used
    int top_ = 0;
    std::int16_t capacity_ = 50;
};

}  // namespace quorel
