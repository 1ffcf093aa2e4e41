#include "gui/keys/ShownKeyDialog.h"

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

constexpr int kDialogHeight = 1800;  // twips
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
    : QDialog(parent),
      keyState(state),
      enterKeyLabel(Label("lblEntertheKey", QString(), this)),
      keyFields(new KeyEntryField(this)),
      checksumLabel(Label("lblChecksumIs", QString(), this)),
      useThisKeyLabel(Label("lblUseThisKey", QStringLiteral("Use this key?"), this)),
      yesButton(Button("cmdYes", QStringLiteral("Yes"), this)),
      noButton(Button("cmdNo", QStringLiteral("No"), this)),
      cancelButton(Button("cmdCancel", QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmKeyboardWithDisplay"));
    setWindowTitle(QStringLiteral("Type key (with display)"));
    setFont(WindowFont());
    keyFields->setObjectName(QStringLiteral("txbKey"));
    GiveFocusOnHover(keyFields);
    useThisKeyLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(keyFields, &KeyEntryField::Changed, this, &ShownKeyDialog::KeyFieldChanged);
    connect(yesButton, &QPushButton::clicked, this, &ShownKeyDialog::Yes);
    connect(noButton, &QPushButton::clicked, this, &ShownKeyDialog::No);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void ShownKeyDialog::LayOut(int width)
{
    setFixedSize(width, Twips(kDialogHeight));
    const int margin = Twips(300);
    const int gap = Twips(150);
    const int row = Twips(kRowHeight);
    enterKeyLabel->setGeometry(margin, Twips(120), width - 2 * margin, row);
    keyFields->setGeometry(margin, Twips(120) + row, width - 2 * margin, keyFields->sizeHint().height());
    const int bottom = Twips(kDialogHeight) - row - Twips(240);
    checksumLabel->setGeometry(margin, bottom, Twips(2400), row);
    int right = width - margin;
    for (QPushButton* button : {cancelButton, noButton, yesButton}) {
        const int buttonWidth = std::max(Twips(kButtonWidth), button->sizeHint().width());
        button->setGeometry(right - buttonWidth, bottom, buttonWidth, row);
        right -= buttonWidth + gap;
    }
    const int labelWidth = useThisKeyLabel->sizeHint().width();
    useThisKeyLabel->setGeometry(right - labelWidth, bottom, labelWidth, row);
}

void ShownKeyDialog::Prepare(const QWidget* mainWindow, bool encrypting)
{
    UnboldControls(this);
    enterKeyLabel->setText(KeyPromptWithDisplay(encrypting));
    LayOut(mainWindow != nullptr ? mainWindow->frameGeometry().width() : kTypingDialogDefaultWidth);
    PlaceAlongMainWindowBottom(this, mainWindow);
    keyFields->Clear();
    acceptedText.Clear();
    for (QWidget* control : {static_cast<QWidget*>(yesButton), static_cast<QWidget*>(noButton),
                             static_cast<QWidget*>(checksumLabel), static_cast<QWidget*>(useThisKeyLabel)})
        control->hide();
    answeredYes = false;
    answeredNo = false;
    keyFields->SetMaxLength(keyState.maxKeyLength);
    keyFields->setFocus(Qt::OtherFocusReason);
}

TypedKeyResult ShownKeyDialog::Run(const QWidget* mainWindow, bool encrypting)
{
    Prepare(mainWindow, encrypting);
    exec();
    return TakeResult();
}

TypedKeyResult ShownKeyDialog::TakeResult()
{
    return TakeTypedKeyResult(answeredYes, answeredNo, acceptedText);
}

void ShownKeyDialog::KeyFieldChanged()
{
    const bool sufficient = KeyLengthSufficient(keyState, keyFields->Bytes().View());
    for (QWidget* control : {static_cast<QWidget*>(yesButton), static_cast<QWidget*>(noButton),
                             static_cast<QWidget*>(checksumLabel), static_cast<QWidget*>(useThisKeyLabel)})
        control->setVisible(sufficient);
    checksumLabel->setText(sufficient ? RunningChecksumLine(keyFields->Bytes().View()) : QString());
}

void ShownKeyDialog::Yes()
{
    acceptedText = keyFields->Bytes();
    answeredYes = true;
    accept();
}

void ShownKeyDialog::No()
{
    answeredNo = true;
    accept();
}

void ShownKeyDialog::hideEvent(QHideEvent* event)
{
    // The typed key leaves no trace in the hidden dialog.
    keyFields->Clear();
    checksumLabel->clear();
    QDialog::hideEvent(event);
}

}  // namespace kyv::gui
