#include "core/reltest/ReliabilityTestReport.h"

#include "core/common/NumberText.h"
#include "core/files/FolderPath.h"
#include "core/keys/KeyState.h"
#include "core/keys/Windows1252.h"
#include "engine/cipher/CipherEngine.h"

namespace kyv {

namespace {

QString OwnKeyText(const KeyState& key)
{
    return QStringLiteral("your own key, checksum ") + QString::number(key.checksum);
}

bool IsText(const SecureBytes& bytes) { return cipher::KeyIsText(bytes.data(), bytes.size()); }

}  // namespace

QStringList ReliabilityTestHeader(int performance, int performances, int fileCount,
                                  const platform::FilePath& folder, const TestKey& key)
{
    QStringList header;
    if (performances > 1)
        header << QStringLiteral("Reliability test #") + QString::number(performance) +
                      QStringLiteral(" of") + NumberToText(performances);
    header << QString::number(fileCount) + QStringLiteral(" test file") +
                  (fileCount == 1 ? QString() : QStringLiteral("s")) + QStringLiteral(" in ") +
                  folder.Display();
    if (key.generated) {
        const SecureBytes& text = key.key.lastKeyText;
        header << QString::number(text.size()) + QStringLiteral("-byte ") +
                      (IsText(text) ? QStringLiteral("text key: ") + DecodeWindows1252(text.View())
                                    : QStringLiteral("non-text key"));
    } else {
        const SecureBytes& used = key.key.normalizedKey;
        header << QString::number(used.size()) + QStringLiteral("-byte ") +
                      (IsText(used) ? QStringLiteral("text key") : QStringLiteral("non-text key")) +
                      QStringLiteral(" (") + OwnKeyText(key.key) + QLatin1Char(')');
    }
    return header;
}

QString ComparisonText(const filelib::FileComparison& comparison)
{
    if (comparison.Identical()) return QStringLiteral("identical");
    if (!comparison.error)
        return QStringLiteral("Files differ at byte") + NumberToText(*comparison.firstDifference) +
               QLatin1Char('.');
    switch (*comparison.error) {
        case filelib::CompareError::FirstCannotBeOpened:
            return QStringLiteral("Unable to open first file.");
        case filelib::CompareError::SecondCannotBeOpened:
            return QStringLiteral("Unable to open second file.");
        case filelib::CompareError::FirstCannotBeRead:
            return QStringLiteral("Unable to read first file.");
        case filelib::CompareError::SecondCannotBeRead:
            return QStringLiteral("Unable to read second file.");
        case filelib::CompareError::FirstEmpty:
            return QStringLiteral("First file is empty.");
        case filelib::CompareError::SecondEmpty:
            return QStringLiteral("Second file is empty.");
    }
    return QString();
}

QStringList ReliabilityTestFailureLines(const TestKey& key)
{
    QStringList lines{QStringLiteral("Reliability test failed.")};
    if (!key.generated) {
        lines << QStringLiteral("Key: ") + QString::number(key.key.normalizedKey.size()) +
                     QStringLiteral(" bytes, ") + OwnKeyText(key.key) + QLatin1Char('.');
        return lines;
    }
    lines << QStringLiteral("Ascii values of bytes in key:");
    QString values;
    for (const unsigned char byte : key.key.lastKeyText.View())
        values += QString::number(byte) + QLatin1Char(' ');
    return lines << values;
}

QStringList ReliabilityTestClosingLines(int performances, int fileCount)
{
    QString times;
    if (performances == 1)
        times = QStringLiteral("once");
    else if (performances == 2)
        times = QStringLiteral("twice");
    else
        times = QString::number(performances) + QStringLiteral(" times");
    QStringList lines;
    if (LongFileList(fileCount)) lines << QString();
    return lines << QString()
                 << QStringLiteral("The reliability test was performed ") + times + QLatin1Char('.')
                 << QStringLiteral("All decrypted files were found to be identical with the original files.");
}

QString LaunchEndReason(TestLaunchEnd end)
{
    switch (end) {
        case TestLaunchEnd::Ran:
            break;
        case TestLaunchEnd::CheckFailed:
            return QStringLiteral("a check of the setup refused it");
        case TestLaunchEnd::DuplicateOutputNames:
            return QStringLiteral("the output file specification gives duplicate output file names");
        case TestLaunchEnd::NothingToProcess:
            return QStringLiteral("the test files hold 0 bytes");
        case TestLaunchEnd::DriveUnreadable:
            return QStringLiteral("the output drive could not be read");
        case TestLaunchEnd::InsufficientSpace:
            return QStringLiteral("there is not enough disk space");
    }
    return QString();
}

}  // namespace kyv
