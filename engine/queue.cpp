#include "engine/queue.h"

#include <string_view>

#include "common/failure.h"
#include "common/numtext.h"

namespace quorel {
namespace {

CompiledToken compile(const Value& v) {
    std::string t = valueText(v);
    for (char& c : t) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    struct Named {
        std::string_view text;
        TokenOp op;
    };
    static constexpr Named kNamed[] = {
        {"+", TokenOp::Add},     {"-", TokenOp::Sub},   {"*", TokenOp::Mul},
        {"/", TokenOp::Div},     {"^", TokenOp::Pow},   {"0+", TokenOp::UPlus},
        {"0-", TokenOp::UMinus}, {"sin", TokenOp::Sin}, {"cos", TokenOp::Cos},
        {"tan", TokenOp::Tan},   {"atn", TokenOp::Atn}, {"exp", TokenOp::Exp},
        {"sqr", TokenOp::Sqr},   {"log", TokenOp::Log}, {"x", TokenOp::X},
        {"", TokenOp::End},
    };
    for (const Named& n : kNamed) {
        if (t == n.text) return {n.op, 0.0};
    }
    try {
        return {TokenOp::Number, textToNumber(t)};
    } catch (const Failure&) {
        return {TokenOp::BadNumber, 0.0};
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
