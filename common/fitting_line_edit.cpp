#include "common/fitting_line_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFrame>

#include "common/text_fit.h"
#include "common/whole_text.h"

namespace quorel {
namespace {

// The line edit's own space between its contents and its text, each side.
constexpr int kInnerMargin = 2;

}  // namespace

FittingLineEdit::FittingLineEdit(QWidget* parent) : QLineEdit(parent), designFont_(font()) {
    setMaxLength(kWholeText);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!editing()) showWhole();
    });
}

void FittingLineEdit::setDesignFont(const QFont& font) {
    designFont_ = font;
    if (editing()) {
        setFont(font);
    } else {
        showWhole();
    }
}

qreal FittingLineEdit::textWidth() const {
    QStyleOptionFrame opt;
    initStyleOption(&opt);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &opt, this);
    const QMargins m = textMargins();
    // One more pixel on the right for the text cursor.
    return contents.width() - m.left() - m.right() - 2 * kInnerMargin - 1;
}

bool FittingLineEdit::editing() const {
    // Keys still reach the box while its window is not the active one (on a
    // display without a window manager): what they type is never refitted.
    return hasFocus() || typing_;
}

void FittingLineEdit::keyPressEvent(QKeyEvent* e) {
    typing_ = true;
    QLineEdit::keyPressEvent(e);
    typing_ = false;
}

void FittingLineEdit::showWhole() {
    setFont(fittedFont(designFont_, text(), textWidth(), this));
    setCursorPosition(0);
}

void FittingLineEdit::focusInEvent(QFocusEvent* e) {
    setFont(designFont_);
    QLineEdit::focusInEvent(e);
}

void FittingLineEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    showWhole();
}

void FittingLineEdit::resizeEvent(QResizeEvent* e) {
    QLineEdit::resizeEvent(e);
    if (!editing()) showWhole();
}

}  // namespace quorel
