#include "gui/reltest/ReliabilityTestDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "gui/common/KeyboardCommands.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"

namespace kyv::gui {

namespace {

constexpr int kMargin = 240;
constexpr int kTextWidth = 6600;
constexpr int kDialogWidth = kTextWidth + 2 * kMargin;
constexpr int kDialogHeight = 4560;
constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 375;
constexpr int kMostDigits = 3;

QLabel* AddText(QWidget* parent, const char* name, const QString& text, int top, int height)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(TwipsRect(kMargin, top, kTextWidth, height));
    return label;
}

}  // namespace

ReliabilityTestDialog::ReliabilityTestDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReliabilityTest"));
    setWindowTitle(QStringLiteral("Reliability test"));
    setModal(true);
    setFont(WindowFont());
    SetBackground(this, kDialogBackground);
    setFixedSize(Twips(kDialogWidth), Twips(kDialogHeight));

    AddText(
        this, "lblIntro",
        QStringLiteral("You have chosen to encrypt files with .tst extension in a subfolder "
                       "named \"kyvtest\", which indicates that you wish to perform the reliability test."),
        180, 540);
    explanation_ = AddText(this, "lblExplanation1", QString(), 840, 1000);
    AddText(this, "lblExplanation2",
            QStringLiteral("The first performance of the test uses the currently specified key. "
                           "Subsequent performances use randomly-generated keys."),
            1920, 540);

    performOption_ = new QRadioButton(QStringLiteral("Yes, perform the test."), this);
    performOption_->setObjectName(QStringLiteral("optPerformTest"));
    performOption_->setGeometry(TwipsRect(kMargin, 2580, 3000, 300));
    noOption_ = new QRadioButton(QStringLiteral("No, just encrypt as specified."), this);
    noOption_->setObjectName(QStringLiteral("optNo"));
    noOption_->setGeometry(TwipsRect(kMargin, 2940, 3600, 300));

    countLabel_ = new QLabel(QStringLiteral("Number of times to perform the test: "), this);
    countLabel_->setObjectName(QStringLiteral("lblMultipleTimes"));
    countLabel_->setGeometry(TwipsRect(kMargin + 3300, 2580, 2640, 300));
    countBox_ = new QLineEdit(QStringLiteral("1"), this);
    countBox_->setObjectName(QStringLiteral("txbNumTests"));
    countBox_->setMaxLength(kMostDigits);
    // Digits only, typed or pasted.
    countBox_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    countBox_->setGeometry(TwipsRect(kMargin + 5940, 2550, 600, 330));

    continueButton_ = new QPushButton(QStringLiteral("Continue"), this);
    continueButton_->setObjectName(QStringLiteral("cmdContinue"));
    continueButton_->setGeometry(
        TwipsRect(kDialogWidth - 2 * kButtonWidth - kMargin - 240, 3600, kButtonWidth, kButtonHeight));
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    cancelButton->setGeometry(
        TwipsRect(kDialogWidth - kButtonWidth - kMargin, 3600, kButtonWidth, kButtonHeight));
    continueButton_->setAutoDefault(false);
    cancelButton->setAutoDefault(false);

    connect(continueButton_, &QPushButton::clicked, this, &ReliabilityTestDialog::Continue);
    connect(cancelButton, &QPushButton::clicked, this, &ReliabilityTestDialog::Cancel);
    // Enter in the count is "Continue".
    connect(countBox_, &QLineEdit::returnPressed, this, &ReliabilityTestDialog::Continue);
    connect(performOption_, &QRadioButton::toggled, this, &ReliabilityTestDialog::ShowCount);
    PressButtonsOnEnter(this);
    countBox_->setAccessibleName(QStringLiteral("Number of times to perform the test"));
}

void ReliabilityTestDialog::Prepare(bool inPlace)
{
    UnboldControls(this);
    explanation_->setText(
        inPlace ? QStringLiteral("In this test all specified .tst files are first copied to "
                                 ".bak files, then the .tst files are encrypted, then decrypted, then the "
                                 "resulting .tst files are compared to the .bak files.  "
                                 "If a difference exists then the test stops at that point.")
                : QStringLiteral(
                      "In this test all specified .tst files are encrypted to .enc files, "
                      "then decrypted to .dec files, then the .dec files are compared to the .tst files. "
                      "If a difference exists then the test stops at that point."));
    countBox_->end(false);
    performOption_->setChecked(true);
    ShowCount(true);
    countBox_->setFocus();
    answer_ = Answer{};
}

void ReliabilityTestDialog::ShowCount(bool shown)
{
    countLabel_->setVisible(shown);
    countBox_->setVisible(shown);
    if (isVisible()) continueButton_->setFocus();
}

void ReliabilityTestDialog::Continue()
{
    answer_.cancelled = false;
    answer_.performTest = performOption_->isChecked();
    answer_.performances = countBox_->text().toInt();
    accept();
}

void ReliabilityTestDialog::Cancel()
{
    answer_ = Answer{};
    reject();
}

}  // namespace kyv::gui
