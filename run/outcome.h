// How one calculation ended, as one value: the ending, the last X and f(X),
// the pass count, the last steps, the failure if any and, when |f(X)| fell
// within the error, the verdict on whether the run shows a root there. The
// outcome line, the graph's description and the root marker all read it.
#pragma once

#include <string>
#include <vector>

namespace quorel {

enum class Ending {
    None,           // nothing calculated yet
    NotCalculated,  // an input could not be used
    WithinError,    // |f(X)| fell within the error
    LoopLimit,
    ZeroSlope,
    Uncomputable,  // f, f' or the next X cannot be computed at X
    Stopped,       // by the user
    OutOfMemory,
};

// What a run that ended within the error shows about a root near X.
enum class Verdict {
    None,
    Root,         // evidence of a root near X
    SlowRoot,     // steps shrinking by a steady ratio: a root at an estimated distance
    NoRootShown,  // nothing shows a root near X
};

enum class Evidence {
    None,
    ExactZero,     // f(X) is exactly 0
    SignChange,    // f takes opposite signs within the last step of X
    Superlinear,   // the steps shrank faster than linearly
    SteadyRatio,   // the steps shrank by a steady ratio below 1
    NoPass,        // no pass was made
    SameSteps,     // X moved by about the same step each pass
    GrowingSteps,  // the steps grew
    Unsteady,      // the steps shrank, but neither steadily nor ever faster
};

// The value of the iteration that could not be computed.
enum class Uncomputed { Fx, Slope, NextX };

// The verdict on a run that ended within the error, and its evidence.
struct Judgement {
    Verdict verdict = Verdict::None;
    Evidence evidence = Evidence::None;
    double ratio = 0.0;  // the steady ratio of SteadyRatio
    // SignChange: f changes sign within this distance of X; SteadyRatio: the
    // estimated distance to the root.
    double distance = 0.0;
};

struct Outcome : Judgement {
    Ending ending = Ending::None;
    double x = 0.0;
    double fx = 0.0;
    bool hasFx = false;
    // Next X computed, which is the number of the last row.
    long long passes = 0;
    // The last few steps |X(i+1) - X(i)|, oldest first.
    std::vector<double> lastSteps;
    int failure = 0;
    Uncomputed uncomputed = Uncomputed::Fx;
    std::string reason;  // why an input could not be used
    // How boxes that held more than their number were read.
    std::vector<std::string> readAs;

    bool isRoot() const { return ending == Ending::WithinError && verdict == Verdict::Root; }
};

// The outcome line: how the calculation ended, in plain words; "" before any.
std::string outcomeText(const Outcome& outcome);

// "f(X)", "f'(X)" or "the next X".
const char* uncomputedName(Uncomputed what);

// A short figure of two significant digits in exponent form ("7.0E-07").
std::string shortFigure(double v);

}  // namespace quorel
