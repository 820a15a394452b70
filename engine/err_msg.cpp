#include "engine/err_msg.h"

#include "common/failure.h"

namespace quorel {

void Err_Msg(int errNumber, UserDialogs& dialogs, const std::string& newLine) {
    if (errNumber != kErrOverflow) return;
    dialogs.message(std::string(failureDescription(errNumber)) + newLine + kErrMsgTail,
                    kErrMsgTitle);
}

}  // namespace quorel
