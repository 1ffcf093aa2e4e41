#include "gui/operation/AntivirusQueryDialog.h"

#include <QLabel>
#include <QPushButton>

#include "gui/common/KeyboardCommands.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"
#include "gui/common/WindowFrame.h"

namespace kyv::gui {

AntivirusQueryDialog::AntivirusQueryDialog(QWidget* parent) : QDialog(parent, DialogFlags())
{
    setObjectName(QStringLiteral("frmAntiVirusQuery"));
    setWindowTitle(QStringLiteral("Antivirus software query"));
    setModal(true);
    setFont(WindowFont());
    auto* question = new QLabel(QStringLiteral("Is Norton AntiVirus Auto-Protect, or some other antivirus "
                                               "software, currently active on this PC?"),
                                this);
    question->setObjectName(QStringLiteral("lblQuestion"));
    question->setWordWrap(true);
    // Twips: the question across the window, the three buttons centred under it.
    constexpr int kWidth = 5880;
    constexpr int kMargin = 240;
    constexpr int kButtonWidth = 1500;
    constexpr int kButtonGap = 240;
    constexpr int kButtonsWidth = 3 * kButtonWidth + 2 * kButtonGap;
    question->setGeometry(TwipsRect(kMargin, kMargin, kWidth - 2 * kMargin, 700));
    const auto makeButton = [this](const char* name, const char* caption, int index) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        button->setGeometry(TwipsRect((kWidth - kButtonsWidth) / 2 + index * (kButtonWidth + kButtonGap),
                                      1140, kButtonWidth, 375));
        return button;
    };
    yesButton_ = makeButton("cmdYes", "Yes", 0);
    noButton_ = makeButton("cmdNo", "No", 1);
    dontKnowButton_ = makeButton("cmdDontKnow", "Don't know", 2);
    connect(yesButton_, &QPushButton::clicked, this, [this] { Answer(AntivirusAnswer::Yes); });
    connect(noButton_, &QPushButton::clicked, this, [this] { Answer(AntivirusAnswer::No); });
    connect(dontKnowButton_, &QPushButton::clicked, this, [this] { Answer(AntivirusAnswer::DontKnow); });
    setFixedSize(Twips(kWidth), Twips(1140 + 375 + kMargin));
    PressButtonsOnEnter(this);
}

void AntivirusQueryDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    UnboldControls(this);
    answeredNo = false;
    // Closing by the frame counts as "Don't know": the advice is then shown.
    answer = AntivirusAnswer::DontKnow;
    dontKnowButton_->setFocus();
}

void AntivirusQueryDialog::Answer(AntivirusAnswer given)
{
    answer = given;
    answeredNo = given == AntivirusAnswer::No;
    accept();
}

}  // namespace kyv::gui
