#include "gui/reltest/ReliabilityTestDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <algorithm>

#include "gui/common/KeyboardCommands.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"

namespace kyv::gui {

namespace {

// Twips. The texts are as tall as they wrap in the window's font, and the count sits after its
// caption as wide as that caption is; the window grows where the font needs more room.
constexpr int kMargin = 240;
constexpr int kTextWidth = 6600;
constexpr int kDialogWidth = kTextWidth + 2 * kMargin;
constexpr int kTextsTop = 180;
constexpr int kTextGap = 120;
constexpr int kOptionsBelowTexts = 120;
constexpr int kOptionGap = 60;
constexpr int kCountGap = 300;
constexpr int kCountWidth = 600;
constexpr int kButtonsBelowOptions = 360;
constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 375;
constexpr int kButtonGap = 240;
constexpr int kMostDigits = 3;

QLabel* AddText(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
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

    intro_ = AddText(
        this, "lblIntro",
        QStringLiteral("You have chosen to encrypt files with .tst extension in a subfolder "
                       "named \"kyvtest\", which indicates that you wish to perform the reliability test."));
    explanation_ = AddText(this, "lblExplanation1", QString());
    secondExplanation_ =
        AddText(this, "lblExplanation2",
                QStringLiteral("The first performance of the test uses the currently specified "
                               "key. Subsequent performances use randomly-generated keys."));

    performOption_ = new QRadioButton(QStringLiteral("Yes, perform the test."), this);
    performOption_->setObjectName(QStringLiteral("optPerformTest"));
    noOption_ = new QRadioButton(QStringLiteral("No, just encrypt as specified."), this);
    noOption_->setObjectName(QStringLiteral("optNo"));

    countLabel_ = new QLabel(QStringLiteral("Number of times to perform the test: "), this);
    countLabel_->setObjectName(QStringLiteral("lblMultipleTimes"));
    countBox_ = new QLineEdit(QStringLiteral("1"), this);
    countBox_->setObjectName(QStringLiteral("txbNumTests"));
    countBox_->setMaxLength(kMostDigits);
    // Digits only, typed or pasted.
    countBox_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));

    continueButton_ = new QPushButton(QStringLiteral("Continue"), this);
    continueButton_->setObjectName(QStringLiteral("cmdContinue"));
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cmdCancel"));
    continueButton_->setAutoDefault(false);
    cancelButton_->setAutoDefault(false);
    auto* cancelButton = cancelButton_;

    connect(continueButton_, &QPushButton::clicked, this, &ReliabilityTestDialog::Continue);
    connect(cancelButton, &QPushButton::clicked, this, &ReliabilityTestDialog::Cancel);
    // Enter in the count is "Continue".
    connect(countBox_, &QLineEdit::returnPressed, this, &ReliabilityTestDialog::Continue);
    connect(performOption_, &QRadioButton::toggled, this, &ReliabilityTestDialog::ShowCount);
    // The count stands on the row of "Yes, perform the test.", so Tab comes to it next.
    setTabOrder(performOption_, countBox_);
    setTabOrder(countBox_, noOption_);
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
    LayOut();
    countBox_->end(false);
    performOption_->setChecked(true);
    ShowCount(true);
    countBox_->setFocus();
    answer_ = Answer{};
}

void ReliabilityTestDialog::LayOut()
{
    int top = Twips(kTextsTop);
    const int left = Twips(kMargin);
    // The count's row: the option, then the caption as wide as its text, then the box.
    const int optionWidth = std::max(performOption_->sizeHint().width(), noOption_->sizeHint().width());
    const int captionLeft = left + optionWidth + Twips(kCountGap);
    const int captionWidth = countLabel_->sizeHint().width();
    const int boxLeft = captionLeft + captionWidth;
    const int width = std::max(Twips(kDialogWidth), boxLeft + Twips(kCountWidth) + left);
    const int textWidth = width - 2 * left;
    for (QLabel* text : {intro_, explanation_, secondExplanation_}) {
        const int height = text->heightForWidth(textWidth);
        text->setGeometry(left, top, textWidth, height);
        top += height + Twips(kTextGap);
    }
    top += Twips(kOptionsBelowTexts - kTextGap);
    const int rowHeight = std::max({performOption_->sizeHint().height(), countLabel_->sizeHint().height(),
                                    countBox_->sizeHint().height()});
    performOption_->setGeometry(left, top, optionWidth, rowHeight);
    countLabel_->setGeometry(captionLeft, top, captionWidth, rowHeight);
    countBox_->setGeometry(boxLeft, top, Twips(kCountWidth), rowHeight);
    top += rowHeight + Twips(kOptionGap);
    noOption_->setGeometry(left, top, optionWidth, rowHeight);
    top += rowHeight + Twips(kButtonsBelowOptions);
    const int buttonWidth = std::max(
        {Twips(kButtonWidth), continueButton_->sizeHint().width(), cancelButton_->sizeHint().width()});
    const int buttonHeight = std::max(Twips(kButtonHeight), continueButton_->sizeHint().height());
    cancelButton_->setGeometry(width - left - buttonWidth, top, buttonWidth, buttonHeight);
    continueButton_->setGeometry(cancelButton_->x() - Twips(kButtonGap) - buttonWidth, top, buttonWidth,
                                 buttonHeight);
    setFixedSize(width, top + buttonHeight + left);
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
