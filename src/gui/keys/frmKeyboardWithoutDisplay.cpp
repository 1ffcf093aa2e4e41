#include "gui/keys/frmKeyboardWithoutDisplay.h"

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

frmKeyboardWithoutDisplay::frmKeyboardWithoutDisplay(KeyState& keyState, Prompter& prompter,
                                                     KeyInspector& inspector, QWidget* parent)
    : QDialog(parent),
      keyState(keyState),
      prompter(prompter),
      inspector(inspector),
      lblEntertheKey(new QLabel(this)),
      txbKey{new KeyEntryField(this), new KeyEntryField(this)},
      lblReEnterTheKey(new QLabel(QStringLiteral("When done, re-enter the key exactly as above:"), this)),
      lblChecksumIs(new QLabel(this)),
      cmdOK(new QPushButton(QStringLiteral("OK"), this)),
      cmdCancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmKeyboardWithoutDisplay"));
    setWindowTitle(QStringLiteral("Type key (without display)"));
    setFont(WindowFont());
    lblEntertheKey->setObjectName(QStringLiteral("lblEntertheKey"));
    lblReEnterTheKey->setObjectName(QStringLiteral("lblReEnterTheKey"));
    lblChecksumIs->setObjectName(QStringLiteral("lblChecksumIs"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    for (QLabel* label : {lblEntertheKey, lblReEnterTheKey, lblChecksumIs})
        label->setTextFormat(Qt::PlainText);
    for (int index = 0; index < 2; ++index) {
        KeyEntryField* field = txbKey[static_cast<std::size_t>(index)];
        field->setObjectName(QStringLiteral("txbKey_%1").arg(index));
        field->SetMasked(true);
        GiveFocusOnHover(field);
        connect(field, &KeyEntryField::Changed, this, [this, index] { txbKey_Change(index); });
    }
    for (QPushButton* button : {cmdOK, cmdCancel}) {
        button->setAutoDefault(false);
        GiveFocusOnHover(button);
    }
    connect(cmdOK, &QPushButton::clicked, this, &frmKeyboardWithoutDisplay::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmKeyboardWithoutDisplay::LayOut(int width)
{
    setFixedSize(width, Twips(kDialogHeight));
    const int margin = Twips(300);
    const int row = Twips(kRowHeight);
    const int fieldHeight = txbKey[0]->sizeHint().height();
    lblEntertheKey->setGeometry(margin, Twips(120), width - 2 * margin, row);
    txbKey[0]->setGeometry(margin, Twips(120) + row, width - 2 * margin, fieldHeight);
    lblReEnterTheKey->setGeometry(margin, Twips(240) + row + fieldHeight, width - 2 * margin, row);
    txbKey[1]->setGeometry(margin, Twips(240) + 2 * row + fieldHeight, width - 2 * margin, fieldHeight);
    const int bottom = Twips(kDialogHeight) - row - Twips(180);
    lblChecksumIs->setGeometry(margin, bottom, Twips(2400), row);
    const int cancelWidth = std::max(Twips(kButtonWidth), cmdCancel->sizeHint().width());
    const int okWidth = std::max(Twips(kButtonWidth), cmdOK->sizeHint().width());
    // OK at (width - Cancel's width - 1050 twips) and Cancel 100 twips after it, kept inside the dialog.
    const int cancelLeft =
        std::min(width - cancelWidth - Twips(1050) + okWidth + Twips(100), width - cancelWidth - Twips(90));
    cmdCancel->setGeometry(cancelLeft, bottom, cancelWidth, row);
    cmdOK->setGeometry(cancelLeft - Twips(100) - okWidth, bottom, okWidth, row);
}

void frmKeyboardWithoutDisplay::Prepare(const QWidget* mainWindow, bool encrypting)
{
    if (!laidOut) {
        LayOut(mainWindow != nullptr ? mainWindow->frameGeometry().width() : kTypingDialogDefaultWidth);
        for (KeyEntryField* field : txbKey) field->SetMaxLength(keyState.intMaxKeyLength);
        laidOut = true;
    }
    UnboldControls(this);
    lblEntertheKey->setText(KeyPromptWithoutDisplay(encrypting));
    PlaceAlongMainWindowBottom(this, mainWindow);
    for (KeyEntryField* field : txbKey) field->Clear();
    QFont font = lblReEnterTheKey->font();
    font.setBold(false);
    lblReEnterTheKey->setFont(font);
    txbKey[1]->setEnabled(false);
    lblChecksumIs->hide();
    cmdOK->setEnabled(false);
    acceptedText.Clear();
    blnYes = false;
    blnNo = false;
    txbKey[0]->setFocus(Qt::OtherFocusReason);
}

TypedKeyResult frmKeyboardWithoutDisplay::Run(const QWidget* mainWindow, bool encrypting)
{
    Prepare(mainWindow, encrypting);
    exec();
    return TakeResult();
}

TypedKeyResult frmKeyboardWithoutDisplay::TakeResult()
{
    return TakeTypedKeyResult(blnYes, blnNo, acceptedText);
}

void frmKeyboardWithoutDisplay::txbKey_Change(int index)
{
    const bool first = KeyLengthSufficient(keyState, txbKey[0]->Bytes().View());
    QFont font = lblReEnterTheKey->font();
    font.setBold(first);
    lblReEnterTheKey->setFont(font);
    txbKey[1]->setEnabled(first);
    lblChecksumIs->setVisible(first);
    cmdOK->setEnabled(first && KeyLengthSufficient(keyState, txbKey[1]->Bytes().View()));
    if (index == 0 && first) lblChecksumIs->setText(RunningChecksumLine(txbKey[0]->Bytes().View()));
}

void frmKeyboardWithoutDisplay::cmdOK_Click()
{
    SecureBytes first = TrimmedKeyText(txbKey[0]->Bytes().View());
    const SecureBytes second = TrimmedKeyText(txbKey[1]->Bytes().View());
    if (!KeyEntriesMatch(first.View(), second.View())) {
        prompter.Tell(QStringLiteral("The key entries do not match!"), QStringLiteral("Error"),
                      MessageIcon::Exclamation);
        txbKey[0]->Clear();
        txbKey[1]->Clear();
        txbKey_Change(0);
        txbKey[0]->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The dialog hides before the question, so it is not behind the inspection window.
    accept();
    const TypedKeyAnswer answer = OfferTypedKeyInspection(keyState, prompter, inspector, first.View());
    blnYes = answer == TypedKeyAnswer::Yes;
    blnNo = answer == TypedKeyAnswer::No;
    acceptedText = std::move(first);
}

void frmKeyboardWithoutDisplay::hideEvent(QHideEvent* event)
{
    for (KeyEntryField* field : txbKey) field->Clear();
    lblChecksumIs->clear();
    QDialog::hideEvent(event);
}

}  // namespace kyv::gui
