#include "gui/keys/KeyInspectionDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/common/KeyboardCommands.h"
#include "gui/common/Style.h"
#include "gui/common/WindowFrame.h"
#include "gui/keys/FocusOnHover.h"
#include "gui/keys/KeyDialogPlacement.h"
#include "gui/keys/KeyStrengthIndicator.h"

namespace kyv::gui {

namespace {

QLabel* Label(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    // Key bytes and paths are shown as they are, never read as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

KeyInspectionDialog::KeyInspectionDialog(const KeyState& state, Prompter& messages, QWidget* window)
    : QDialog(window, DialogFlags()),
      keyState_(state),
      prompter_(messages),
      mainWindow_(window),
      lbl64Byte_(Label(QStringLiteral("lbl64Byte"), this)),
      keyfileLabel_(Label(QStringLiteral("lblKeyFile"), this)),
      keyRowLabels_{},
      decimalOption_(new QRadioButton(QStringLiteral("Decimal"), this)),
      hexOption_(new QRadioButton(QStringLiteral("Hexadecimal"), this)),
      asciiOption_(new QRadioButton(QStringLiteral("ASCII"), this)),
      checksumLabel_(Label(QStringLiteral("lblChecksumIs"), this)),
      randomnessLabel_(Label(QStringLiteral("lblRandomnessIs"), this)),
      strength_(new KeyStrengthIndicator(this)),
      useThisKeyLabel_(Label(QStringLiteral("lblUseThisKey"), this)),
      yesButton_(new QPushButton(QStringLiteral("Yes"), this)),
      noButton_(new QPushButton(QStringLiteral("No"), this))
{
    setObjectName(QStringLiteral("frmInspectKey"));
    setWindowTitle(QStringLiteral("Inspect the key"));
    setFont(WindowFont());
    decimalOption_->setObjectName(QStringLiteral("optDecimal"));
    hexOption_->setObjectName(QStringLiteral("optHexadecimal"));
    asciiOption_->setObjectName(QStringLiteral("optASCII"));
    yesButton_->setObjectName(QStringLiteral("cmdYes"));
    noButton_->setObjectName(QStringLiteral("cmdNo"));
    useThisKeyLabel_->setText(QStringLiteral("Use this key?"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbl64Byte_);
    layout->addWidget(keyfileLabel_);
    const QFont fixed = FixedFont();
    for (std::size_t row = 0; row < keyRowLabels_.size(); ++row) {
        keyRowLabels_[row] = Label(QStringLiteral("lblKey_%1").arg(row), this);
        keyRowLabels_[row]->setFont(fixed);
        // Room for sixteen four-column values.
        keyRowLabels_[row]->setMinimumWidth(
            QFontMetrics(fixed).horizontalAdvance(QString(64, QLatin1Char('0'))));
        layout->addWidget(keyRowLabels_[row]);
    }
    auto* views = new QHBoxLayout;
    for (QRadioButton* option : {decimalOption_, hexOption_, asciiOption_}) views->addWidget(option);
    views->addStretch();
    layout->addLayout(views);
    layout->addWidget(checksumLabel_);
    layout->addWidget(randomnessLabel_);
    layout->addWidget(strength_);
    auto* question = new QHBoxLayout;
    question->addWidget(useThisKeyLabel_);
    question->addStretch();
    for (QPushButton* button : {yesButton_, noButton_}) {
        button->setAutoDefault(false);
        GiveFocusOnHover(button);
        question->addWidget(button);
    }
    layout->addLayout(question);

    connect(decimalOption_, &QRadioButton::clicked, this, [this] { ShowKey(KeyView::Decimal); });
    connect(hexOption_, &QRadioButton::clicked, this, [this] { ShowKey(KeyView::Hexadecimal); });
    connect(asciiOption_, &QRadioButton::clicked, this, [this] { ShowKey(KeyView::Ascii); });
    connect(yesButton_, &QPushButton::clicked, this, &KeyInspectionDialog::Yes);
    connect(noButton_, &QPushButton::clicked, this, &QDialog::reject);
    PressButtonsOnEnter(this);
}

void KeyInspectionDialog::Prepare(const KeyInspectionRequest& request)
{
    UnboldControls(this);
    newRandomKey_ = request.newRandomKey;
    lbl64Byte_->setText(request.classificationLine);
    keyfileLabel_->setText(request.keyfileLine);
    const KeyInspectionLayout layout = PrepareKeyInspection(keyState_);
    randomnessLabel_->setText(layout.randomnessLine);
    randomnessLabel_->setVisible(layout.randomnessVisible);
    asciiOption_->setVisible(layout.asciiAvailable);
    checksumLabel_->setText(layout.checksumLine);
    strength_->Show(InspectedKeyStrength(keyState_, request.typedKey));
    QRadioButton* chosen = layout.initialView == KeyView::Ascii ? asciiOption_ : decimalOption_;
    chosen->setChecked(true);
    ShowKey(layout.initialView);
    useThisKey = false;
    adjustSize();
    if (request.placeInCorner) PlaceInMainWindowCorner(this, mainWindow_);
}

bool KeyInspectionDialog::InspectKey(const KeyInspectionRequest& request)
{
    Prepare(request);
    exec();
    return useThisKey;
}

void KeyInspectionDialog::ShowKey(KeyView view)
{
    const KeyViewRows rows = KeyViewOf(view, keyState_.rawKeyBytes.View(), keyState_.isText);
    for (std::size_t row = 0; row < keyRowLabels_.size(); ++row) keyRowLabels_[row]->setText(rows[row]);
    yesButton_->setFocus(Qt::OtherFocusReason);
}

void KeyInspectionDialog::Yes()
{
    if (newRandomKey_) {
        prompter_.Tell(QStringLiteral("Be sure to remember the name of the keyfile!"),
                       QStringLiteral("Key selected"), MessageIcon::None);
    }
    useThisKey = true;
    accept();
}

void KeyInspectionDialog::hideEvent(QHideEvent* event)
{
    // The key's bytes do not stay on a hidden window.
    for (QLabel* row : keyRowLabels_) row->clear();
    strength_->Clear();
    QDialog::hideEvent(event);
}

}  // namespace kyv::gui
