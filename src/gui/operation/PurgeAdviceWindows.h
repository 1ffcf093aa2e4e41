#pragma once
// The purge-advice dialogs, placed over the report window and shown modally.

#include "core/operation/PurgeAdvice.h"

class QWidget;

namespace kyv::gui {

class AntivirusQueryDialog;
class PurgeWarningDialog;

class PurgeAdviceWindows final : public PurgeAdviceDialogs {
public:
    // `reportWindow` places the dialogs; the dialogs live as long as this object.
    explicit PurgeAdviceWindows(QWidget* reportWindow);
    ~PurgeAdviceWindows() override;

    AntivirusAnswer AskAntivirusQuery() override;
    bool ShowPurgeWarning(const QString& path, bool encrypting) override;

    AntivirusQueryDialog& Query() { return *query_; }
    PurgeWarningDialog& Warning() { return *warning_; }

private:
    void Place(QWidget* dialog) const;

    QWidget* reportWindow_;
    AntivirusQueryDialog* query_;
    PurgeWarningDialog* warning_;
};

}  // namespace kyv::gui
