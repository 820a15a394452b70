// First-in-first-out ring of at most 500 tokens (501 slots, slot 500 never
// used) holding the postfix sequence. Fetching never erases a slot, so
// HoldValue/SetValue can make a read sequence readable again. Beside each
// token the ring keeps what evaluation needs of it, decided once on `add`,
// and, once per translation, a fused form of the whole sequence.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/user_dialogs.h"
#include "engine/value.h"

namespace quorel {

// What evaluation does with a token, decided when the token is added.
enum class TokenOp : std::uint8_t {
    End,        // empty token: evaluation stops here
    Number,     // push `number`
    BadNumber,  // a number text beyond the double range: failure 6
    X,          // push the argument
    Add,
    Sub,
    Mul,
    Div,
    Pow,
    UPlus,
    UMinus,
    Sin,
    Cos,
    Tan,
    Atn,
    Exp,
    Sqr,
    Log,
    // Fused steps, each standing for a group of `width` tokens (c is `number`).
    AddC,
    SubC,
    MulC,
    DivC,
    PowC,  // top = top op c
    AddX,
    SubX,
    MulX,
    DivX,
    PowX,  // top = top op x
    XAddC,
    XSubC,
    XMulC,
    XDivC,
    XPowC,  // push x op c
    CAddX,
    CSubX,
    CMulX,
    CDivX,
    CPowX,  // push c op x
    CAddTop,
    CSubTop,
    CMulTop,
    CDivTop,
    CPowTop,  // top = c op top
};

struct CompiledToken {
    TokenOp op = TokenOp::End;
    std::uint16_t width = 1;  // slots this step stands for
    double number = 0.0;
};

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
    const CompiledToken& compiledAt(int slot) const { return compiled_[slot]; }
    // Sets the read state directly (used by evaluation, which reads the
    // compiled tokens without fetching each one).
    void setReadState(int front, bool hasItems) {
        front_ = front;
        hasItems_ = hasItems;
    }

    // A fused form of the unread sequence, made once per translation: a group
    // of tokens becomes one step in the group's first slot. It stands for the
    // read state it was made at; any add discards it.
    std::array<CompiledToken, kRing + 1>& fusedSlots() { return fused_; }
    void keepFused() {
        fusedValid_ = true;
        fusedHasItems_ = hasItems_;
        fusedFront_ = front_;
        fusedRear_ = rear_;
    }
    // The steps to walk from the current read state: the fused ones when they
    // were made for it and `allowFused`, else one step per token.
    const CompiledToken* steps(bool allowFused) const {
        const bool fused = allowFused && fusedValid_ && hasItems_ == fusedHasItems_ &&
                           front_ == fusedFront_ && rear_ == fusedRear_;
        return fused ? fused_.data() : compiled_.data();
    }

  private:
    std::array<Value, kRing + 1> items_{};
    std::array<CompiledToken, kRing + 1> compiled_{};
    std::array<CompiledToken, kRing + 1> fused_{};
    bool fusedValid_ = false;
    bool fusedHasItems_ = false;
    int fusedFront_ = 0;
    int fusedRear_ = 0;
    bool hasItems_ = false;
    bool savedHasItems_ = false;
    int rear_ = 0;
    int front_ = 0;
    int savedRear_ = 0;
    std::int16_t savedFront_ = 0;
};

}  // namespace quorel
