#include "gui/keys/KeyInspectionDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/common/Style.h"
#include "gui/keys/FocusOnHover.h"
#include "gui/keys/KeyDialogPlacement.h"

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
    : QDialog(window),
      keyState(state),
      prompter(messages),
      mainWindow(window),
      lbl64Byte(Label(QStringLiteral("lbl64Byte"), this)),
      keyfileLabel(Label(QStringLiteral("lblKeyFile"), this)),
      keyRowLabels{},
      decimalOption(new QRadioButton(QStringLiteral("Decimal"), this)),
      hexOption(new QRadioButton(QStringLiteral("Hexadecimal"), this)),
      asciiOption(new QRadioButton(QStringLiteral("ASCII"), this)),
      checksumLabel(Label(QStringLiteral("lblChecksumIs"), this)),
      randomnessLabel(Label(QStringLiteral("lblRandomnessIs"), this)),
      useThisKeyLabel(Label(QStringLiteral("lblUseThisKey"), this)),
      yesButton(new QPushButton(QStringLiteral("Yes"), this)),
      noButton(new QPushButton(QStringLiteral("No"), this))
{
    setObjectName(QStringLiteral("frmInspectKey"));
    setWindowTitle(QStringLiteral("Inspect the key"));
    setFont(WindowFont());
    decimalOption->setObjectName(QStringLiteral("optDecimal"));
    hexOption->setObjectName(QStringLiteral("optHexadecimal"));
    asciiOption->setObjectName(QStringLiteral("optASCII"));
    yesButton->setObjectName(QStringLiteral("cmdYes"));
    noButton->setObjectName(QStringLiteral("cmdNo"));
    useThisKeyLabel->setText(QStringLiteral("Use this key?"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbl64Byte);
    layout->addWidget(keyfileLabel);
    const QFont fixed = FixedFont();
    for (std::size_t row = 0; row < keyRowLabels.size(); ++row) {
        keyRowLabels[row] = Label(QStringLiteral("lblKey_%1").arg(row), this);
        keyRowLabels[row]->setFont(fixed);
        // Room for sixteen four-column values.
        keyRowLabels[row]->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(64, QLatin1Char('0'))));
        layout->addWidget(keyRowLabels[row]);
    }
    auto* views = new QHBoxLayout;
    for (QRadioButton* option : {decimalOption, hexOption, asciiOption}) views->addWidget(option);
    views->addStretch();
    layout->addLayout(views);
    layout->addWidget(checksumLabel);
    layout->addWidget(randomnessLabel);
    auto* question = new QHBoxLayout;
    question->addWidget(useThisKeyLabel);
    question->addStretch();
    for (QPushButton* button : {yesButton, noButton}) {
        button->setAutoDefault(false);
        GiveFocusOnHover(button);
        question->addWidget(button);
    }
    layout->addLayout(question);

    connect(decimalOption, &QRadioButton::clicked, this, [this] { ShowKey(KeyView::Decimal); });
    connect(hexOption, &QRadioButton::clicked, this, [this] { ShowKey(KeyView::Hexadecimal); });
    connect(asciiOption, &QRadioButton::clicked, this, [this] { ShowKey(KeyView::Ascii); });
    connect(yesButton, &QPushButton::clicked, this, &KeyInspectionDialog::Yes);
    connect(noButton, &QPushButton::clicked, this, &QDialog::reject);
}

void KeyInspectionDialog::Prepare(const KeyInspectionRequest& request)
{
    UnboldControls(this);
    newRandomKey = request.newRandomKey;
    lbl64Byte->setText(request.classificationLine);
    keyfileLabel->setText(request.keyfileLine);
    const KeyInspectionLayout layout = PrepareKeyInspection(keyState);
    randomnessLabel->setText(layout.randomnessLine);
    randomnessLabel->setVisible(layout.randomnessVisible);
    asciiOption->setVisible(layout.asciiAvailable);
    checksumLabel->setText(layout.checksumLine);
    QRadioButton* chosen = layout.initialView == KeyView::Ascii ? asciiOption : decimalOption;
    chosen->setChecked(true);
    ShowKey(layout.initialView);
    useThisKey = false;
    adjustSize();
    if (request.placeInCorner) PlaceInMainWindowCorner(this, mainWindow);
}

bool KeyInspectionDialog::InspectKey(const KeyInspectionRequest& request)
{
    Prepare(request);
    exec();
    return useThisKey;
}

void KeyInspectionDialog::ShowKey(KeyView view)
{
    const KeyViewRows rows = KeyViewOf(view, keyState.rawKeyBytes.View(), keyState.isText);
    for (std::size_t row = 0; row < keyRowLabels.size(); ++row) keyRowLabels[row]->setText(rows[row]);
    yesButton->setFocus(Qt::OtherFocusReason);
}

void KeyInspectionDialog::Yes()
{
    if (newRandomKey) {
        prompter.Tell(QStringLiteral("Be sure to remember the name of the keyfile!"),
                      QStringLiteral("Key selected"), MessageIcon::None);
    }
    useThisKey = true;
    accept();
}

void KeyInspectionDialog::hideEvent(QHideEvent* event)
{
    // The key's bytes do not stay on a hidden window.
    for (QLabel* row : keyRowLabels) row->clear();
    QDialog::hideEvent(event);
}

}  // namespace kyv::gui
