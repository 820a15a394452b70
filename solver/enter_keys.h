// Enter and keypad Enter on the input panel: in a box they start a
// calculation, on a focused button they press it, as Space does.
#pragma once

#include <initializer_list>

class QLineEdit;
class QPushButton;

namespace quorel {

void connectEnterKeys(QPushButton& calculate, std::initializer_list<QLineEdit*> boxes,
                      std::initializer_list<QPushButton*> buttons);

}  // namespace quorel
