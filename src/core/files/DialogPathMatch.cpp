#include "core/files/DialogPathMatch.h"

#include <QStringList>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/files/FolderPath.h"

namespace kyv {

namespace {

// The entries of `folder` that Qt shows as `shownName`. A real name holding U+FFFD is one of them.
std::vector<QString> EntriesShownAs(const QString& folder, const QString& shownName)
{
    std::vector<QString> fits;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(FilePath(folder), error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string bytes = entry->path().filename().native();
        if (QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())) == shownName)
            fits.push_back(FilePath::TextOf(bytes.c_str()));
    }
    return fits;
}

}  // namespace

DialogPathMatch MatchDialogPath(const QString& dialogPath)
{
#ifdef _WIN32
    // Names there are UTF-16 and reach the dialog whole.
    return {dialogPath, {}};
#else
    const QStringList names = dialogPath.split(u'/');
    QString matched;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (i > 0) matched += u'/';
        if (!names[i].contains(QChar::ReplacementCharacter)) {
            matched += names[i];
            continue;
        }
        const QString folder = matched.isEmpty() ? QStringLiteral(".") : matched;
        const std::vector<QString> fits = EntriesShownAs(folder, names[i]);
        if (fits.size() > 1) return {std::nullopt, folder};
        matched += fits.empty() ? names[i] : fits.front();
    }
    return {matched, {}};
#endif
}

}  // namespace kyv
