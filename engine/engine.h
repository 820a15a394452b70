// The expression engine: translation of f(x) text into a postfix token
// sequence, evaluation of that sequence at any x, and the numerical slope.
// Pure C++, no windowing code. Failures are thrown as quorel::Failure with the
// numbers of common/failure.h (5 domain, 6 overflow, 11 division, 13 missing
// operand, a refused text or a sequence cut short).
//
// a^b: for a whole b from 2 to 16, the product a·a·…·a carried in
// double-double and rounded once (b = 2: a·a); std::pow for every other b and
// wherever that product would leave the normal range (engine/power.h). Both
// ways of evaluating below compute it the same way.
//
//   Engine e(dialogs);
//   e.Fx_Postfix("X^3-3X-10");
//   double y = e.Fx_Eval(2.0);   // -8
//   double d = e.Fx_Diff(2.0);   // ~9
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/user_dialogs.h"
#include "engine/fx_problem.h"
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
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // The operator stack and the token queue live as long as the engine.
    Stack OpStack;
    Queue FxQueue;

    // Appends the postfix tokens of expr to FxQueue (unread tokens of an
    // earlier sequence are dropped first), then HoldValue. Never fails: the
    // first problem of the text is recorded (problem()), and a sequence with
    // a problem fails at every evaluation (see refused()). Every
    // operator it pushes on OpStack reaches this queue; only unclosed "("
    // stay, and those left by earlier translations give way when this one
    // would otherwise run out of stack. When the queue or the stack refuses a
    // token the sequence is cut short: the user is told once
    // (kTooLongMessage) and evaluation fails with 13.
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
    // The first problem of the last translated text.
    const FxProblem& problem() const { return problem_; }
    // True while FxQueue holds the sequence of a translation that met a
    // problem other than a number beyond the range (which fails at its own
    // token): evaluation fails with 13. Tokens added to the queue after the
    // translation make a sequence of their own.
    bool refused() const {
        return problem_.kind != FxProblemKind::None &&
               problem_.kind != FxProblemKind::BeyondRange &&
               FxQueue.generation() == translatedGeneration_;
    }

    // Evaluation runs a compiled form of the sequence in which groups of
    // tokens (x^3, 2*x, "top - c", constant groups such as sin(3)) are fused
    // into single steps. Turned off, every token is one step: the reference
    // that the fused form must match in value bits, failure number and read
    // state. On by default.
    void setFusion(bool on) { fusion_ = on; }
    bool fusion() const { return fusion_; }

  private:
    struct Compiled;  // the compiled sequence, private to evaluation

    void addToken(const Value& token);
    void pushOperator(const Value& token);
    Value popOperator();
    void flushOwnOperators();
    // Compiles the saved sequence of FxQueue for evaluation.
    void compileSequence();

    UserDialogs& dialogs_;
    bool cut_ = false;
    FxProblem problem_;
    std::uint32_t translatedGeneration_ = 0;
    bool fusion_ = true;
    // During a translation: OpStack slots up to here hold "(" left over by
    // earlier translations; everything above was pushed by this one.
    int ownBase_ = 0;
    std::unique_ptr<Compiled> compiled_;
    std::uint32_t compiledGeneration_ = 0;
};

}  // namespace quorel
