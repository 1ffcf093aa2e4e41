#include "core/reltest/ReliabilityTestOffer.h"

#include <QDir>

#include "core/common/OperationSetup.h"
#include "core/files/NameText.h"
#include "platform/Drives.h"

namespace kyv {

bool ReliabilityTestOffered(const OperationSetup& setup, bool reliabilityTestRunning,
                            const platform::FloppyFolders& floppies)
{
    if (!setup.Encrypts() || reliabilityTestRunning || setup.includeSubfolders) return false;
    const platform::FilePath& folder = setup.InputFolder();
    if (folder.IsEmpty() || platform::IsFloppyDrivePath(folder, floppies)) return false;
    if (!folder.Text().endsWith(QStringLiteral("kyvtest") + QDir::separator())) return false;
    const QString& spec = setup.InputSpec();
    const qsizetype dot = spec.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && LowerCaseText(spec.mid(dot + 1)) == QLatin1String("tst");
}

}  // namespace kyv
