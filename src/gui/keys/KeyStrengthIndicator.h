#pragma once
// A key's strength under a key: a bar of five steps and the line that says it in words. Shows
// nothing until it is given a strength.

#include <QWidget>

#include "core/keys/KeyStrength.h"

class QLabel;
class QProgressBar;

namespace kyv::gui {

class KeyStrengthIndicator : public QWidget {
    Q_OBJECT
public:
    explicit KeyStrengthIndicator(QWidget* parent = nullptr);

    // Shows `strength`; a keyfile that is not random has the line alone.
    void Show(const KeyStrength& strength);
    // Shows the strength of the key typed so far, or nothing when it holds
    // nothing that would be a key.
    void ShowTyped(std::span<const unsigned char> text);
    // Empties and hides the bar and the line.
    void Clear();

    [[nodiscard]] QString Line() const;
    // Filled steps of the bar, 0 to kKeyStrengthLevels; 0 when hidden.
    [[nodiscard]] int Steps() const;

    QSize sizeHint() const override;

private:
    QProgressBar* bar_;
    QLabel* line_;
};

}  // namespace kyv::gui
