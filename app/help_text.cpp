#include "app/help_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "solver/frm_fx.h"

namespace quorel {
namespace {

const char* const kFxTip =
    "f(x) to solve. x is the variable; numbers like 2.5 or 1E-3; + - * / and ^ "
    "(read left to right: 2^3^2 is 64); sin cos tan atn exp log sqr (log is the "
    "natural logarithm, sqr the square root); 3x and 2(x+1) are products. F1: help.";
const char* const kInitialTip =
    "Where the iteration starts. A click on the graph puts the clicked x here and "
    "calculates.";
const char* const kErrorTip = "The calculation stops when |f(X)| is at most this.";
const char* const kLoopsTip = "The most passes the iteration makes before it gives up.";
const char* const kStepTip = "Pause after every pass (the pause dialog sets how long).";

}  // namespace

void setPanelToolTips(FrmFx& panel) {
    panel.CmbFx().setToolTip(kFxTip);
    panel.LabFx().setToolTip(kFxTip);
    panel.TexDFT().setToolTip(kInitialTip);
    panel.LabDFT().setToolTip("Click: the translated f(x), and f and f' at the initial value.");
    panel.TexError().setToolTip(kErrorTip);
    panel.Label2().setToolTip(kErrorTip);
    panel.TexLoops().setToolTip(kLoopsTip);
    panel.Label3().setToolTip(kLoopsTip);
    panel.ChkStep().setToolTip(kStepTip);
    panel.LabSel1().setToolTip(kStepTip);
    panel.CmdCal().setToolTip("Find a root from the initial value (Enter, Space).");
    panel.CmdClr().setToolTip("Centre the graph on the initial value and empty the table.");
    panel.Command1().setToolTip("End the program.");
    panel.Label1().setToolTip("F1: help on f(x), the inputs, the keys and the mouse.");
}

QString helpHtml(const QString& version) {
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
<li>Functions: <code>sin cos tan</code> (radians), <code>atn</code> (arc
tangent), <code>exp</code>, <code>log</code> (the natural logarithm),
<code>sqr</code> (the square root), with their argument in brackets or, when
it is x, right after the name: <code>sinx</code> is sin(x),
<code>sinx^2</code> is (sin(x))^2. <code>log(x)/log(10)</code> is the common
logarithm.</li>
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
<ol>
<li><b>Root found</b>: |f(X)| is within the tolerance; a green circle marks the
root.</li>
<li><b>Loop limit</b>: "Loops =" passes were made without that; a message
says so.</li>
<li><b>No tangent</b>: the slope f'(X) is zero, so the tangent never meets the
x axis, or f cannot be worked out at X; the calculation ends there.</li>
</ol>

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
<tr><td><b>Right click on the table</b></td><td>menu: copy</td></tr>
<tr><td><b>Menu key on the graph</b></td><td>menu: copy picture, save picture
as PNG, frame the run (a right click on the graph calculates)</td></tr>
<tr><td><b>F3</b></td><td>the convergence window: log10 |f(Xi)| and log10
|X(i+1)-X(i)| against i, and per pass the step, the ratio of the next step to
it and the estimated order, about 2 near a simple root and 1 near a double
root such as that of x^2</td></tr>
<tr><td><b>F1</b></td><td>this help</td></tr>
</table>
<p>The window menus of the table and the graph (the icon at the left of their
title bars) offer the same.</p>
)");
    return html.arg(version.toHtmlEscaped());
}

}  // namespace quorel
