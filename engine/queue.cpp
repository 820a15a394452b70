#include "engine/queue.h"

namespace quorel {
void Queue::add(Value v) {
    if (rear_ == front_ && hasItems_) {
        succeeded = false;
        return;
    }
    rear_ = (rear_ + 1) % kRing;
    hasItems_ = true;
    ++generation_;
    items_[rear_] = std::move(v);
    succeeded = true;
}

Value Queue::fetch() {
    if (!hasItems_) {
        succeeded = false;
        return std::string();
    }
    front_ = (front_ + 1) % kRing;
    succeeded = true;
    if (front_ == rear_) hasItems_ = false;
    return items_[front_];
}

Value Queue::nowValue() {
    if (!hasItems_) {
        succeeded = false;
        return std::string();
    }
    succeeded = true;
    return items_[(front_ + 1) % kRing];
}

void Queue::test(UserDialogs& dialogs) {
    std::string text = std::to_string(front_) + "," + std::to_string(rear_) + " >> ";
    do {
        text += valueText(fetch());
        text += " , ";
    } while (succeeded);
    dialogs.message(text, kAppTitle);
}

}  // namespace quorel
