#pragma once

#include "core/common/Prompter.h"

class QWidget;

namespace kyv::gui {

// Asks with a modal QMessageBox over the given parent window.
class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    MessageAnswer Ask(const Message& message) override;

private:
    QWidget* parent_;
};

}  // namespace kyv::gui
