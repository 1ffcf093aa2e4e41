#pragma once

#include <utility>

#include "core/common/Prompter.h"
#include "gui/common/DialogParent.h"

namespace kyv::gui {

// Asks with a modal QMessageBox over its owner's window (DialogParent).
class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(DialogOwner owner = {}) : owner_(std::move(owner)) {}
    MessageAnswer Ask(const Message& message) override;

private:
    const DialogOwner owner_;
};

}  // namespace kyv::gui
