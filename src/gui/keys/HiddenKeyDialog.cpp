#include "gui/keys/HiddenKeyDialog.h"

#include <QLabel>
#include <QPushButton>

#include "core/keys/KeyNormalization.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"
#include "gui/keys/FocusOnHover.h"
#include "gui/keys/KeyDialogPlacement.h"
#include "gui/keys/KeyEntryField.h"

namespace kyv::gui {

namespace {

constexpr int kDialogHeight = 2400;  // twips
constexpr int kButtonWidth = 855;
constexpr int kRowHeight = 375;

}  // namespace

HiddenKeyDialog::HiddenKeyDialog(KeyState& state, Prompter& messages,
                                                     KeyInspector& keyInspector, QWidget* parent)
    : QDialog(parent),
      keyState(state),
      prompter(messages),
      inspector(keyInspector),
      enterKeyLabel(new QLabel(this)),
      keyFields{new KeyEntryField(this), new KeyEntryField(this)},
      reEnterKeyLabel(new QLabel(QStringLiteral("When done, re-enter the key exactly as above:"), this)),
      checksumLabel(new QLabel(this)),
      okButton(new QPushButton(QStringLiteral("OK"), this)),
      cancelButton(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmKeyboardWithoutDisplay"));
    setWindowTitle(QStringLiteral("Type key (without display)"));
    setFont(WindowFont());
    enterKeyLabel->setObjectName(QStringLiteral("lblEntertheKey"));
    reEnterKeyLabel->setObjectName(QStringLiteral("lblReEnterTheKey"));
    checksumLabel->setObjectName(QStringLiteral("lblChecksumIs"));
    okButton->setObjectName(QStringLiteral("cmdOK"));
    cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    for (QLabel* label : {enterKeyLabel, reEnterKeyLabel, checksumLabel})
        label->setTextFormat(Qt::PlainText);
    for (int index = 0; index < 2; ++index) {
        KeyEntryField* field = keyFields[static_cast<std::size_t>(index)];
        field->setObjectName(QStringLiteral("txbKey_%1").arg(index));
        field->SetMasked(true);
        GiveFocusOnHover(field);
        connect(field, &KeyEntryField::Changed, this, [this, index] { KeyFieldChanged(index); });
    }
    for (QPushButton* button : {okButton, cancelButton}) {
        button->setAutoDefault(false);
        GiveFocusOnHover(button);
    }
    connect(okButton, &QPushButton::clicked, this, &HiddenKeyDialog::Ok);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void HiddenKeyDialog::LayOut(int width)
{
    setFixedSize(width, Twips(kDialogHeight));
    const int margin = Twips(300);
    const int row = Twips(kRowHeight);
    const int fieldHeight = keyFields[0]->sizeHint().height();
    enterKeyLabel->setGeometry(margin, Twips(120), width - 2 * margin, row);
    keyFields[0]->setGeometry(margin, Twips(120) + row, width - 2 * margin, fieldHeight);
    reEnterKeyLabel->setGeometry(margin, Twips(240) + row + fieldHeight, width - 2 * margin, row);
    keyFields[1]->setGeometry(margin, Twips(240) + 2 * row + fieldHeight, width - 2 * margin, fieldHeight);
    const int bottom = Twips(kDialogHeight) - row - Twips(180);
    checksumLabel->setGeometry(margin, bottom, Twips(2400), row);
    const int cancelWidth = std::max(Twips(kButtonWidth), cancelButton->sizeHint().width());
    const int okWidth = std::max(Twips(kButtonWidth), okButton->sizeHint().width());
    // OK at (width - Cancel's width - 1050 twips) and Cancel 100 twips after it, kept inside the dialog.
    const int cancelLeft =
        std::min(width - cancelWidth - Twips(1050) + okWidth + Twips(100), width - cancelWidth - Twips(90));
    cancelButton->setGeometry(cancelLeft, bottom, cancelWidth, row);
    okButton->setGeometry(cancelLeft - Twips(100) - okWidth, bottom, okWidth, row);
}

void HiddenKeyDialog::Prepare(const QWidget* mainWindow, bool encrypting)
{
    if (!laidOut) {
        LayOut(mainWindow != nullptr ? mainWindow->frameGeometry().width() : kTypingDialogDefaultWidth);
        for (KeyEntryField* field : keyFields) field->SetMaxLength(keyState.maxKeyLength);
        laidOut = true;
    }
    UnboldControls(this);
    enterKeyLabel->setText(KeyPromptWithoutDisplay(encrypting));
    PlaceAlongMainWindowBottom(this, mainWindow);
    for (KeyEntryField* field : keyFields) field->Clear();
    QFont font = reEnterKeyLabel->font();
    font.setBold(false);
    reEnterKeyLabel->setFont(font);
    keyFields[1]->setEnabled(false);
    checksumLabel->hide();
    okButton->setEnabled(false);
    acceptedText.Clear();
    answeredYes = false;
    answeredNo = false;
    keyFields[0]->setFocus(Qt::OtherFocusReason);
}

TypedKeyResult HiddenKeyDialog::Run(const QWidget* mainWindow, bool encrypting)
{
    Prepare(mainWindow, encrypting);
    exec();
    return TakeResult();
}

TypedKeyResult HiddenKeyDialog::TakeResult()
{
    return TakeTypedKeyResult(answeredYes, answeredNo, acceptedText);
}

void HiddenKeyDialog::KeyFieldChanged(int index)
{
    const bool first = KeyLengthSufficient(keyState, keyFields[0]->Bytes().View());
    QFont font = reEnterKeyLabel->font();
    font.setBold(first);
    reEnterKeyLabel->setFont(font);
    keyFields[1]->setEnabled(first);
    checksumLabel->setVisible(first);
    okButton->setEnabled(first && KeyLengthSufficient(keyState, keyFields[1]->Bytes().View()));
    if (index == 0 && first) checksumLabel->setText(RunningChecksumLine(keyFields[0]->Bytes().View()));
}

void HiddenKeyDialog::Ok()
{
    SecureBytes first = TrimmedKeyText(keyFields[0]->Bytes().View());
    const SecureBytes second = TrimmedKeyText(keyFields[1]->Bytes().View());
    if (!KeyEntriesMatch(first.View(), second.View())) {
        prompter.Tell(QStringLiteral("The key entries do not match!"), QStringLiteral("Error"),
                      MessageIcon::Exclamation);
        keyFields[0]->Clear();
        keyFields[1]->Clear();
        KeyFieldChanged(0);
        keyFields[0]->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The dialog hides before the question, so it is not behind the inspection window.
    accept();
    const TypedKeyAnswer answer = OfferTypedKeyInspection(keyState, prompter, inspector, first.View());
    answeredYes = answer == TypedKeyAnswer::Yes;
    answeredNo = answer == TypedKeyAnswer::No;
    acceptedText = std::move(first);
}

void HiddenKeyDialog::hideEvent(QHideEvent* event)
{
    for (KeyEntryField* field : keyFields) field->Clear();
    checksumLabel->clear();
    QDialog::hideEvent(event);
}

}  // namespace kyv::gui
