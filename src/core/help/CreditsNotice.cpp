#include "core/help/CreditsNotice.h"

#include <QFile>
#include <QtGlobal>

#include "KyvVersion.h"

namespace kyv {

QString CreditsNotice()
{
    QFile file(QStringLiteral(":/help/credits.txt"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QString notice = QString::fromUtf8(file.readAll()).trimmed();
    notice.replace(QStringLiteral("@VERSION@"), QString::fromLatin1(kProgramVersion));
    // The Qt the program runs with, which may be newer than the one it was built with.
    notice.replace(QStringLiteral("@QT_VERSION@"), QString::fromLatin1(qVersion()));
    return notice;
}

}  // namespace kyv
