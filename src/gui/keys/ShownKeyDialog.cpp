#include "gui/keys/ShownKeyDialog.h"

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

constexpr int kDialogHeight = 2175;  // twips, with a row for the key's strength
constexpr int kButtonWidth = 1000;
constexpr int kRowHeight = 375;

QPushButton* Button(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    GiveFocusOnHover(button);
    return button;
}

QLabel* Label(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

ShownKeyDialog::ShownKeyDialog(const KeyState& state, QWidget* parent)
    : TypedKeyDialog(parent, DialogFlags()),
      keyState_(state),
      enterKeyLabel_(Label("lblEntertheKey", QString(), this)),
      keyFields_(new KeyEntryField(this)),
      checksumLabel_(Label("lblChecksumIs", QString(), this)),
      strength_(new KeyStrengthIndicator(this)),
      useThisKeyLabel_(Label("lblUseThisKey", QStringLiteral("Use this key?"), this)),
      yesButton_(Button("cmdYes", QStringLiteral("Yes"), this)),
      noButton_(Button("cmdNo", QStringLiteral("No"), this)),
      cancelButton_(Button("cmdCancel", QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmKeyboardWithDisplay"));
    setWindowTitle(QStringLiteral("Type key (with display)"));
    setFont(WindowFont());
    keyFields_->setObjectName(QStringLiteral("txbKey"));
    GiveFocusOnHover(keyFields_);
    useThisKeyLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(keyFields_, &KeyEntryField::Changed, this, &ShownKeyDialog::KeyFieldChanged);
    connect(yesButton_, &QPushButton::clicked, this, &ShownKeyDialog::Yes);
    connect(noButton_, &QPushButton::clicked, this, &ShownKeyDialog::No);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    PressButtonsOnEnter(this);
    keyFields_->setAccessibleName(QStringLiteral("Key"));
}

void ShownKeyDialog::LayOut(int width)
{
    setFixedSize(width, Twips(kDialogHeight));
    const int margin = Twips(300);
    const int gap = Twips(150);
    const int row = Twips(kRowHeight);
    enterKeyLabel_->setGeometry(margin, Twips(120), width - 2 * margin, row);
    keyFields_->setGeometry(margin, Twips(120) + row, width - 2 * margin, keyFields_->sizeHint().height());
    strength_->setGeometry(margin, keyFields_->geometry().bottom() + Twips(90), width - 2 * margin, row);
    const int bottom = Twips(kDialogHeight) - row - Twips(240);
    checksumLabel_->setGeometry(margin, bottom, Twips(2400), row);
    int right = width - margin;
    for (QPushButton* button : {cancelButton_, noButton_, yesButton_}) {
        const int buttonWidth = std::max(Twips(kButtonWidth), button->sizeHint().width());
        button->setGeometry(right - buttonWidth, bottom, buttonWidth, row);
        right -= buttonWidth + gap;
    }
    const int labelWidth = useThisKeyLabel_->sizeHint().width();
    useThisKeyLabel_->setGeometry(right - labelWidth, bottom, labelWidth, row);
}

void ShownKeyDialog::Prepare(const QWidget* mainWindow, bool encrypting)
{
    UnboldControls(this);
    enterKeyLabel_->setText(KeyPromptWithDisplay(encrypting));
    keyFields_->setAccessibleDescription(enterKeyLabel_->text());
    LayOut(TypingDialogWidth(mainWindow));
    PlaceAlongMainWindowBottom(this, mainWindow);
    keyFields_->Clear();
    strength_->Clear();
    for (QWidget* control : {static_cast<QWidget*>(yesButton_), static_cast<QWidget*>(noButton_),
                             static_cast<QWidget*>(checksumLabel_), static_cast<QWidget*>(useThisKeyLabel_)})
        control->hide();
    ResetAnswer();
    keyFields_->SetMaxLength(keyState_.maxKeyLength);
    keyFields_->setFocus(Qt::OtherFocusReason);
}

void ShownKeyDialog::KeyFieldChanged()
{
    const bool sufficient = KeyLengthSufficient(keyState_, keyFields_->Bytes().View());
    for (QWidget* control : {static_cast<QWidget*>(yesButton_), static_cast<QWidget*>(noButton_),
                             static_cast<QWidget*>(checksumLabel_), static_cast<QWidget*>(useThisKeyLabel_)})
        control->setVisible(sufficient);
    checksumLabel_->setText(sufficient ? RunningChecksumLine(keyFields_->Bytes().View()) : QString());
    strength_->ShowTyped(keyFields_->Bytes().View());
}

void ShownKeyDialog::Yes()
{
    SetAnswer(TypedKeyAnswer::Yes, keyFields_->Bytes());
    accept();
}

void ShownKeyDialog::No()
{
    SetAnswer(TypedKeyAnswer::No, SecureBytes());
    accept();
}

void ShownKeyDialog::hideEvent(QHideEvent* event)
{
    // The typed key leaves no trace in the hidden dialog.
    keyFields_->Clear();
    checksumLabel_->clear();
    strength_->Clear();
    QDialog::hideEvent(event);
}

}  // namespace kyv::gui
