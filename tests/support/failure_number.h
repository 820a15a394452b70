// The failure number a call ends with, 0 when it returns normally.
#pragma once

#include "common/failure.h"

namespace quorel::testing {

template <typename F>
int failureNumber(F&& f) {
    try {
        f();
    } catch (const Failure& e) {
        return e.number();
    }
    return 0;
}

}  // namespace quorel::testing
