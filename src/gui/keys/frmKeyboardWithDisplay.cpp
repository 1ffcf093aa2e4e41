#include "gui/keys/frmKeyboardWithDisplay.h"

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

frmKeyboardWithDisplay::frmKeyboardWithDisplay(const KeyState& keyState, QWidget* parent)
    : QDialog(parent),
      keyState(keyState),
      lblEntertheKey(Label("lblEntertheKey", QString(), this)),
      txbKey(new KeyEntryField(this)),
      lblChecksumIs(Label("lblChecksumIs", QString(), this)),
      lblUseThisKey(Label("lblUseThisKey", QStringLiteral("Use this key?"), this)),
      cmdYes(Button("cmdYes", QStringLiteral("Yes"), this)),
      cmdNo(Button("cmdNo", QStringLiteral("No"), this)),
      cmdCancel(Button("cmdCancel", QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("frmKeyboardWithDisplay"));
    setWindowTitle(QStringLiteral("Type key (with display)"));
    setFont(WindowFont());
    txbKey->setObjectName(QStringLiteral("txbKey"));
    GiveFocusOnHover(txbKey);
    lblUseThisKey->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(txbKey, &KeyEntryField::Changed, this, &frmKeyboardWithDisplay::txbKey_Change);
    connect(cmdYes, &QPushButton::clicked, this, &frmKeyboardWithDisplay::cmdYes_Click);
    connect(cmdNo, &QPushButton::clicked, this, &frmKeyboardWithDisplay::cmdNo_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmKeyboardWithDisplay::LayOut(int width)
{
    setFixedSize(width, Twips(kDialogHeight));
    const int margin = Twips(300);
    const int gap = Twips(150);
    const int row = Twips(kRowHeight);
    lblEntertheKey->setGeometry(margin, Twips(120), width - 2 * margin, row);
    txbKey->setGeometry(margin, Twips(120) + row, width - 2 * margin, txbKey->sizeHint().height());
    const int bottom = Twips(kDialogHeight) - row - Twips(240);
    lblChecksumIs->setGeometry(margin, bottom, Twips(2400), row);
    int right = width - margin;
    for (QPushButton* button : {cmdCancel, cmdNo, cmdYes}) {
        const int buttonWidth = std::max(Twips(kButtonWidth), button->sizeHint().width());
        button->setGeometry(right - buttonWidth, bottom, buttonWidth, row);
        right -= buttonWidth + gap;
    }
    const int labelWidth = lblUseThisKey->sizeHint().width();
    lblUseThisKey->setGeometry(right - labelWidth, bottom, labelWidth, row);
}

void frmKeyboardWithDisplay::Prepare(const QWidget* mainWindow, bool encrypting)
{
    UnboldControls(this);
    lblEntertheKey->setText(KeyPromptWithDisplay(encrypting));
    LayOut(mainWindow != nullptr ? mainWindow->frameGeometry().width() : kTypingDialogDefaultWidth);
    PlaceAlongMainWindowBottom(this, mainWindow);
    txbKey->Clear();
    acceptedText.Clear();
    for (QWidget* control : {static_cast<QWidget*>(cmdYes), static_cast<QWidget*>(cmdNo),
                             static_cast<QWidget*>(lblChecksumIs), static_cast<QWidget*>(lblUseThisKey)})
        control->hide();
    blnYes = false;
    blnNo = false;
    txbKey->SetMaxLength(keyState.intMaxKeyLength);
    txbKey->setFocus(Qt::OtherFocusReason);
}

TypedKeyResult frmKeyboardWithDisplay::Run(const QWidget* mainWindow, bool encrypting)
{
    Prepare(mainWindow, encrypting);
    exec();
    return TakeResult();
}

TypedKeyResult frmKeyboardWithDisplay::TakeResult()
{
    return TakeTypedKeyResult(blnYes, blnNo, acceptedText);
}

void frmKeyboardWithDisplay::txbKey_Change()
{
    const bool sufficient = KeyLengthSufficient(keyState, txbKey->Bytes().View());
    for (QWidget* control : {static_cast<QWidget*>(cmdYes), static_cast<QWidget*>(cmdNo),
                             static_cast<QWidget*>(lblChecksumIs), static_cast<QWidget*>(lblUseThisKey)})
        control->setVisible(sufficient);
    lblChecksumIs->setText(sufficient ? RunningChecksumLine(txbKey->Bytes().View()) : QString());
}

void frmKeyboardWithDisplay::cmdYes_Click()
{
    acceptedText = txbKey->Bytes();
    blnYes = true;
    accept();
}

void frmKeyboardWithDisplay::cmdNo_Click()
{
    blnNo = true;
    accept();
}

void frmKeyboardWithDisplay::hideEvent(QHideEvent* event)
{
    // The typed key leaves no trace in the hidden dialog.
    txbKey->Clear();
    lblChecksumIs->clear();
    QDialog::hideEvent(event);
}

}  // namespace kyv::gui
