// First-in-first-out ring of at most 500 tokens (501 slots, slot 500 never
// used) holding the postfix sequence. Fetching never erases a slot, so
// HoldValue/SetValue can make a read sequence readable again.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/user_dialogs.h"
#include "engine/value.h"

namespace quorel {

class Queue {
  public:
    static constexpr int kRing = 500;

    // True if the last add, fetch or nowValue succeeded.
    bool succeeded = false;

    // Appends v unless 500 tokens are unread.
    void add(Value v);
    // The oldest unread token, now read; the empty text when nothing is unread.
    Value fetch();
    // The oldest unread token, left unread; the empty text when nothing is unread.
    Value nowValue();
    // Shows "front,rear >> t1 , t2 , ... ,  , " in a message box (reads to the end).
    void test(UserDialogs& dialogs);
    // Saves the read state.
    void HoldValue() {
        savedHasItems_ = hasItems_;
        savedRear_ = rear_;
        savedFront_ = static_cast<std::int16_t>(front_);
        ++generation_;
    }
    // Restores the read state saved by the last HoldValue.
    void SetValue() {
        hasItems_ = savedHasItems_;
        rear_ = savedRear_;
        front_ = savedFront_;
    }

    int front() const { return front_; }
    int rear() const { return rear_; }
    bool hasItems() const { return hasItems_; }
    // How many tokens are unread: those in the slots after front() up to rear().
    int unread() const {
        if (!hasItems_) return 0;
        const int n = rear_ - front_;
        return n > 0 ? n : n + kRing;
    }
    // The token in `slot`, read or not.
    const Value& itemAt(int slot) const { return items_[slot]; }
    // Sets the read state directly (used by evaluation, which reads its own
    // copy of the tokens without fetching each one).
    void setReadState(int front, bool hasItems) {
        front_ = front;
        hasItems_ = hasItems;
    }
    // Changes with every add and HoldValue: a copy of the saved sequence
    // stays good while this stays the same.
    std::uint32_t generation() const { return generation_; }

  private:
    std::array<Value, kRing + 1> items_{};
    bool hasItems_ = false;
    bool savedHasItems_ = false;
    int rear_ = 0;
    int front_ = 0;
    int savedRear_ = 0;
    std::int16_t savedFront_ = 0;
    std::uint32_t generation_ = 0;
};

}  // namespace quorel
