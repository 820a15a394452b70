// The expression engine: translation of f(x) text into a postfix token
// sequence, evaluation of that sequence at any x, and the numerical slope.
// Pure C++, no windowing code. Failures are thrown as quorel::Failure with the
// numbers of common/failure.h (5 domain, 6 overflow, 11 division, 13 missing
// operand or a sequence cut short).
//
//   Engine e(dialogs);
//   e.Fx_Postfix("X^3-3X-10");
//   double y = e.Fx_Eval(2.0);   // -8
//   double d = e.Fx_Diff(2.0);   // ~9
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/user_dialogs.h"
#include "engine/queue.h"
#include "engine/stack.h"

namespace quorel {

// Message shown once when f(x) does not fit the 500-token queue or the
// 500-operator stack.
inline constexpr const char* kTooLongMessage =
    "f(x) is too long: it needs more than 500 tokens or more than 500 pending "
    "operators. Please shorten f(x).";

class Engine {
  public:
    explicit Engine(UserDialogs& dialogs);

    // The operator stack and the token queue live as long as the engine.
    Stack OpStack;
    Queue FxQueue;

    // Appends the postfix tokens of expr to FxQueue (unread tokens of an
    // earlier sequence are dropped first), then HoldValue. Never fails. When
    // the queue or the stack refuses a token the sequence is cut short: the
    // user is told once (kTooLongMessage) and evaluation fails with 13.
    void Fx_Postfix(const std::string& expr);

    // f(x) from the last translated sequence; restores the saved read state
    // first and leaves the queue read to its end (or to the failing token).
    double Fx_Eval(double x);

    // Central difference slope with the step 10^(floor(ln|x|/ln 10) - 3);
    // at x = 0, or wherever that step would come out as 0, the step is 0.001.
    double Fx_Diff(double x);

    // Precedence of a token: "+","-" 1; "*","/" 2; "0+","0-" 3; "^" 5;
    // function names 6; "(",")" 9; anything else -9.
    static std::int16_t Op_Level(const Value& token);

    // Moves one operator or parenthesis through OpStack into FxQueue.
    void Op_Handle(const Value& token);

    // True when the last translation was cut short.
    bool sequenceCut() const { return cut_; }

  private:
    // One step of a compiled sequence; `slot` is where it fails.
    struct Step {
        TokenOp op;
        std::int16_t slot;
        double number;
    };
    // A sequence compiled for evaluation: its steps, and the read state that
    // evaluation leaves when no step fails.
    struct Program {
        std::array<Step, Queue::kRing> steps;
        int size = 0;
        int endFront = 0;
        bool endHasItems = false;
        bool endSucceeded = false;
        bool emptyAtEnd = true;  // no operand left: failure 13 after reading
    };

    void addToken(const Value& token);
    void pushOperator(const Value& token);
    void flushOwnOperators(int base);
    // Compiles the saved sequence of FxQueue: one step per token (`plain_`),
    // and with groups of tokens fused into single steps (`fused_`).
    void compileSequence();

    UserDialogs& dialogs_;
    bool cut_ = false;
    Program plain_;
    Program fused_;
    std::uint32_t compiledGeneration_ = 0;
    bool programReady_ = false;
};

}  // namespace quorel
