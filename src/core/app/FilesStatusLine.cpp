#include "core/app/FilesStatusLine.h"

#include <filesystem>
#include <system_error>

#include "core/app/FileSizeText.h"
#include "core/app/PathParts.h"
#include "core/app/ShortenPath.h"
#include "core/files/FolderPath.h"
#include "engine/filelib/Randomness.h"
#include "platform/Drives.h"

namespace kyv {

namespace {

constexpr int kMaxFolderLength = 70;
constexpr int kMaxDescribedWildcardLength = 20;
constexpr int kDescriptionGap = 300;  // twips between a specification and its description
constexpr double kLeastKyvLikeRandomness = 0.8;

int AfterSpecification(qsizetype characters, int gap)
{
    return static_cast<int>(characters) * kStatusCharWidthTwips + gap;
}

// An output file that would be overwritten. Its existence and length are all that matter here, so
// the file is not read: a short existing file is reported too.
QString DescribeOutputFile(const FilePath& file, bool outputFilesSame)
{
    if (outputFilesSame) return QString();
    std::error_code error;
    if (std::filesystem::is_regular_file(file, error) && std::filesystem::file_size(file, error) > 0 &&
        !error)
        return QStringLiteral("(File exists already.)");
    return QString();
}

}  // namespace

FilesStatusLine DescribeFilesSide(const OperationSetup& setup, const WorkingValues& values, int side,
                                  const platform::FloppyFolders& floppies)
{
    const FilePath& folder = setup.folders[side];
    const QString& spec = setup.fileSpecs[side];
    const QString shownFolder = folder.Display();
    const QString shownSpec = DisplayName(spec);
    FilesStatusLine line;
    if (shownFolder.size() > kMaxFolderLength)
        line.folderTexts = ShortenPath(shownFolder, kMaxFolderLength);
    else
        line.folderTexts = folder.IsEmpty() ? values.notSpecifiedText : shownFolder;
    line.specTexts = spec.isEmpty() ? values.notSpecifiedText : shownSpec;

    const bool wild = ContainsWildcard(spec);
    if (!wild || spec.size() > kMaxDescribedWildcardLength || side == kOutputSide) {
        if (spec.isEmpty()) return line;
        if (platform::IsFloppyDrivePath(folder, floppies) || wild) {
            line.descriptionLeft = AfterSpecification(shownSpec.size(), kDescriptionGap);
            return line;
        }
        const FilePath file = folder.WithSuffix(spec);
        line.filePath = file.Text();
        line.descriptionLeft = AfterSpecification(shownSpec.trimmed().size(), kDescriptionGap);
        if (side == kOutputSide) {
            line.specExplanations = DescribeOutputFile(file, setup.inPlace);
        } else {
            line.specExplanations = FileSizeText(file, 2);
            line.measurePath = file;
        }
        return line;
    }

    if (spec == QStringLiteral("*.*")) {
        line.specExplanations = QStringLiteral("(All files.)");
        line.descriptionLeft = AfterSpecification(spec.size() + 2, 0);
        return line;
    }
    if (spec.startsWith(QStringLiteral("*.")))
        line.specExplanations =
            QStringLiteral("(All files with extension \"") + spec.mid(2) + QStringLiteral("\".)");
    else
        line.specExplanations =
            QStringLiteral("(All files of the form \"") + shownSpec + QStringLiteral("\".)");
    line.descriptionLeft = AfterSpecification(spec.size(), kDescriptionGap);
    return line;
}

QString DescribeInputFile(const FilePath& path, double randomness, double minKyvRandomness)
{
    if (randomness == filelib::kRandomnessReadError) return QStringLiteral("(Error reading file.)");
    if (randomness == filelib::kRandomnessNotFound) return QStringLiteral("(File not found.)");
    if (randomness == filelib::kRandomnessEmpty) return QStringLiteral("(File is empty.)");
    QString text = FileSizeText(path, 2);
    // A file too short to measure (or any other error value) is no evidence either way.
    if (filelib::IsRandomnessError(randomness)) return text;
    if (randomness > minKyvRandomness)
        text += QStringLiteral("  (Seems to be either encrypted or compressed.)");
    else if (randomness < kLeastKyvLikeRandomness)
        text += QStringLiteral("  (Seems not Kyv-encrypted.)");
    return text;
}

}  // namespace kyv
