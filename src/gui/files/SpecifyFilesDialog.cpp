#include "gui/files/SpecifyFilesDialog.h"

#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include "core/app/ExtensionEntry.h"
#include "core/common/Prompter.h"
#include "core/files/NameText.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"
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
                                       Prompter& prompter, QWidget* parent)
    : QDialog(parent), setup_(setup), values_(values), prompter_(prompter)
{
    setModal(true);
    setFont(WindowFont());
    SetBackground(this, kDialogBackground);
}

QRadioButton* SpecifyFilesDialog::AddOption(const char* objectName, int left, int top, int width)
{
    auto* option = new QRadioButton(this);
    option->setObjectName(QString::fromLatin1(objectName));
    option->setGeometry(TwipsRect(left, top, width, kRowHeight));
    SetBackground(option, kDialogBackground);
    return option;
}

void SpecifyFilesDialog::AddSingleFileList(int listTop, int listHeight)
{
    optSingleFile = AddOption("optSingleFile", 120, 120, kDialogWidth - 240);
    File = new FileListBox(this);
    File->setObjectName(QStringLiteral("File"));
    File->setGeometry(TwipsRect(360, listTop, kDialogWidth - 480, listHeight));
    connect(File, &FileListBox::itemClicked, optSingleFile, [this] { optSingleFile->setChecked(true); });
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
    connect(box, &OptionTextBox::enterPressed, this, &SpecifyFilesDialog::cmdAccept_Click);
}

void SpecifyFilesDialog::AddSharedParts(int top, int width)
{
    const int boxLeft = 2400;
    const int boxWidth = width - boxLeft - kMargin;
    const int textWidth = width - 2 * kMargin;
    optExtension = AddOption("optExtension", kMargin, top, textWidth);
    lblExtension = AddHint("lblExtension", 360, top + 330, boxLeft - 360 - 60);
    txbExtension = AddTextBox("txbExtension", boxLeft, top + 315, boxWidth);
    WireTextOption(optExtension, lblExtension, txbExtension, true);

    top += 780;
    optMultipleFiles = AddOption("optMultipleFiles", kMargin, top, textWidth);
    lblFilespec = AddHint("lblFilespec", 360, top + 330, boxLeft - 360 - 60);
    txbFilespec = AddTextBox("txbFilespec", boxLeft, top + 315, boxWidth);
    WireTextOption(optMultipleFiles, lblFilespec, txbFilespec, true);

    top += 870;
    cmdAccept = new QPushButton(QStringLiteral("Accept"), this);
    cmdAccept->setObjectName(QStringLiteral("cmdAccept"));
    cmdAccept->setGeometry(TwipsRect(360, top, kButtonWidth, kButtonHeight));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(TwipsRect(width - 360 - kButtonWidth, top, kButtonWidth, kButtonHeight));
    for (QPushButton* button : {cmdAccept, cmdCancel}) {
        // Enter in a text box accepts through its own handler, never through a default button.
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(cmdAccept, &QPushButton::clicked, this, &SpecifyFilesDialog::cmdAccept_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &SpecifyFilesDialog::cmdCancel_Click);
    connect(File, &FileListBox::itemDoubleClicked, this, &SpecifyFilesDialog::cmdAccept_Click);
    setFixedSize(Twips(width), Twips(top + kButtonHeight + kMargin));
}

void SpecifyFilesDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        blnAccept = false;
        UnboldControls(this);
        PrepareForShowing();
    }
    QDialog::showEvent(event);
}

QString SpecifyFilesDialog::OperationWord() const
{
    return setup_.blnEncrypt ? QStringLiteral("Encrypt") : QStringLiteral("Decrypt");
}

void SpecifyFilesDialog::cmdAccept_Click()
{
    if (AcceptOwnOption()) return;
    if (optExtension->isChecked()) {
        AcceptExtension();
    } else if (optMultipleFiles->isChecked()) {
        AcceptText(txbFilespec);
    }
}

bool SpecifyFilesDialog::AcceptExtension()
{
    const CleanedExtension cleaned = CleanExtension(txbExtension->text());
    txbExtension->setText(cleaned.trimmed);
    if (cleaned.refused) {
        prompter_.Tell(ExtensionRefusalText(), QStringLiteral("Error"), MessageIcon::Exclamation);
        return false;
    }
    txbExtension->setText(cleaned.extension);
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
    blnAccept = accept;
    hide();
}

void SpecifyFilesDialog::cmdCancel_Click() { Finish(false); }

void SpecifyFilesDialog::reject() { Finish(false); }

}  // namespace kyv::gui
