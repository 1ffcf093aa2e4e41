#include "gui/files/SpecifyFilesDialog.h"

#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include "core/app/ExtensionEntry.h"
#include "core/common/Prompter.h"
#include "core/files/NameText.h"
#include "gui/common/KeyboardCommands.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"
#include "gui/common/WindowFrame.h"
#include "gui/files/FileListBox.h"
#include "gui/files/OptionTextBox.h"

namespace kyv::gui {

namespace {
constexpr int kRowHeight = 285;
constexpr int kTextBoxHeight = 315;
constexpr int kButtonWidth = 1500;
constexpr int kButtonHeight = 375;
constexpr int kMargin = 120;
}  // namespace

SpecifyFilesDialog::SpecifyFilesDialog(const OperationSetup& setup, const WorkingValues& values,
                                       Prompter& prompter, QWidget* parent, const QString& objectName,
                                       const QString& title)
    : QDialog(parent, DialogFlags()), setup_(setup), values_(values), prompter_(prompter)
{
    setObjectName(objectName);
    setWindowTitle(title);
    setModal(true);
    setFont(WindowFont());
    SetBackground(this, kDialogBackground);
}

QRadioButton* SpecifyFilesDialog::AddOption(const char* objectName, int left, int top, int width)
{
    auto* option = new QRadioButton(this);
    option->setObjectName(QString::fromLatin1(objectName));
    option->setGeometry(TwipsRect(left, top, width, kRowHeight));
    // No background of its own: a disabled option would paint its row in the disabled grey.
    return option;
}

void SpecifyFilesDialog::AddSingleFileList(int listTop, int listHeight)
{
    singleFileOption = AddOption("optSingleFile", 120, 120, kDialogWidth - 240);
    file = new FileListBox(this);
    file->setObjectName(QStringLiteral("File"));
    file->setGeometry(TwipsRect(360, listTop, kDialogWidth - 480, listHeight));
    connect(file, &FileListBox::itemClicked, singleFileOption,
            [this] { singleFileOption->setChecked(true); });
}

OptionTextBox* SpecifyFilesDialog::AddTextBox(const char* objectName, int left, int top, int width)
{
    auto* box = new OptionTextBox(this);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setGeometry(TwipsRect(left, top, width, kTextBoxHeight));
    return box;
}

HintLabel* SpecifyFilesDialog::AddHint(const char* objectName, int left, int top, int width)
{
    auto* hint = new HintLabel(this);
    hint->setObjectName(QString::fromLatin1(objectName));
    hint->setGeometry(TwipsRect(left, top, width, kRowHeight));
    return hint;
}

void SpecifyFilesDialog::WireTextOption(QRadioButton* option, HintLabel* hint, OptionTextBox* box,
                                        bool optionFocusesBox)
{
    const auto select = [option] { option->setChecked(true); };
    if (optionFocusesBox)
        connect(option, &QRadioButton::clicked, box, [box] { box->setFocus(Qt::OtherFocusReason); });
    if (hint) connect(hint, &HintLabel::clicked, option, select);
    connect(box, &OptionTextBox::clicked, option, select);
    connect(box, &OptionTextBox::keyTyped, option, select);
    connect(box, &OptionTextBox::enterPressed, this, &SpecifyFilesDialog::Accept);
}

void SpecifyFilesDialog::AddSharedParts(int top, int width)
{
    const int boxLeft = kTextBoxLeft;
    const int boxWidth = width - boxLeft - kTextBoxRightMargin;
    const int textWidth = width - 2 * kMargin;
    extensionOption = AddOption("optExtension", kMargin, top, textWidth);
    extensionHint = AddHint("lblExtension", 360, top + 330, boxLeft - 360 - 60);
    extensionBox = AddTextBox("txbExtension", boxLeft, top + 315, boxWidth);
    WireTextOption(extensionOption, extensionHint, extensionBox, true);

    top += 780;
    specOption = AddOption("optMultipleFiles", kMargin, top, textWidth);
    specHint = AddHint("lblFilespec", 360, top + 330, boxLeft - 360 - 60);
    specBox = AddTextBox("txbFilespec", boxLeft, top + 315, boxWidth);
    WireTextOption(specOption, specHint, specBox, true);

    top += 870;
    acceptButton = new QPushButton(QStringLiteral("Accept"), this);
    acceptButton->setObjectName(QStringLiteral("cmdAccept"));
    acceptButton->setGeometry(TwipsRect(360, top, kButtonWidth, kButtonHeight));
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    cancelButton->setGeometry(TwipsRect(width - 360 - kButtonWidth, top, kButtonWidth, kButtonHeight));
    for (QPushButton* button : {acceptButton, cancelButton}) {
        // Enter in a text box accepts through its own handler, never through a default button.
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(acceptButton, &QPushButton::clicked, this, &SpecifyFilesDialog::Accept);
    connect(cancelButton, &QPushButton::clicked, this, &SpecifyFilesDialog::Cancel);
    connect(file, &FileListBox::itemDoubleClicked, this, &SpecifyFilesDialog::Accept);
    extensionBox->setAccessibleName(QStringLiteral("Extension"));
    specBox->setAccessibleName(QStringLiteral("File specification"));
    file->setAccessibleName(QStringLiteral("Files of the folder"));
    PressButtonsOnEnter(this);
    setFixedSize(Twips(width), Twips(top + kButtonHeight + kMargin));
}

void SpecifyFilesDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        choiceAccepted = false;
        UnboldControls(this);
        PrepareForShowing();
    }
    QDialog::showEvent(event);
}

QString SpecifyFilesDialog::OperationWord() const
{
    return setup_.Encrypts() ? QStringLiteral("Encrypt") : QStringLiteral("Decrypt");
}

void SpecifyFilesDialog::SetSharedOperationWords(const QString& files, bool plaintextExamples)
{
    const QString word = OperationWord();
    extensionOption->setText(word + files + QStringLiteral(" with a particular extension"));
    specOption->setText(word + files + QStringLiteral(" satisfying a file specification"));
    extensionHint->setText(plaintextExamples ? QStringLiteral("e.g., txt or doc:")
                                             : QStringLiteral("e.g., enc:"));
    specHint->setText(plaintextExamples ? QStringLiteral("e.g., a*.d*:") : QStringLiteral("e.g., a*.e*:"));
}

bool SpecifyFilesDialog::ResetSharedParts()
{
    extensionBox->clear();
    specBox->clear();
    SetOperationWords();
    const bool hasFiles = values_.fileListCount != 0;
    singleFileOption->setEnabled(hasFiles);
    file->setEnabled(hasFiles);
    return hasFiles;
}

void SpecifyFilesDialog::Accept()
{
    if (singleFileOption->isChecked()) {
        Finish(!file->SelectedName().isEmpty());
        return;
    }
    if (AcceptOwnOption()) return;
    if (extensionOption->isChecked()) {
        AcceptExtension();
    } else if (specOption->isChecked()) {
        AcceptText(specBox);
    }
}

bool SpecifyFilesDialog::AcceptExtension()
{
    const CleanedExtension cleaned = CleanExtension(extensionBox->text());
    extensionBox->setText(cleaned.trimmed);
    if (cleaned.refused) {
        prompter_.Tell(ExtensionRefusalText(), QStringLiteral("Error"), MessageIcon::Exclamation);
        return false;
    }
    extensionBox->setText(cleaned.extension);
    Finish(!cleaned.extension.isEmpty());
    return true;
}

void SpecifyFilesDialog::AcceptText(OptionTextBox* box)
{
    box->setText(TrimSpaces(box->text()));
    Finish(!box->text().isEmpty());
}

void SpecifyFilesDialog::Finish(bool accept)
{
    choiceAccepted = accept;
    hide();
}

void SpecifyFilesDialog::Cancel() { Finish(false); }

void SpecifyFilesDialog::reject() { Finish(false); }

}  // namespace kyv::gui
