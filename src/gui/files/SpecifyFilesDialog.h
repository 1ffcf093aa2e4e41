#pragma once
// What the input-files and output-files dialogs share: the folder's file list, the extension and
// file-specification options with their text boxes, Accept and Cancel, and the rule that every
// part of a choice selects its option.

#include <QDialog>

#include "core/common/OperationSetup.h"

class QPushButton;
class QRadioButton;

namespace kyv {
class Prompter;
}

namespace kyv::gui {

class FileListBox;
class HintLabel;
class OptionTextBox;

class SpecifyFilesDialog : public QDialog {
    Q_OBJECT
public:
    // True when the dialog was closed by Accept with a usable choice.
    bool choiceAccepted = false;

    QRadioButton* singleFileOption = nullptr;
    FileListBox* file = nullptr;
    QRadioButton* extensionOption = nullptr;
    HintLabel* extensionHint = nullptr;
    OptionTextBox* extensionBox = nullptr;
    QRadioButton* specOption = nullptr;
    HintLabel* specHint = nullptr;
    OptionTextBox* specBox = nullptr;
    QPushButton* acceptButton = nullptr;
    QPushButton* cancelButton = nullptr;

    void Accept();
    void Cancel();
    void reject() override;

protected:
    // A modal dialog of that object name and title.
    SpecifyFilesDialog(const OperationSetup& setup, const WorkingValues& values, Prompter& prompter,
                       QWidget* parent, const QString& objectName, const QString& title);

    // Width of both dialogs in twips.
    static constexpr int kDialogWidth = 5280;
    // Twips: the left edge of the column of text boxes, and their right margin.
    static constexpr int kTextBoxLeft = 2400;
    static constexpr int kTextBoxRightMargin = 120;

    QRadioButton* AddOption(const char* objectName, int left, int top, int width);
    // The single-file option at the top and the file list under it (from `listTop`, `listHeight`
    // twips high); a click on a name selects the option.
    void AddSingleFileList(int listTop, int listHeight);
    OptionTextBox* AddTextBox(const char* objectName, int left, int top, int width);
    HintLabel* AddHint(const char* objectName, int left, int top, int width);
    // Wires a text option: clicking or typing in the box (or clicking its hint) selects the
    // option, Enter in the box accepts; a click on the option moves the focus to the box when
    // `optionFocusesBox`.
    void WireTextOption(QRadioButton* option, HintLabel* hint, OptionTextBox* box, bool optionFocusesBox);
    // Builds the parts shared by both dialogs below `top` (twips) and sizes the dialog.
    void AddSharedParts(int top, int width);

    // Each time the dialog is shown, after ResetSharedParts.
    virtual void PrepareForShowing() = 0;
    // Accept for the dialog's own options other than the single file; false when the selected
    // option is a shared one.
    virtual bool AcceptOwnOption() = 0;
    // Words every option for the current operation.
    virtual void SetOperationWords() = 0;

    // Words the shared options: the operation word, then `files` (" all files", " to files"), then
    // what the option asks for; the hints show names of plaintext files when `plaintextExamples`.
    void SetSharedOperationWords(const QString& files, bool plaintextExamples);
    // Empties the shared text boxes, words the options and lets the single file be chosen when the
    // folder has files; returns whether it has.
    bool ResetSharedParts();

    void showEvent(QShowEvent* event) override;

    // "Encrypt" or "Decrypt", the word the option captions begin with.
    QString OperationWord() const;
    // Accept with the extension option: cleans the text; false when the text is refused (the
    // message has been shown and the dialog stays open).
    bool AcceptExtension();
    // Trims a text box's text, writes it back and accepts when it is not empty.
    void AcceptText(OptionTextBox* box);
    void Finish(bool accept);

    const OperationSetup& setup_;
    const WorkingValues& values_;
    Prompter& prompter_;
};

}  // namespace kyv::gui
