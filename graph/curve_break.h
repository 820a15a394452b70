// Whether two neighbouring samples of the curve are joined by a segment. A
// pole of f between them shows as a leap from one side of the plot to the
// other: the samples lie beyond opposite edges, or f changes sign in a jump
// taller than the plot. Such a leap is not drawn, unless the step before it
// went the same way: then it is a steep stretch of a continuous curve (a
// curve runs away from the axis toward a pole and comes back on the other
// side). Pure C++, values in the units of the plot's edges.
#pragma once

namespace quorel {

struct CurveSamples {
    double before;  // the sample before `from`; NaN when there is none
    double from;
    double to;
};

// bottom < top: the plot's lower and upper edge.
bool joinsSamples(const CurveSamples& s, double bottom, double top);

}  // namespace quorel
