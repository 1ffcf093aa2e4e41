#include "gui/setup/SetupPanels.h"

#include <QPushButton>
#include <QWidget>

#include "gui/common/KeyboardCommands.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"

namespace kyv::gui {

namespace {

constexpr int kSetupPanelTop = 3070;  // twips from the main window's top edge
constexpr int kSavePanelTop = 3410;
constexpr int kButtonWidth = 2700;
constexpr int kButtonHeight = 330;

struct ButtonText {
    SetupButton button;
    const char* objectName;  // tests find the buttons by these names
    const char* caption;
};

constexpr std::array<ButtonText, kSetupButtonCount> kButtons = {{
    {SetupButton::Load, "cmdLoadSetup", "Load setup"},
    {SetupButton::Save, "cmdSaveSetup", "Save setup"},
    {SetupButton::Clear, "cmdClearSetup", "Clear setup"},
    {SetupButton::Restore, "cmdRestoreSetup", "Restore setup"},
    {SetupButton::Keep, "cmdKeepSetup", "Not now"},
    {SetupButton::SaveForNextRun, "cmdSaveSetupForNextRun", "Save setup for next run"},
    {SetupButton::SaveAsOperationFile, "cmdSaveSetupAsOperationFile", "Save setup as operation file"},
    {SetupButton::DontSave, "cmdDontSaveSetup", "Not now"},
}};

}  // namespace

SetupPanels::SetupPanels(QWidget* mainWindow) : QObject(mainWindow)
{
    setupPanel_ = BuildPanel(mainWindow, "fraSetup", SetupButton::Load, SetupButton::Keep);
    savePanel_ = BuildPanel(mainWindow, "picSaveSetup", SetupButton::SaveForNextRun, SetupButton::DontSave);
    // Escape is each panel's "Not now".
    CloseOnEscape(setupPanel_, [this] { emit clicked(SetupButton::Keep); });
    CloseOnEscape(savePanel_, [this] { emit clicked(SetupButton::DontSave); });
    setupPanel_->setAccessibleName(QStringLiteral("Setup"));
    savePanel_->setAccessibleName(QStringLiteral("Save setup"));
}

QWidget* SetupPanels::BuildPanel(QWidget* mainWindow, const char* objectName, SetupButton first,
                                 SetupButton last)
{
    auto* panel = new QWidget(mainWindow);
    panel->setObjectName(QString::fromLatin1(objectName));
    panel->setFont(WindowFont());
    panel->hide();
    int top = 0;
    for (int index = static_cast<int>(first); index <= static_cast<int>(last); ++index) {
        const ButtonText& text = kButtons[index];
        auto* button = new QPushButton(QString::fromLatin1(text.caption), panel);
        button->setObjectName(QString::fromLatin1(text.objectName));
        button->setAutoDefault(false);
        button->setGeometry(0, top, Twips(kButtonWidth), Twips(kButtonHeight));
        top += Twips(kButtonHeight);
        const SetupButton which = text.button;
        connect(button, &QPushButton::clicked, this, [this, which] { emit clicked(which); });
        buttons_[index] = button;
    }
    panel->resize(Twips(kButtonWidth), top);
    PressButtonsOnEnter(panel);
    return panel;
}

void SetupPanels::OpenSetupPanel(int left)
{
    setupPanel_->move(left, Twips(kSetupPanelTop));
    setupPanel_->setEnabled(true);
    setupPanel_->show();
    setupPanel_->raise();
    Button(SetupButton::Save)->setFocus(Qt::OtherFocusReason);
}

void SetupPanels::OpenSavePanel(int left)
{
    setupPanel_->hide();
    savePanel_->move(left, Twips(kSavePanelTop));
    savePanel_->show();
    savePanel_->raise();
    Button(SetupButton::SaveForNextRun)->setFocus(Qt::OtherFocusReason);
}

void SetupPanels::HideSetupPanel() { setupPanel_->hide(); }

void SetupPanels::HideSavePanel() { savePanel_->hide(); }

}  // namespace kyv::gui
