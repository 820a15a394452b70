#include "engine/stack.h"

namespace quorel {

Stack::Stack() {
    items_.resize(static_cast<std::size_t>(capacity_) + 1);
}

void Stack::push(Value v) {
    if (top_ >= kMaxItems) {
        succeeded = false;
        return;
    }
    if (top_ >= capacity_) {
        capacity_ = static_cast<std::int16_t>(capacity_ + 10);
        items_.resize(static_cast<std::size_t>(capacity_) + 1);
    }
    ++top_;
    items_[top_] = std::move(v);
    succeeded = true;
}

Value Stack::pop() {
    if (top_ == 0) {
        succeeded = false;
        return std::string();
    }
    succeeded = true;
    return items_[top_--];
}

Value Stack::nowValue() {
    if (top_ == 0) {
        succeeded = false;
        return std::string();
    }
    succeeded = true;
    return items_[top_];
}

std::string Stack::testText() const {
    std::string text;
    for (int i = 0; i <= top_; ++i) {
        text += valueText(items_[i]);
        text += ',';
    }
    return text;
}

void Stack::test(UserDialogs& dialogs) const {
    dialogs.message(testText(), kAppTitle);
}

}  // namespace quorel
