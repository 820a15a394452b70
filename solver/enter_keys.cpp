#include "solver/enter_keys.h"

#include <QLineEdit>
#include <QPushButton>

namespace quorel {

void connectEnterKeys(QPushButton& calculate, std::initializer_list<QLineEdit*> boxes,
                      std::initializer_list<QPushButton*> buttons) {
    // A disabled Calculate (a calculation runs) ignores the click.
    for (QLineEdit* box : boxes)
        QObject::connect(box, &QLineEdit::returnPressed, &calculate, &QPushButton::click);
    // Outside a dialog only an auto-default button answers Enter.
    for (QPushButton* button : buttons) button->setAutoDefault(true);
}

}  // namespace quorel
