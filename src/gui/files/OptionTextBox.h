#pragma once
// A text box that belongs to an option of a dialog: clicking or typing in it selects the option,
// the mouse moving over it gives it the focus (a pointer resting there does not), and Enter accepts the
// dialog instead of reaching the text.

#include <QLabel>
#include <QLineEdit>

#include "gui/common/PointerMotion.h"

namespace kyv::gui {

class OptionTextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit OptionTextBox(QWidget* parent = nullptr);

signals:
    void clicked();
    void keyTyped();
    void enterPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    PointerMotion motion_;
};

// A hint label beside a text box; a click on it selects the text box's option.
class HintLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace kyv::gui
