// The overflow message the callers' failure traps show.
#pragma once

#include <string>

#include "common/user_dialogs.h"

namespace quorel {

inline constexpr const char* kErrMsgTitle = "Error message!";
inline constexpr const char* kErrMsgTail =
    "tangent slope near horizontal( tangent slope is <zero> )\u3002";

// For failure 6 only: one message box titled "Error message!" with the failure's
// description, newLine, then kErrMsgTail. Any other number shows nothing.
void Err_Msg(int errNumber, UserDialogs& dialogs, const std::string& newLine);

}  // namespace quorel
