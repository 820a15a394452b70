#include "solver/outcome.h"

#include "common/failure.h"
#include "common/numtext.h"

namespace quorel {
namespace {

std::string num(double v) {
    return numberToText(v);
}

std::string passesText(long long n) {
    return std::to_string(n) + (n == 1 ? " pass" : " passes");
}

const char* valueName(Uncomputed what) {
    switch (what) {
        case Uncomputed::Fx:
            return "f(X)";
        case Uncomputed::Slope:
            return "f'(X)";
        case Uncomputed::NextX:
            break;
    }
    return "the next X";
}

}  // namespace

std::string rootOutcome(double x, double fx, long long passes) {
    return "Root X = " + num(x) + ", f(X) = " + num(fx) + ", after " + passesText(passes) + ".";
}

std::string loopLimitOutcome(double x, double fx, long long passes) {
    return "No root: stopped after " + passesText(passes) + " at X = " + num(x) +
           ", f(X) = " + num(fx) + ".";
}

std::string zeroSlopeOutcome(double x) {
    return "Zero slope at X = " + num(x) + ": no next X.";
}

std::string uncomputedOutcome(Uncomputed what, double x, int failure) {
    const std::string name = valueName(what);
    return std::string(what == Uncomputed::NextX ? "The next X" : name) +
           " cannot be computed at X = " + num(x) + " (" + failureInfo(failure).cell + ").";
}

std::string stoppedOutcome(double x, long long passes) {
    return "Stopped by the user after " + passesText(passes) + ", at X = " + num(x) + ".";
}

std::string outOfMemoryOutcome(long long passes) {
    return "Out of memory after " + passesText(passes) + ": the calculation was stopped.";
}

std::string notCalculatedOutcome(const std::string& reason) {
    return "Not calculated: " + reason + ".";
}

std::string uncomputedMessage(Uncomputed what, double x, int failure) {
    const std::string plain = failureInfo(failure).plain;
    if (what == Uncomputed::NextX)
        return "The next X cannot be computed from X = " + num(x) + ": " + plain +
               ". The iteration ended there.";
    return std::string(valueName(what)) + " cannot be computed at X = " + num(x) + ": " + plain +
           ". The iteration ended there.";
}

std::string zeroSlopeMessage(double x) {
    return "The slope f'(X) at X = " + num(x) +
           " is exactly 0: the tangent never meets the x axis, so there is no next X. The "
           "iteration ended there.";
}

std::string curveOverflowMessage(double x) {
    return "f(x) lies beyond the range of a double (about 1.8E+308), or is 0/0, at some x of the "
           "curve (the first at x = " +
           num(x) + "): those points are left out of the curve.";
}

std::string beyondDrawingMessage(double x, double fx) {
    return "The point X = " + num(x) + ", f(X) = " + num(fx) +
           " lies beyond what the graph can draw (about 3.4E+38): such points and their tangents "
           "are left out of the graph; the table lists them.";
}

}  // namespace quorel
