#pragma once
// The main window's modal dialogs and help as a test answers them. For window tests only.

#include <QDialog>
#include <functional>

#include "gui/app/WindowWiring.h"
#include "gui/help/HelpLauncher.h"

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

// Where a test's main window opens help: `record` is given each topic; no window opens.
struct ScriptedHelp final : gui::HelpWindows {
    std::function<void(HelpTopic)> record;
    void ShowAt(HelpTopic topic) override
    {
        if (record) record(topic);
    }
};

}  // namespace kyv::test
