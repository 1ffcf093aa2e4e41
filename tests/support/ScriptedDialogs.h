#pragma once
// The main window's modal dialogs answered by a test. For window tests only.

#include <QDialog>
#include <functional>

#include "gui/app/WindowWiring.h"

namespace kyv::test {

// The main window's modal dialogs as a test answers them: `answer` is given each dialog instead of
// its exec.
struct ScriptedDialogs final : gui::ModalDialogs {
    std::function<void(QDialog&)> answer;
    void Show(QDialog& dialog) override
    {
        if (answer)
            answer(dialog);
        else
            dialog.exec();
    }
};

}  // namespace kyv::test
