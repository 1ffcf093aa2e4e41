#include "gui/operation/PurgeAdviceWindows.h"

#include "gui/common/Twips.h"
#include "gui/operation/AntivirusQueryDialog.h"
#include "gui/operation/PurgeWarningDialog.h"

namespace kyv::gui {

PurgeAdviceWindows::PurgeAdviceWindows(QWidget* reportWindow)
    : reportWindow_(reportWindow), query_(new AntivirusQueryDialog), warning_(new PurgeWarningDialog)
{
}

PurgeAdviceWindows::~PurgeAdviceWindows()
{
    delete query_;
    delete warning_;
}

void PurgeAdviceWindows::Place(QWidget* dialog) const
{
    if (reportWindow_ != nullptr)
        dialog->move(reportWindow_->x() + Twips(2400), reportWindow_->y() + Twips(1675));
}

AntivirusAnswer PurgeAdviceWindows::AskAntivirusQuery()
{
    Place(query_);
    query_->exec();
    return query_->answer;
}

bool PurgeAdviceWindows::ShowPurgeWarning(const QString& path, bool encrypting)
{
    Place(warning_);
    warning_->purgeFilePath = path;
    warning_->encrypting = encrypting;
    warning_->exec();
    return !warning_->showPurgeWarning;
}

}  // namespace kyv::gui
