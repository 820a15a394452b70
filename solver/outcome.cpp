#include "solver/outcome.h"

#include "common/failure.h"
#include "common/numtext.h"

namespace quorel {
namespace {

std::string num(double v) {
    return numberToText(v);
}

}  // namespace

std::string uncomputedMessage(Uncomputed what, double x, int failure) {
    const std::string plain = failureInfo(failure).plain;
    if (what == Uncomputed::NextX)
        return "The next X cannot be computed from X = " + num(x) + ": " + plain +
               ". The iteration ended there.";
    return std::string(uncomputedName(what)) + " cannot be computed at X = " + num(x) + ": " +
           plain + ". The iteration ended there.";
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
