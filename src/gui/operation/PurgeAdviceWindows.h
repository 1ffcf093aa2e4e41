#pragma once
// The purge-advice dialogs, placed over the report window and shown modally.

#include "core/operation/PurgeAdvice.h"

class QWidget;

namespace kyv::gui {

class frmAntiVirusQuery;
class frmPurgeWarning;

class PurgeAdviceWindows final : public PurgeAdviceDialogs {
public:
    // `reportWindow` places the dialogs; the dialogs live as long as this object.
    explicit PurgeAdviceWindows(QWidget* reportWindow);
    ~PurgeAdviceWindows() override;

    AntivirusAnswer AskAntivirusQuery() override;
    bool ShowPurgeWarning(const QString& path, bool encrypting) override;

    frmAntiVirusQuery& Query() { return *m_query; }
    frmPurgeWarning& Warning() { return *m_warning; }

private:
    void Place(QWidget* dialog) const;

    QWidget* m_reportWindow;
    frmAntiVirusQuery* m_query;
    frmPurgeWarning* m_warning;
};

}  // namespace kyv::gui
