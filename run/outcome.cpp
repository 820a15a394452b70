#include "run/outcome.h"

#include <cmath>
#include <cstdio>

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

double lastStep(const Outcome& o) {
    return o.lastSteps.empty() ? 0.0 : o.lastSteps.back();
}

// Why nothing shows a root near X.
std::string noRootReason(const Outcome& o) {
    switch (o.evidence) {
        case Evidence::NoPass:
            return "no pass was made: try a smaller error";
        case Evidence::SameSteps:
            return "X moves by " + numberToText(lastStep(o), 2) +
                   " each pass: f approaches 0 without crossing it";
        case Evidence::GrowingSteps:
            return "the steps grow (the last " + shortFigure(lastStep(o)) +
                   "): f approaches 0 without crossing it";
        default:
            break;
    }
    return "the steps did not shrink steadily: nothing shows a root near X";
}

std::string withinError(const Outcome& o) {
    const std::string at = "X = " + num(o.x) + ", f(X) = " + num(o.fx);
    const std::string after = ", after " + passesText(o.passes);
    switch (o.verdict) {
        case Verdict::Root:
            if (o.evidence == Evidence::ExactZero)
                return "Root " + at + after + ": f(X) is exactly 0.";
            if (o.evidence == Evidence::SignChange)
                return "Root " + at + after + ": f changes sign within " + shortFigure(o.distance) +
                       " of X (last step " + shortFigure(lastStep(o)) + ").";
            return "Root " + at + after + ": last step " + shortFigure(lastStep(o)) +
                   ", the steps shrinking faster than linearly.";
        case Verdict::SlowRoot:
            return "Converging slowly, as near a multiple root: " + at + after + "; each step " +
                   numberToText(o.ratio, 2) + " of the one before, so the root is about " +
                   shortFigure(o.distance) + " from X.";
        default:
            break;
    }
    return "No root shown: |f(X)| = " + shortFigure(std::abs(o.fx)) +
           " is within the error at X = " + num(o.x) + " after " + passesText(o.passes) + ", but " +
           noRootReason(o) + ".";
}

std::string ending(const Outcome& o) {
    switch (o.ending) {
        case Ending::None:
            return {};
        case Ending::NotCalculated:
            return "Not calculated: " + o.reason + ".";
        case Ending::WithinError:
            return withinError(o);
        case Ending::LoopLimit:
            return "No root: stopped after " + passesText(o.passes) + " at X = " + num(o.x) +
                   ", f(X) = " + num(o.fx) + ".";
        case Ending::ZeroSlope:
            return "Zero slope at X = " + num(o.x) + " after " + passesText(o.passes) +
                   ": no next X.";
        case Ending::Uncomputable:
            return std::string(uncomputedName(o.uncomputed)) +
                   " cannot be computed at X = " + num(o.x) + " (" + failureInfo(o.failure).cell +
                   "), after " + passesText(o.passes) + ".";
        case Ending::Stopped:
            return "Stopped by the user after " + passesText(o.passes) + ", at X = " + num(o.x) +
                   (o.hasFx ? ", f(X) = " + num(o.fx) : std::string()) + ".";
        case Ending::OutOfMemory:
            return "Out of memory after " + passesText(o.passes) + ": the calculation was stopped.";
    }
    return {};
}

}  // namespace

const char* uncomputedName(Uncomputed what) {
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

std::string shortFigure(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1E", v);
    return buf;
}

std::string outcomeText(const Outcome& outcome) {
    std::string text = ending(outcome);
    for (const std::string& note : outcome.readAs) text += " " + note + ".";
    return text;
}

}  // namespace quorel
