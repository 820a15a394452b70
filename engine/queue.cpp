#include "engine/queue.h"

#include "common/failure.h"
#include "common/numtext.h"
#include "engine/operators.h"

namespace quorel {
namespace {

CompiledToken compile(const Value& v) {
    std::string t = valueText(v);
    for (char& c : t) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (t.empty()) return {SlotKind::End, -1, 0.0};
    if (t == "x") return {SlotKind::X, -1, 0.0};
    const int row = operatorRow(t);
    if (row >= 0) return {SlotKind::Operator, static_cast<std::int8_t>(row), 0.0};
    try {
        return {SlotKind::Number, -1, textToNumber(t)};
    } catch (const Failure&) {
        return {SlotKind::BadNumber, -1, 0.0};
    }
}

}  // namespace

void Queue::add(Value v) {
    if (rear_ == front_ && hasItems_) {
        succeeded = false;
        return;
    }
    rear_ = (rear_ + 1) % kRing;
    hasItems_ = true;
    ++generation_;
    compiled_[rear_] = compile(v);
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
