#include "gui/keys/KeyPanel.h"

#include <QPushButton>
#include <QWidget>

#include "gui/common/Style.h"
#include "gui/common/Twips.h"
#include "gui/keys/FocusOnHover.h"
#include "gui/keys/KeyInspectionDialog.h"
#include "gui/keys/ShownKeyDialog.h"
#include "gui/keys/HiddenKeyDialog.h"

namespace kyv::gui {

namespace {

// The panel sits in the status column, on the key button's row; its buttons are as large as the
// command column's.
constexpr int kPanelLeft = 2520;  // twips from the main window's left edge
// Wide enough for "Type key (without display)" in the fallback fonts too.
constexpr int kButtonWidth = 2535;
constexpr int kButtonHeight = 330;

struct ButtonText {
    KeyPanelButton button;
    const char* objectName;
    const char* caption;
};

constexpr ButtonText kButtons[] = {
    {KeyPanelButton::KeyboardWithDisplay, "cmdKeyboardWithDisplay", "Type key (with display)"},
    {KeyPanelButton::KeyboardWithoutDisplay, "cmdKeyboardWithoutDisplay", "Type key (without display)"},
    {KeyPanelButton::KeyfileGet, "cmdKeyFile_0", "Get key from keyfile"},
    {KeyPanelButton::KeyfileCreate, "cmdKeyFile_1", "Create random key"},
    {KeyPanelButton::EraseKey, "cmdEraseKey", "Erase key"},
    {KeyPanelButton::DontSpecifyKeyNow, "cmdDontSpecifyKeyNow", "Cancel"},
};

}  // namespace

KeyPanel::KeyPanel(QWidget* window, KeyState& state, WorkingValues& values, OperationSetup& operationSetup,
                   Prompter& messages)
    : QObject(window),
      mainWindow(window),
      keyState(state),
      setup(operationSetup),
      prompter(messages),
      controller(state, values, operationSetup, messages, *this)
{
    BuildPanel();
    controller.onKeyLineChanged = [this](const QString& text) { emit keyLineChanged(text); };
    controller.onPanelOpened = [this] {
        LayOutPanel();
        panel->show();
        panel->raise();
        buttons[KeyPanelButton::KeyboardWithDisplay]->setFocus(Qt::OtherFocusReason);
        emit panelOpened();
    };
    controller.onPanelHidden = [this] { panel->hide(); };
    controller.onPanelClosed = [this] {
        emit panelClosed();
        if (keyButton) keyButton->setFocus(Qt::OtherFocusReason);
    };
}

KeyPanel::~KeyPanel() = default;

void KeyPanel::BuildPanel()
{
    panel = new QWidget(mainWindow);
    panel->setObjectName(QStringLiteral("picKeyFrom"));
    panel->setFont(WindowFont());
    panel->hide();
    for (const ButtonText& text : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(text.caption), panel);
        button->setObjectName(QString::fromLatin1(text.objectName));
        button->setAutoDefault(false);
        GiveFocusOnHover(button);
        const KeyPanelButton which = text.button;
        connect(button, &QPushButton::clicked, this, [this, which] { PanelButtonClicked(which); });
        buttons[which] = button;
    }
}

void KeyPanel::LayOutPanel()
{
    const int width = Twips(kButtonWidth);
    const int height = Twips(kButtonHeight);
    const std::vector<KeyPanelButton> rows = controller.PanelRows();
    for (auto& [which, button] : buttons) button->hide();
    // "Create random key" keeps its row under the first three even while decrypting hides it.
    buttons[KeyPanelButton::KeyfileCreate]->setGeometry(0, 3 * height, width, height);
    int top = 0;
    for (const KeyPanelButton which : rows) {
        QPushButton* button = buttons[which];
        button->setGeometry(0, top, width, height);
        button->show();
        top += height;
    }
    panel->resize(width, top);
    QPoint origin(Twips(kPanelLeft), 0);
    if (keyButton && mainWindow != nullptr)
        origin.setY(mainWindow->mapFromGlobal(keyButton->mapToGlobal(QPoint(0, 0))).y());
    panel->move(origin);
}

KeyButtonOutcome KeyPanel::KeyButtonReleased(MouseButton button, QWidget* keyButtonWidget,
                                             const QString& currentKeyLine)
{
    if (button == MouseButton::Left) keyButton = keyButtonWidget;
    return controller.KeyButtonReleased(button, currentKeyLine);
}

void KeyPanel::Open(QWidget* keyButtonWidget, const QString& currentKeyLine)
{
    (void)KeyButtonReleased(MouseButton::Left, keyButtonWidget, currentKeyLine);
}

void KeyPanel::PanelButtonClicked(KeyPanelButton button)
{
    const bool keyfileButton =
        button == KeyPanelButton::KeyfileGet || button == KeyPanelButton::KeyfileCreate;
    if (keyfileButton && !keyfileCommand) return;
    controller.ButtonClicked(button);
}

KeyInspector& KeyPanel::Inspector()
{
    if (!inspectKey) inspectKey = std::make_unique<KeyInspectionDialog>(keyState, prompter, mainWindow);
    return *inspectKey;
}

void KeyPanel::SetKeyfileCommand(std::function<void(KeyfileCommand)> command) { keyfileCommand = std::move(command); }

TypedKeyResult KeyPanel::KeyboardWithDisplay()
{
    if (!keyboardWithDisplay)
        keyboardWithDisplay = std::make_unique<ShownKeyDialog>(keyState, mainWindow);
    return keyboardWithDisplay->Run(mainWindow, setup.Encrypts());
}

TypedKeyResult KeyPanel::KeyboardWithoutDisplay()
{
    if (!keyboardWithoutDisplay)
        keyboardWithoutDisplay =
            std::make_unique<HiddenKeyDialog>(keyState, prompter, Inspector(), mainWindow);
    return keyboardWithoutDisplay->Run(mainWindow, setup.Encrypts());
}

void KeyPanel::KeyFromKeyfile(KeyfileCommand command)
{
    if (keyfileCommand) keyfileCommand(command);
}

}  // namespace kyv::gui
