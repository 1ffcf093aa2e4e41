#include "gui/launch/ReportWindowLaunch.h"

#include <QPushButton>
#include <QWidget>

#include "gui/common/Twips.h"

namespace kyv::gui {

namespace {
constexpr int kCopyButtonWidth = 2115;
}

void ReportWindowLaunch::SetCaption(const QString& caption) { window_.setWindowTitle(caption); }

void ReportWindowLaunch::ShowModeless()
{
    window_.show();
    window_.raise();
}

void ReportWindowLaunch::Hide() { window_.hide(); }

void ReportWindowLaunch::RestoreCopyButton()
{
    auto* button = window_.findChild<QPushButton*>(QStringLiteral("cmdCopyToClipboard"));
    if (button == nullptr) return;
    button->setText(QStringLiteral("Copy to clipboard"));
    button->resize(Twips(kCopyButtonWidth), button->height());
}

}  // namespace kyv::gui
