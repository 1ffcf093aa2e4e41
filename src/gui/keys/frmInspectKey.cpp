#include "gui/keys/frmInspectKey.h"

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

frmInspectKey::frmInspectKey(const KeyState& keyState, Prompter& prompter, QWidget* mainWindow)
    : QDialog(mainWindow),
      keyState(keyState),
      prompter(prompter),
      mainWindow(mainWindow),
      lbl64Byte(Label(QStringLiteral("lbl64Byte"), this)),
      lblKeyFile(Label(QStringLiteral("lblKeyFile"), this)),
      lblKey{},
      optDecimal(new QRadioButton(QStringLiteral("Decimal"), this)),
      optHexadecimal(new QRadioButton(QStringLiteral("Hexadecimal"), this)),
      optASCII(new QRadioButton(QStringLiteral("ASCII"), this)),
      lblChecksumIs(Label(QStringLiteral("lblChecksumIs"), this)),
      lblRandomnessIs(Label(QStringLiteral("lblRandomnessIs"), this)),
      lblUseThisKey(Label(QStringLiteral("lblUseThisKey"), this)),
      cmdYes(new QPushButton(QStringLiteral("Yes"), this)),
      cmdNo(new QPushButton(QStringLiteral("No"), this))
{
    setObjectName(QStringLiteral("frmInspectKey"));
    setWindowTitle(QStringLiteral("Inspect the key"));
    setFont(WindowFont());
    optDecimal->setObjectName(QStringLiteral("optDecimal"));
    optHexadecimal->setObjectName(QStringLiteral("optHexadecimal"));
    optASCII->setObjectName(QStringLiteral("optASCII"));
    cmdYes->setObjectName(QStringLiteral("cmdYes"));
    cmdNo->setObjectName(QStringLiteral("cmdNo"));
    lblUseThisKey->setText(QStringLiteral("Use this key?"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbl64Byte);
    layout->addWidget(lblKeyFile);
    const QFont fixed = FixedFont();
    for (std::size_t row = 0; row < lblKey.size(); ++row) {
        lblKey[row] = Label(QStringLiteral("lblKey_%1").arg(row), this);
        lblKey[row]->setFont(fixed);
        // Room for sixteen four-column values.
        lblKey[row]->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(64, QLatin1Char('0'))));
        layout->addWidget(lblKey[row]);
    }
    auto* views = new QHBoxLayout;
    for (QRadioButton* option : {optDecimal, optHexadecimal, optASCII}) views->addWidget(option);
    views->addStretch();
    layout->addLayout(views);
    layout->addWidget(lblChecksumIs);
    layout->addWidget(lblRandomnessIs);
    auto* question = new QHBoxLayout;
    question->addWidget(lblUseThisKey);
    question->addStretch();
    for (QPushButton* button : {cmdYes, cmdNo}) {
        button->setAutoDefault(false);
        GiveFocusOnHover(button);
        question->addWidget(button);
    }
    layout->addLayout(question);

    connect(optDecimal, &QRadioButton::clicked, this, [this] { ShowKey(KeyView::Decimal); });
    connect(optHexadecimal, &QRadioButton::clicked, this, [this] { ShowKey(KeyView::Hexadecimal); });
    connect(optASCII, &QRadioButton::clicked, this, [this] { ShowKey(KeyView::Ascii); });
    connect(cmdYes, &QPushButton::clicked, this, &frmInspectKey::cmdYes_Click);
    connect(cmdNo, &QPushButton::clicked, this, &QDialog::reject);
}

void frmInspectKey::Prepare(const KeyInspectionRequest& request)
{
    UnboldControls(this);
    newRandomKey = request.newRandomKey;
    lbl64Byte->setText(request.classificationLine);
    lblKeyFile->setText(request.keyfileLine);
    const KeyInspectionLayout layout = PrepareKeyInspection(keyState);
    lblRandomnessIs->setText(layout.randomnessLine);
    lblRandomnessIs->setVisible(layout.randomnessVisible);
    optASCII->setVisible(layout.asciiAvailable);
    lblChecksumIs->setText(layout.checksumLine);
    QRadioButton* chosen = layout.initialView == KeyView::Ascii ? optASCII : optDecimal;
    chosen->setChecked(true);
    ShowKey(layout.initialView);
    blnUseThisKey = false;
    adjustSize();
    if (request.placeInCorner) PlaceInMainWindowCorner(this, mainWindow);
}

bool frmInspectKey::InspectKey(const KeyInspectionRequest& request)
{
    Prepare(request);
    exec();
    return blnUseThisKey;
}

void frmInspectKey::ShowKey(KeyView view)
{
    const KeyViewRows rows = KeyViewOf(view, keyState.strKeyBytes.View(), keyState.blnTextKey);
    for (std::size_t row = 0; row < lblKey.size(); ++row) lblKey[row]->setText(rows[row]);
    cmdYes->setFocus(Qt::OtherFocusReason);
}

void frmInspectKey::cmdYes_Click()
{
    if (newRandomKey) {
        prompter.Tell(QStringLiteral("Be sure to remember the name of the keyfile!"),
                      QStringLiteral("Key selected"), MessageIcon::None);
    }
    blnUseThisKey = true;
    accept();
}

void frmInspectKey::hideEvent(QHideEvent* event)
{
    // The key's bytes do not stay on a hidden window.
    for (QLabel* row : lblKey) row->clear();
    QDialog::hideEvent(event);
}

}  // namespace kyv::gui
