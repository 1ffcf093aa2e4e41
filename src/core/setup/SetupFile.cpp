#include "core/setup/SetupFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace kyv {

namespace {

QByteArray FlagLine(bool flag) { return flag ? QByteArray(" 1 \r\n") : QByteArray(" 0 \r\n"); }

QByteArray QuotedLine(const QString& text) { return '"' + text.toLocal8Bit() + "\"\r\n"; }

// Splits the file into its fields: a field ends at a comma or a line end, spaces around it are
// skipped, and a field that starts with a double quote runs to the next double quote.
QStringList Fields(const QString& content)
{
    QStringList fields;
    const qsizetype n = content.size();
    qsizetype i = 0;
    auto isSpace = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    auto isLineEnd = [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); };
    while (i < n) {
        while (i < n && isSpace(content[i])) ++i;
        if (i >= n) break;
        QString field;
        if (content[i] == QLatin1Char('"')) {
            const qsizetype close = content.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? n : close;
            field = content.mid(i + 1, end - i - 1);
            i = close < 0 ? n : close + 1;
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

bool WriteSetupFile(const QString& path, const SetupFileContents& contents)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QByteArray text = QByteArray(kProgramVersion) + "\r\n";
    text += FlagLine(contents.encrypt);
    text += FlagLine(contents.confirmEachFile);
    text += FlagLine(contents.inPlace);
    text += FlagLine(contents.includeSubfolders);
    for (int side : {kInputSide, kOutputSide}) {
        text += QuotedLine(contents.folders[side]);
        text += QuotedLine(contents.fileSpecs[side]);
    }
    if (file.write(text) != text.size()) return false;
    return file.commit();
}

std::optional<SetupFileContents> ReadSetupFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    const QStringList fields = Fields(QString::fromLocal8Bit(bytes));
    if (fields.size() < 9) return std::nullopt;
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
    contents.folders = {fields[5], fields[7]};
    contents.fileSpecs = {fields[6], fields[8]};
    return contents;
}

}  // namespace kyv
