#include "app/help_text.h"

#include <QStringList>

namespace quorel {

QString helpHtml(const QString& version, OperatorTable operators) {
    QString html = QStringLiteral(R"(
<h2>Tangent-line root finder</h2>
<p>Version %1</p>
<p>The program looks for a real root of f(x), an x where f(x) = 0, by the
tangent-line iteration X(i+1) = X(i) - f(X(i)) / f'(X(i)). The slope f'(x) is
worked out numerically. Every pass is a row of the table and a red tangent on
the graph, from the curve at X(i) down to the x axis at X(i+1).</p>

<h3>Writing f(x)</h3>
<ul>
<li><b>x</b> (or X) is the variable.</li>
<li>Numbers: digits with at most one decimal point, then an optional exponent
after E or D (either case) with an optional sign: <code>2.5</code>,
<code>.5</code>, <code>1e-5</code>, <code>2.5D-3</code>.</li>
<li>Operators: <code>+ - * / ^</code>. <code>^</code> is the power and comes
first, then <code>*</code> and <code>/</code>, then <code>+</code> and
<code>-</code>. Each of them is read left to right: <code>2^3^2</code> is
(2^3)^2 = 64, <code>8/4/2</code> is 1.</li>
<li>Functions: %2, with their argument in brackets or, when it is x, right
after the name: <code>sinx</code> is sin(x), <code>sinx^2</code> is
(sin(x))^2. <code>log(x)/log(10)</code> is the common logarithm.</li>
<li>Brackets: a <code>)</code> missing at the end is supplied, one too many
after an expression is dropped.</li>
<li>Products may be implied: a number, x or <code>)</code> followed by
<code>(</code>, x or a function multiplies, and binds as <code>*</code> does:
<code>2x</code>, <code>2(x+1)</code>, <code>3sin(x)</code>,
<code>(x+1)(x-1)</code>, <code>x(x+1)</code>; <code>2x^2</code> is
2*(x^2). A number right after x or <code>)</code> (<code>x2</code>) is
refused: write <code>x*2</code> or <code>x^2</code>.</li>
<li>A sign stands at the start or right after <code>(</code>; after an
operator it needs brackets: <code>x*(-2)</code>, not <code>x*-2</code>.</li>
<li>Blanks and tabs are skipped wherever they stand, even inside a number
(<code>1 000</code> is 1000). There are no named constants: write
<code>3.14159265358979</code> for pi and <code>exp(1)</code> for e.</li>
<li>Any other piece, or a piece where it cannot stand, is refused with a
message that names it and its position, and nothing is calculated; so is an
f(x) of more than 500 tokens.</li>
</ul>

<h3>The inputs</h3>
<ul>
<li><b>Input f(x)=</b>: the function, typed or picked from the examples.</li>
<li><b>initial value=</b>: where the iteration starts. A click on this caption
(or Ctrl+I) shows the translated f(x) and f and f' at the initial value.</li>
<li><b>error=</b>: the tolerance; the calculation stops when |f(X)| is at most
this.</li>
<li><b>Loops =</b>: the most passes before the calculation gives up.</li>
<li><b>step by step</b>: pause after every pass; the pause dialog waits its
number of seconds (0: until "Continue"), Enter in its box sets a new length.</li>
<li><b>Calculate</b> runs a calculation, <b>Clear</b> centres the graph on
the initial value and empties the table, <b>End</b> ends the program.</li>
</ul>

<h3>How a calculation stops</h3>
<p>Each pass computes f(X) and the slope f'(X) at the present X, then the next
X. The slope is the central difference (f(X+h) - f(X-h)) / (2h) with
h = 10^(floor(L) - 3), L = ln|X| / ln 10 (three digits below the leading digit
of X: h = 0.001 for X = 3, 0.1 for X = 250; for X = 1000, L is just below 3
and h = 0.01); at X = 0, h = 0.001. The pass count is the number of next X
computed, which is the number of the last row of the table.</p>
<ol>
<li><b>Within the error</b>: before each pass, when |f(X)| is at most
"error=", the iteration stops. A small f(X) is not yet a root, so the line on
the graph then says what the run shows:
<ul>
<li><b>Root</b>, with a green circle at X, only with evidence: f(X) is exactly
0; or f has the opposite sign at X - d or X + d, with d twice the next step
|f(X)/f'(X)| or else the last step (a root lies within d of X, and the line
gives d); or the steps shrank faster than
linearly (each ratio of a step to the one before at most half the ratio
before it).</li>
<li><b>Converging slowly, as near a multiple root</b>: the last steps shrank
by a steady ratio r below 0.95 (their ratios within 0.05 of each other, not
creeping up). The root then lies about s &times; r / (1 - r) from X, which the
line gives; X is marked as any iterate.</li>
<li><b>No root shown</b>: no pass was made (try a smaller error), or the steps
stayed the same or grew (exp(-x) from 1 moves by 1 each pass: f approaches 0
without crossing it), or they shrank unsteadily. X is marked as any
iterate.</li>
</ul></li>
<li><b>Loop limit</b>: "Loops =" passes were made without that; a message
says so.</li>
<li><b>No tangent</b>: the slope f'(X) is zero, so the tangent never meets the
x axis, or f cannot be worked out at X; the calculation ends there.</li>
<li><b>Stopped</b>: Escape in any window stops a running calculation at the
end of its pass; the rows and the drawing so far stay.</li>
</ol>
<p>An "error=" below 0 can never be met and is refused. A number box is read
from its start ("2,5" is read as 2); when it held more than its number, the
line says how it was read.</p>

<h3>Keys and mouse</h3>
<table cellspacing="0" cellpadding="3">
<tr><td><b>Enter, Space</b></td><td>on "Calculate": calculate</td></tr>
<tr><td><b>Click on the graph</b></td><td>any button: calculate from the clicked
x</td></tr>
<tr><td><b>Wheel on the graph</b></td><td>zoom about the pointer; with Ctrl, the
y direction only</td></tr>
<tr><td><b>+ and -</b></td><td>zoom about the middle of the graph (Ctrl: y
only)</td></tr>
<tr><td><b>Arrow keys</b></td><td>move the graph</td></tr>
<tr><td><b>Home</b></td><td>the graph as it was drawn</td></tr>
<tr><td><b>F</b></td><td>on the graph: frame the run, every iterate in view with
the curve drawn across it</td></tr>
<tr><td><b>[ and ]</b></td><td>on the graph or the convergence window: replay
the finished run one pass back or forward; the graph shows the passes up to
that one with its tangent in orange, the table and the convergence window mark
its row. Any other key or click shows the whole run again.</td></tr>
<tr><td><b>Ctrl+C</b></td><td>on the table: copy every row as text (tab
separated, full precision); on the graph: copy the picture</td></tr>
<tr><td><b>Right click on the table</b></td><td>menu: copy, print, save as
PDF</td></tr>
<tr><td><b>Menu key on the graph</b></td><td>menu: copy picture, save picture
as PNG, frame the run, basin strip, print, save as PDF (a right click on the graph
calculates)</td></tr>
<tr><td><b>B</b></td><td>on the graph (or "Basin strip" in its menus): the basin
strip on or off. After every calculation a band 8 pixels tall along the bottom
of the graph shows, for each pixel column, where a calculation started at that
column's x ends, with the same f(x), "error=" and "Loops =": each root found
(with evidence, as the outcome line calls a root) in a colour of its own,
grey where no root is shown (darkest: f cannot be worked out; then a zero
slope, the loop limit, no root shown, converging slowly). It follows zoom,
move and resize; a click on it calculates from that column's x; resting the
pointer on it names the root there.</td></tr>
<tr><td><b>Keep previous run</b></td><td>in the graph's menus (off at first):
the last run's tangents and markers stay in light grey under the next run, to
compare two starts; Clear removes them, as does turning it off</td></tr>
<tr><td><b>Ctrl+P</b></td><td>print the worksheet (through the print dialog):
f(x) as typed, the three inputs, the outcome, the graph as shown (with the
strip), the convergence plot and every row of the table, over as many pages as
it takes</td></tr>
<tr><td><b>Ctrl+S</b></td><td>save the same worksheet as a PDF file; its text
can be searched and copied</td></tr>
<tr><td><b>F3</b></td><td>the convergence window: log10 |f(Xi)| and log10
|X(i+1)-X(i)| against i, and per pass the step, the ratio of the next step to
it and the estimated order, about 2 near a simple root and 1 near a double
root such as that of x^2</td></tr>
<tr><td><b>Escape</b></td><td>in any window while a calculation runs: stop it,
keeping what it showed; in the pause dialog: end the calculation</td></tr>
<tr><td><b>Hover a table cell</b></td><td>its value in full, the shortest text
that reads back as the same number</td></tr>
<tr><td><b>F1</b></td><td>this help</td></tr>
</table>
<p>The window menus of the table and the graph (the icon at the left of their
title bars) offer the same.</p>
)");
    const std::string functions = listFunctions(operators, ", ", ", ", [](const OperatorRow& row) {
        return "<code>" + std::string(row.name) + "</code> (" + std::string(row.meaning) + ")";
    });
    return html.arg(version.toHtmlEscaped(), QString::fromStdString(functions));
}

}  // namespace quorel
