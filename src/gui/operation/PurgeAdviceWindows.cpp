#include "gui/operation/PurgeAdviceWindows.h"

#include "gui/common/Twips.h"
#include "gui/operation/frmAntiVirusQuery.h"
#include "gui/operation/frmPurgeWarning.h"

namespace kyv::gui {

PurgeAdviceWindows::PurgeAdviceWindows(QWidget* reportWindow)
    : m_reportWindow(reportWindow), m_query(new frmAntiVirusQuery), m_warning(new frmPurgeWarning)
{
}

PurgeAdviceWindows::~PurgeAdviceWindows()
{
    delete m_query;
    delete m_warning;
}

void PurgeAdviceWindows::Place(QWidget* dialog) const
{
    if (m_reportWindow != nullptr)
        dialog->move(m_reportWindow->x() + Twips(2400), m_reportWindow->y() + Twips(1675));
}

AntivirusAnswer PurgeAdviceWindows::AskAntivirusQuery()
{
    Place(m_query);
    m_query->exec();
    return m_query->answer;
}

bool PurgeAdviceWindows::ShowPurgeWarning(const QString& path, bool encrypting)
{
    Place(m_warning);
    m_warning->strPurgeFilePath = path;
    m_warning->blnEncrypting = encrypting;
    m_warning->exec();
    return !m_warning->blnShowPurgeWarning;
}

}  // namespace kyv::gui
