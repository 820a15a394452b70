// A one-line text box of fixed size that, while it is not being edited, shows
// its whole text from its first character (a minus sign is never scrolled
// out of view), in a smaller font where the text would not fit. While it has
// the keyboard focus it edits in its design font. It takes any text whole.
#pragma once

#include <QFont>
#include <QLineEdit>

namespace quorel {

class FittingLineEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit FittingLineEdit(QWidget* parent = nullptr);

    // The font used while editing, and the size the fitted font starts from.
    void setDesignFont(const QFont& font);
    // The width the text may use (inside the frame and the inner margins).
    qreal textWidth() const;

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    void showWhole();
    bool editing() const;
    bool typing_ = false;

    QFont designFont_;
};

}  // namespace quorel
