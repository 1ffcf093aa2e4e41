#pragma once

#include "core/common/Prompter.h"

class QWidget;

namespace kyv::gui {

// Asks with a modal QMessageBox over the given parent window; none given, over the program's main
// window (DialogParent).
class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    MessageAnswer Ask(const Message& message) override;

private:
    QWidget* const parent_;
};

}  // namespace kyv::gui
