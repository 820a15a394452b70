// The expression engine: translation of f(x) text into a postfix token
// sequence, evaluation of that sequence at any x, and the numerical slope.
// Pure C++, no windowing code. Failures are thrown as quorel::Failure with the
// numbers of common/failure.h (5 domain, 6 overflow, 11 division, 13 missing
// operand or a refused text).
//
// a^b: for a whole b from 2 to 16, the correctly rounded power
// (engine/power.h); std::pow for every other b.
//
//   Engine e;
//   e.Fx_Postfix("X^3-3X-10");
//   double y = e.Fx_Eval(2.0);   // -8
//   double d = e.Fx_Diff(2.0);   // ~9
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/fx_problem.h"
#include "engine/operators.h"
#include "engine/queue.h"
#include "engine/stack.h"

namespace quorel {

// What a translation gives: the postfix tokens it queued, and the first
// problem of the text (kind None when there is none).
struct Translation {
    std::vector<std::string> tokens;
    FxProblem problem;
};

class Engine {
  public:
    explicit Engine(OperatorTable operators = kOperators);
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // The operator stack and the token queue live as long as the engine.
    Stack OpStack;
    Queue FxQueue;

    // Appends the postfix tokens of expr to FxQueue (unread tokens of an
    // earlier sequence are dropped first), then HoldValue. Every operator it
    // pushes on OpStack reaches this queue; only unclosed "(" stay, and those
    // left by earlier translations give way when this one would otherwise run
    // out of stack. When the queue or the stack refuses a token the sequence
    // is cut short: the problem is TooLong, whatever else the text holds.
    // A sequence with a problem other than a number beyond the range (which
    // fails at its own token) fails with 13 at every evaluation, until tokens
    // are added to the queue directly.
    Translation Fx_Postfix(const std::string& expr);

    // f(x) from the last translated sequence; restores the saved read state
    // first and leaves the queue read to its end (or to the failing token).
    double Fx_Eval(double x);

    // Central difference slope with the step 10^(floor(ln|x|/ln 10) - 3);
    // at x = 0, or wherever that step would come out as 0, the step is 0.001.
    double Fx_Diff(double x);

    // Precedence of a token: "+","-" 1; "*","/" 2; "0+","0-" 3; "^" 5;
    // function names 6; "(",")" 9; anything else -9.
    std::int16_t Op_Level(const Value& token) const;

    // Moves one operator or parenthesis through OpStack into FxQueue.
    void Op_Handle(const Value& token);

    // The first problem of the last translated text.
    const FxProblem& problem() const { return problem_; }
    OperatorTable operators() const { return operators_; }

  private:
    // One step of the compact sequence evaluation runs.
    struct Step {
        std::uint8_t code;  // an Operation, or one of the codes of evaluate.cpp
        std::int16_t slot;  // the queue slot of the token, where a failure leaves the read state
        double number;      // the number a step pushes
        const OperatorRow* row;
    };

    void addToken(const Value& token);
    void pushOperator(const Value& token);
    Value popOperator();
    void flushOwnOperators();
    // Makes the compact sequence from the saved sequence of FxQueue.
    void makeSequence(bool refused);

    OperatorTable operators_;
    FxProblem problem_;
    bool cut_ = false;
    // During a translation: OpStack slots up to here hold "(" left over by
    // earlier translations; everything above was pushed by this one.
    int ownBase_ = 0;

    std::vector<Step> steps_;
    std::uint32_t madeFrom_ = 0;  // the queue's generation the steps were made from
    bool refused_ = false;
    // The read state evaluation leaves when no step fails.
    int endFront_ = 0;
    bool endHasItems_ = false;
    bool endSucceeded_ = false;
    bool emptyAtEnd_ = true;  // no operand left: failure 13 after reading
};

}  // namespace quorel
