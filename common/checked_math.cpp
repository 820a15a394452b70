#include "common/checked_math.h"

namespace quorel {

void throwFailure(int number) {
    throw Failure(number);
}

}  // namespace quorel
