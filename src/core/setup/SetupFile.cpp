#include "core/setup/SetupFile.h"

#include <QRandomGenerator>
#include <QStringList>
#include <cerrno>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "core/files/FolderPath.h"
#include "engine/filelib/RegularFileReader.h"

namespace kyv {

namespace {

QByteArray FlagLine(bool flag) { return flag ? QByteArray(" 1 \r\n") : QByteArray(" 0 \r\n"); }

// Folders and names as the file system's bytes, so that one that is not UTF-8 comes back the same.
QByteArray QuotedLine(const FilePath& path)
{
    return '"' + QByteArray::fromStdString(path.Bytes()) + "\"\r\n";
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += n;
    }
    return true;
}

constexpr int kSetupItems = 9;
constexpr int kTemporaryNameAttempts = 100;

// Splits the file into its first nine fields: a field ends at a comma or a line end, spaces around
// it are skipped, and a field that starts with a double quote runs to the next double quote. A
// quote that is never closed makes the file unreadable (nothing when so).
std::optional<QStringList> Fields(const QString& content)
{
    QStringList fields;
    const qsizetype n = content.size();
    qsizetype i = 0;
    auto isSpace = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    auto isLineEnd = [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); };
    while (i < n && fields.size() < kSetupItems) {
        while (i < n && isSpace(content[i])) ++i;
        if (i >= n) break;
        QString field;
        if (content[i] == QLatin1Char('"')) {
            const qsizetype close = content.indexOf(QLatin1Char('"'), i + 1);
            if (close < 0) return std::nullopt;
            field = content.mid(i + 1, close - i - 1);
            i = close + 1;
            while (i < n && content[i] != QLatin1Char(',') && !isLineEnd(content[i])) ++i;
        } else {
            const qsizetype start = i;
            while (i < n && content[i] != QLatin1Char(',') && !isLineEnd(content[i])) ++i;
            field = content.mid(start, i - start).trimmed();
        }
        fields.append(field);
        if (i < n && content[i] == QLatin1Char(',')) {
            ++i;
        } else {
            // One line end (CR LF, LF or CR) closes the field.
            if (i < n && content[i] == QLatin1Char('\r')) ++i;
            if (i < n && content[i] == QLatin1Char('\n')) ++i;
        }
    }
    return fields;
}

// The file's bytes when it is a regular file no larger than a setup file can be; nothing for a
// pipe, a device, a folder or anything larger, which is never read.
std::optional<QByteArray> SetupFileBytes(const FilePath& path)
{
    filelib::RegularFileReader reader;
    if (reader.Open(path) != filelib::RegularFileReader::OpenResult::Opened) return std::nullopt;
    if (reader.Size() > kMaxSetupFileBytes) return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(reader.Size()), Qt::Uninitialized);
    if (!reader.ReadExactly(reinterpret_cast<unsigned char*>(bytes.data()),
                            static_cast<std::size_t>(bytes.size())))
        return std::nullopt;
    return bytes;
}

std::optional<bool> Flag(const QString& field)
{
    bool ok = false;
    const int value = field.toInt(&ok);
    if (!ok || (value != 0 && value != 1)) return std::nullopt;
    return value == 1;
}

}  // namespace

SetupFileContents ContentsOf(const OperationSetup& setup)
{
    return SetupFileContents{setup.Encrypts(),        setup.confirmEachFile, setup.inPlace,
                             setup.includeSubfolders, setup.folders,         setup.fileSpecs};
}

bool WriteSetupFile(const FilePath& path, const SetupFileContents& contents)
{
    QByteArray text = QByteArray(kProgramVersion) + "\r\n";
    text += FlagLine(contents.encrypt);
    text += FlagLine(contents.confirmEachFile);
    text += FlagLine(contents.inPlace);
    text += FlagLine(contents.includeSubfolders);
    for (int side : {kInputSide, kOutputSide}) {
        text += QuotedLine(contents.folders[side]);
        text += QuotedLine(FilePath(contents.fileSpecs[side]));
    }
    // Written to a new file that takes the path's place only once it is complete and on the disk,
    // so that a crash or a full disk never leaves half a setup. By the name's bytes: Qt's own
    // files would lose a name that is not UTF-8.
    const std::string& target = path.Bytes();
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < kTemporaryNameAttempts; ++attempt) {
        temporary =
            target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 16).toStdString();
        // Created as any new file is, with the user's usual permissions.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (written && ::rename(temporary.c_str(), target.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

std::optional<SetupFileContents> ReadSetupFile(const FilePath& path)
{
    const std::optional<QByteArray> bytes = SetupFileBytes(path);
    // A zero byte is never part of a text file: this is some other kind of file.
    if (!bytes || bytes->contains('\0')) return std::nullopt;
    const std::optional<QStringList> read = Fields(FilePath::TextOf(bytes->constData()));
    if (!read || read->size() < kSetupItems) return std::nullopt;
    const QStringList& fields = *read;
    const auto encrypt = Flag(fields[1]);
    bool confirmIsInteger = false;
    const bool confirm = fields[2].toInt(&confirmIsInteger) != 0;
    const auto same = Flag(fields[3]);
    const auto subfolders = Flag(fields[4]);
    if (!encrypt || !confirmIsInteger || !same || !subfolders) return std::nullopt;
    SetupFileContents contents;
    contents.encrypt = *encrypt;
    contents.confirmEachFile = confirm;
    contents.inPlace = *same;
    contents.includeSubfolders = *subfolders;
    contents.folders = {FilePath(fields[5]), FilePath(fields[7])};
    contents.fileSpecs = {fields[6], fields[8]};
    return contents;
}

}  // namespace kyv
