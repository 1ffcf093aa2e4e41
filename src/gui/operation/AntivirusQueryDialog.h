#pragma once
// "Antivirus software query": asked before the first purge of a file type that antivirus
// software watches.

#include <QDialog>

#include "core/operation/PurgeAdvice.h"

class QPushButton;

namespace kyv::gui {

class AntivirusQueryDialog final : public QDialog {
    Q_OBJECT
public:
    explicit AntivirusQueryDialog(QWidget* parent = nullptr);

    bool answeredNo = false;
    AntivirusAnswer answer = AntivirusAnswer::DontKnow;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Answer(AntivirusAnswer given);

    QPushButton* yesButton_;
    QPushButton* noButton_;
    QPushButton* dontKnowButton_;
};

}  // namespace kyv::gui
