// A function is one row of the operator table: a copy of the table with rows
// more is read, evaluated, listed in the help and named in the hints.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/help_text.h"
#include "engine/engine.h"
#include "solver/failure_messages.h"

namespace quorel {
namespace {

TEST(OperatorTable, ANewFunctionIsOneRow) {
    std::vector<OperatorRow> table(std::begin(kOperators), std::end(kOperators));
    table.push_back({"cubed", 6, Operation::Function, [](double a, double) { return a * a * a; },
                     operation::overflow, "the cube"});
    // Longer than the "sin" it begins with: the longest name is read first.
    table.push_back({"sinh", 6, Operation::Function, [](double a, double) { return std::sinh(a); },
                     operation::overflow, "hyperbolic sine"});

    Engine e(table);
    const Translation t = e.Fx_Postfix("CUBED(x)-2cubedx+sinhx");
    EXPECT_EQ(t.problem.kind, FxProblemKind::None);
    const std::vector<std::string> tokens = {"X", "cubed", "2", "X",    "cubed",
                                             "*", "-",     "X", "sinh", "+"};
    EXPECT_EQ(t.tokens, tokens);
    EXPECT_EQ(e.Fx_Eval(3.0), 27.0 - 2.0 * 27.0 + std::sinh(3.0));
    EXPECT_EQ(e.Fx_Postfix("cubed+x").problem.kind, FxProblemKind::FunctionArgument);

    // The program's own table does not know it.
    Engine plain;
    EXPECT_EQ(plain.Fx_Postfix("cubed(x)").problem.kind, FxProblemKind::UnknownPiece);
    EXPECT_FALSE(helpHtml("1").contains("cubed"));

    EXPECT_TRUE(helpHtml("1", table).contains("<code>cubed</code> (the cube)"));
    EXPECT_TRUE(helpHtml("1", table).contains("<code>sqr</code> (square root)"));
    const std::string hint = malformedMessage("x-foo", e.Fx_Postfix("x-foo").problem, table);
    EXPECT_NE(hint.find("functions sin, cos, tan, atn, exp, log, sqr, cubed and sinh."),
              std::string::npos)
        << hint;
}

}  // namespace
}  // namespace quorel
