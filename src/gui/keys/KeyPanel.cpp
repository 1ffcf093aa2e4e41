#include "gui/keys/KeyPanel.h"

#include <QPushButton>
#include <QWidget>

#include "gui/common/KeyboardCommands.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"
#include "gui/keys/FocusOnHover.h"
#include "gui/keys/HiddenKeyDialog.h"
#include "gui/keys/KeyInspectionDialog.h"
#include "gui/keys/ShownKeyDialog.h"

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
                   Prompter& messages, std::function<void(KeyfileCommand)> keyfileCommand)
    : QObject(window),
      mainWindow_(window),
      keyState_(state),
      setup_(operationSetup),
      prompter_(messages),
      controller_(state, values, operationSetup, messages, *this, *this),
      keyfileCommand_(std::move(keyfileCommand))
{
    BuildPanel();
}

void KeyPanel::KeyLineChanged(const QString& line) { emit keyLineChanged(line); }

void KeyPanel::PanelOpened()
{
    LayOutPanel();
    panel_->show();
    panel_->raise();
    buttons_[KeyPanelButton::KeyboardWithDisplay]->setFocus(Qt::OtherFocusReason);
    emit panelOpened();
}

void KeyPanel::PanelHidden() { panel_->hide(); }

void KeyPanel::PanelClosed()
{
    emit panelClosed();
    if (keyButton_) keyButton_->setFocus(Qt::OtherFocusReason);
}

KeyPanel::~KeyPanel() = default;

void KeyPanel::BuildPanel()
{
    panel_ = new QWidget(mainWindow_);
    panel_->setObjectName(QStringLiteral("picKeyFrom"));
    panel_->setFont(WindowFont());
    panel_->hide();
    for (const ButtonText& text : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(text.caption), panel_);
        button->setObjectName(QString::fromLatin1(text.objectName));
        button->setAutoDefault(false);
        GiveFocusOnHover(button);
        const KeyPanelButton which = text.button;
        connect(button, &QPushButton::clicked, this, [this, which] { PanelButtonClicked(which); });
        buttons_[which] = button;
    }
    PressButtonsOnEnter(panel_);
    // Escape is the panel's "Cancel".
    CloseOnEscape(panel_, [this] { PanelButtonClicked(KeyPanelButton::DontSpecifyKeyNow); });
    panel_->setAccessibleName(QStringLiteral("Key"));
}

void KeyPanel::LayOutPanel()
{
    const int width = Twips(kButtonWidth);
    const int height = Twips(kButtonHeight);
    const std::vector<KeyPanelButton> rows = controller_.PanelRows();
    for (auto& [which, button] : buttons_) button->hide();
    // "Create random key" keeps its row under the first three even while decrypting hides it.
    buttons_[KeyPanelButton::KeyfileCreate]->setGeometry(0, 3 * height, width, height);
    int top = 0;
    for (const KeyPanelButton which : rows) {
        QPushButton* button = buttons_[which];
        button->setGeometry(0, top, width, height);
        button->show();
        top += height;
    }
    panel_->resize(width, top);
    QPoint origin(Twips(kPanelLeft), 0);
    if (keyButton_ && mainWindow_ != nullptr)
        origin.setY(mainWindow_->mapFromGlobal(keyButton_->mapToGlobal(QPoint(0, 0))).y());
    panel_->move(origin);
}

KeyButtonOutcome KeyPanel::KeyButtonReleased(MouseButton button, QWidget* keyButtonWidget,
                                             const QString& currentKeyLine)
{
    if (button == MouseButton::Left) keyButton_ = keyButtonWidget;
    return controller_.KeyButtonReleased(button, currentKeyLine);
}

void KeyPanel::Open(QWidget* keyButtonWidget, const QString& currentKeyLine)
{
    (void)KeyButtonReleased(MouseButton::Left, keyButtonWidget, currentKeyLine);
}

void KeyPanel::PanelButtonClicked(KeyPanelButton button)
{
    const bool keyfileButton =
        button == KeyPanelButton::KeyfileGet || button == KeyPanelButton::KeyfileCreate;
    if (keyfileButton && !keyfileCommand_) return;
    controller_.ButtonClicked(button);
}

KeyInspector& KeyPanel::Inspector()
{
    if (!inspectKey_) inspectKey_ = std::make_unique<KeyInspectionDialog>(keyState_, prompter_, mainWindow_);
    return *inspectKey_;
}

TypedKeyResult KeyPanel::KeyboardWithDisplay()
{
    if (!keyboardWithDisplay_)
        keyboardWithDisplay_ = std::make_unique<ShownKeyDialog>(keyState_, mainWindow_);
    return keyboardWithDisplay_->Run(mainWindow_, setup_.Encrypts());
}

TypedKeyResult KeyPanel::KeyboardWithoutDisplay()
{
    if (!keyboardWithoutDisplay_)
        keyboardWithoutDisplay_ =
            std::make_unique<HiddenKeyDialog>(keyState_, prompter_, Inspector(), mainWindow_);
    return keyboardWithoutDisplay_->Run(mainWindow_, setup_.Encrypts());
}

void KeyPanel::KeyFromKeyfile(KeyfileCommand command)
{
    if (keyfileCommand_) keyfileCommand_(command);
}

}  // namespace kyv::gui
