#include "gui/analysis/RandomnessReportPanel.h"

#include "core/common/OperationSetup.h"
#include "gui/common/CommandButton.h"
#include "gui/common/KeyboardCommands.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"

namespace kyv::gui {

namespace {
constexpr int kButtonWidth = 2115;
constexpr int kButtonHeight = 330;
}  // namespace

RandomnessReportPanel::RandomnessReportPanel(QWidget* mainWindow) : QWidget(mainWindow)
{
    setObjectName(QStringLiteral("randomnessReportPanel"));
    setFont(WindowFont());
    hide();
    // Elements 2 and 3 of the main window's file buttons; 0 and 1 are its own input and output.
    const char* names[] = {"cmdSpecifyFiles_2", "cmdSpecifyFiles_3"};
    const char* captions[] = {"Input file(s)", "Output file(s)"};
    for (int side : {kInputSide, kOutputSide}) {
        auto* button = new CommandButton(QString::fromLatin1(captions[side]), this);
        button->setObjectName(QString::fromLatin1(names[side]));
        button->setGeometry(TwipsRect(0, side * kButtonHeight, kButtonWidth, kButtonHeight));
        connect(button, &CommandButton::mouseUp, this, [this, side](MouseButton mouseButton) {
            if (mouseButton == MouseButton::Right)
                emit HelpRequested(HelpTopic::SpecifyingOutputFiles);
            else if (mouseButton == MouseButton::Left)
                emit SideChosen(side);
        });
        sideButtons_[side] = button;
    }
    notNow_ = new QPushButton(QStringLiteral("Not now"), this);
    notNow_->setObjectName(QStringLiteral("randomnessReportNotNow"));
    notNow_->setAutoDefault(false);
    notNow_->setGeometry(TwipsRect(0, 2 * kButtonHeight, kButtonWidth, kButtonHeight));
    connect(notNow_, &QPushButton::clicked, this, &RandomnessReportPanel::NotNowPressed);
    // A right click (or the context-menu key) on "Not now" opens the randomness report's help and
    // leaves the panel open, like the panel's other buttons.
    notNow_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(notNow_, &QWidget::customContextMenuRequested, this,
            [this] { emit HelpRequested(HelpTopic::RandomnessReport); });
    resize(Twips(kButtonWidth), Twips(3 * kButtonHeight));
    PressOnEnter(notNow_);
    CloseOnEscape(this, [this] { emit NotNowPressed(); });
    setAccessibleName(QStringLiteral("Randomness report"));
}

void RandomnessReportPanel::Open(QPoint topLeft, bool inputSpecified, bool outputSpecified)
{
    move(topLeft);
    sideButtons_[kInputSide]->setEnabled(inputSpecified);
    sideButtons_[kOutputSide]->setEnabled(outputSpecified);
    show();
    raise();
    (inputSpecified ? sideButtons_[kInputSide] : sideButtons_[kOutputSide])->setFocus(Qt::OtherFocusReason);
}

}  // namespace kyv::gui
