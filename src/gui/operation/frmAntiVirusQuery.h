#pragma once
// "Antivirus software query": asked before the first purge of a file type that antivirus
// software watches.

#include <QDialog>

#include "core/operation/PurgeAdvice.h"

class QPushButton;

namespace kyv::gui {

class frmAntiVirusQuery final : public QDialog {
    Q_OBJECT
public:
    explicit frmAntiVirusQuery(QWidget* parent = nullptr);

    bool blnNo = false;
    AntivirusAnswer answer = AntivirusAnswer::DontKnow;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Answer(AntivirusAnswer given);

    QPushButton* cmdYes;
    QPushButton* cmdNo;
    QPushButton* cmdDontKnow;
};

}  // namespace kyv::gui
