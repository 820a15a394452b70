// What the program says about itself: the help page. Its list of functions
// comes from the operator table, as do the input panel's tooltip and the
// refusal hints.
#pragma once

#include <QString>

#include "engine/operators.h"

namespace quorel {

// The help page (HTML), with the program's version and the functions of
// `operators`.
QString helpHtml(const QString& version, OperatorTable operators = kOperators);

}  // namespace quorel
