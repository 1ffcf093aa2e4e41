#include "gui/keys/HiddenKeyDialog.h"

#include <QLabel>
#include <QPushButton>

#include "core/keys/KeyNormalization.h"
#include "gui/common/KeyboardCommands.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"
#include "gui/common/WindowFrame.h"
#include "gui/keys/FocusOnHover.h"
#include "gui/keys/KeyDialogPlacement.h"
#include "gui/keys/KeyEntryField.h"
#include "gui/keys/KeyStrengthIndicator.h"

namespace kyv::gui {

namespace {

constexpr int kDialogHeight = 2775;  // twips, with a row for the key's strength
constexpr int kButtonWidth = 855;
constexpr int kRowHeight = 375;

}  // namespace

HiddenKeyDialog::HiddenKeyDialog(KeyState& state, Prompter& messages, KeyInspector& keyInspector,
                                 QWidget* parent)
    : TypedKeyDialog(parent, DialogFlags()),
      keyState_(state),
      prompter_(messages),
      inspector_(keyInspector),
      enterKeyLabel_(new QLabel(this)),
      keyFields_{new KeyEntryField(this), new KeyEntryField(this)},
      reEnterKeyLabel_(new QLabel(QStringLiteral("When done, re-enter the key exactly as above:"), this)),
      checksumLabel_(new QLabel(this)),
      strength_(new KeyStrengthIndicator(this)),
      okButton_(new QPushButton(QStringLiteral("OK"), this)),
      cancelButton_(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmKeyboardWithoutDisplay"));
    setWindowTitle(QStringLiteral("Type key (without display)"));
    setFont(WindowFont());
    enterKeyLabel_->setObjectName(QStringLiteral("lblEntertheKey"));
    reEnterKeyLabel_->setObjectName(QStringLiteral("lblReEnterTheKey"));
    checksumLabel_->setObjectName(QStringLiteral("lblChecksumIs"));
    okButton_->setObjectName(QStringLiteral("cmdOK"));
    cancelButton_->setObjectName(QStringLiteral("cmdCancel"));
    for (QLabel* label : {enterKeyLabel_, reEnterKeyLabel_, checksumLabel_})
        label->setTextFormat(Qt::PlainText);
    for (int index = 0; index < 2; ++index) {
        KeyEntryField* field = keyFields_[static_cast<std::size_t>(index)];
        field->setObjectName(QStringLiteral("txbKey_%1").arg(index));
        field->SetMasked(true);
        GiveFocusOnHover(field);
        connect(field, &KeyEntryField::Changed, this, [this, index] { KeyFieldChanged(index); });
    }
    for (QPushButton* button : {okButton_, cancelButton_}) {
        button->setAutoDefault(false);
        GiveFocusOnHover(button);
    }
    connect(okButton_, &QPushButton::clicked, this, &HiddenKeyDialog::Ok);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    PressButtonsOnEnter(this);
    keyFields_[0]->setAccessibleName(QStringLiteral("Key"));
    keyFields_[1]->setAccessibleName(QStringLiteral("Key again"));
    keyFields_[1]->setAccessibleDescription(reEnterKeyLabel_->text());
}

void HiddenKeyDialog::LayOut(int width)
{
    setFixedSize(width, Twips(kDialogHeight));
    const int margin = Twips(300);
    const int row = Twips(kRowHeight);
    const int fieldHeight = keyFields_[0]->sizeHint().height();
    enterKeyLabel_->setGeometry(margin, Twips(120), width - 2 * margin, row);
    keyFields_[0]->setGeometry(margin, Twips(120) + row, width - 2 * margin, fieldHeight);
    reEnterKeyLabel_->setGeometry(margin, Twips(240) + row + fieldHeight, width - 2 * margin, row);
    keyFields_[1]->setGeometry(margin, Twips(240) + 2 * row + fieldHeight, width - 2 * margin, fieldHeight);
    strength_->setGeometry(margin, keyFields_[1]->geometry().bottom() + Twips(90), width - 2 * margin, row);
    const int bottom = Twips(kDialogHeight) - row - Twips(180);
    checksumLabel_->setGeometry(margin, bottom, Twips(2400), row);
    const int cancelWidth = std::max(Twips(kButtonWidth), cancelButton_->sizeHint().width());
    // OK at (width - Cancel's width - 1050 twips) and Cancel 100 twips after it, ending where the
    // fields end, 300 twips short of the right edge: OK takes the room between.
    const int okLeft = width - cancelWidth - Twips(1050);
    const int cancelLeft = width - margin - cancelWidth;
    cancelButton_->setGeometry(cancelLeft, bottom, cancelWidth, row);
    okButton_->setGeometry(okLeft, bottom, cancelLeft - Twips(100) - okLeft, row);
}

void HiddenKeyDialog::Prepare(const QWidget* mainWindow, bool encrypting)
{
    if (!laidOut_) {
        LayOut(TypingDialogWidth(mainWindow));
        for (KeyEntryField* field : keyFields_) field->SetMaxLength(keyState_.maxKeyLength);
        laidOut_ = true;
    }
    UnboldControls(this);
    enterKeyLabel_->setText(KeyPromptWithoutDisplay(encrypting));
    keyFields_[0]->setAccessibleDescription(enterKeyLabel_->text());
    PlaceAlongMainWindowBottom(this, mainWindow);
    for (KeyEntryField* field : keyFields_) field->Clear();
    QFont font = reEnterKeyLabel_->font();
    font.setBold(false);
    reEnterKeyLabel_->setFont(font);
    keyFields_[1]->setEnabled(false);
    checksumLabel_->hide();
    strength_->Clear();
    okButton_->setEnabled(false);
    ResetAnswer();
    keyFields_[0]->setFocus(Qt::OtherFocusReason);
}

void HiddenKeyDialog::KeyFieldChanged(int index)
{
    const bool first = KeyLengthSufficient(keyState_, keyFields_[0]->Bytes().View());
    QFont font = reEnterKeyLabel_->font();
    font.setBold(first);
    reEnterKeyLabel_->setFont(font);
    keyFields_[1]->setEnabled(first);
    checksumLabel_->setVisible(first);
    okButton_->setEnabled(first && KeyLengthSufficient(keyState_, keyFields_[1]->Bytes().View()));
    if (index == 0 && first) checksumLabel_->setText(RunningChecksumLine(keyFields_[0]->Bytes().View()));
    if (index == 0) strength_->ShowTyped(keyFields_[0]->Bytes().View());
}

void HiddenKeyDialog::Ok()
{
    SecureBytes first = TrimmedKeyText(keyFields_[0]->Bytes().View());
    const SecureBytes second = TrimmedKeyText(keyFields_[1]->Bytes().View());
    if (!KeyEntriesMatch(first.View(), second.View())) {
        prompter_.Tell(QStringLiteral("The key entries do not match!"), QStringLiteral("Error"),
                       MessageIcon::Exclamation);
        keyFields_[0]->Clear();
        keyFields_[1]->Clear();
        KeyFieldChanged(0);
        keyFields_[0]->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The dialog hides before the question, so it is not behind the inspection window.
    accept();
    const TypedKeyAnswer answer = OfferTypedKeyInspection(keyState_, prompter_, inspector_, first.View());
    SetAnswer(answer, std::move(first));
}

void HiddenKeyDialog::hideEvent(QHideEvent* event)
{
    for (KeyEntryField* field : keyFields_) field->Clear();
    checksumLabel_->clear();
    strength_->Clear();
    QDialog::hideEvent(event);
}

}  // namespace kyv::gui
