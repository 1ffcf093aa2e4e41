#pragma once
// The two panels the main window's "Setup" command opens beside its command column: the setup
// panel ("Load setup", "Save setup", "Clear setup", "Restore setup", "Not now") and the save panel
// ("Save setup for next run", "Save setup as operation file", "Not now"). They only show buttons
// and say which was clicked; the main window does the work.

#include <QObject>
#include <array>

class QPushButton;
class QWidget;

namespace kyv::gui {

enum class SetupButton {
    Load,
    Save,
    Clear,
    Restore,
    Keep,
    SaveForNextRun,
    SaveAsOperationFile,
    DontSave,
};

inline constexpr int kSetupButtonCount = static_cast<int>(SetupButton::DontSave) + 1;

class SetupPanels : public QObject {
    Q_OBJECT
public:
    // Both panels are children of `mainWindow`, hidden until opened.
    explicit SetupPanels(QWidget* mainWindow);

    // Shows the setup panel `left` pixels from the main window's left edge, the focus on
    // "Save setup".
    void OpenSetupPanel(int left);
    // Hides the setup panel and shows the save panel at `left`, the focus on "Save setup for next
    // run".
    void OpenSavePanel(int left);
    void HideSetupPanel();
    void HideSavePanel();

    [[nodiscard]] QWidget* SetupPanel() const { return setupPanel_; }
    [[nodiscard]] QWidget* SavePanel() const { return savePanel_; }
    [[nodiscard]] QPushButton* Button(SetupButton button) const { return buttons_[static_cast<int>(button)]; }

signals:
    void clicked(kyv::gui::SetupButton button);

private:
    QWidget* BuildPanel(QWidget* mainWindow, const char* objectName, SetupButton first, SetupButton last);

    QWidget* setupPanel_ = nullptr;
    QWidget* savePanel_ = nullptr;
    std::array<QPushButton*, kSetupButtonCount> buttons_{};
};

}  // namespace kyv::gui
