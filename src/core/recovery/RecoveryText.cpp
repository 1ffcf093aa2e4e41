#include "core/recovery/RecoveryText.h"

#include "core/files/FolderPath.h"

namespace kyv {

namespace {

QString NameText(const FilePath& path) { return path.Name().Text(); }

QString FolderText(const FilePath& folder) { return folder.AsFolder().Text(); }

}  // namespace

QString LeftoverDescription(const Leftover& leftover)
{
    const QString related = NameText(leftover.related);
    switch (leftover.kind) {
        case Leftover::Kind::Reservation:
            return QStringLiteral("An empty file an interrupted in-place run reserved for the result of ") +
                   related + QStringLiteral(", which is intact. It holds nothing: delete it.");
        case Leftover::Kind::WorkingFile:
            if (leftover.action == Leftover::Action::Leave)
                return QStringLiteral("The unfinished output of an interrupted run for ") + related +
                       QStringLiteral(
                           ", which is not here. It may hold data that is nowhere else: look at "
                           "it before you delete it.");
            return QStringLiteral("The unfinished output of an interrupted run") +
                   (related.isEmpty() ? QString() : QStringLiteral(" for ") + related) +
                   QStringLiteral(
                       ". A run removes nothing before its output is complete, so its input is "
                       "intact: delete it.");
        case Leftover::Kind::ResultBesideOriginal:
            return (leftover.decrypted ? QStringLiteral("A complete decrypted result of ")
                                       : QStringLiteral("A complete encrypted result of ")) +
                   related +
                   QStringLiteral(" from an in-place run that ended before it purged the original; ") +
                   related + QStringLiteral(" is intact. Nothing is lost: delete this file, or keep it if ") +
                   related + QStringLiteral(" has changed since and you want this older version.");
        case Leftover::Kind::OrphanResult:
            return QStringLiteral("The complete encrypted result of ") + related +
                   QStringLiteral(
                       ", whose original is gone: the run was interrupted while it purged the "
                       "original. It takes the name ") +
                   related +
                   (leftover.authenticated
                        ? QStringLiteral(". Authenticated with the key given.")
                        : QStringLiteral(". Recognised by its structure only (complete, not authenticated): "
                                         "give the key to check it too."));
        case Leftover::Kind::DecryptedResult:
            return QStringLiteral("The decrypted result of ") + related +
                   QStringLiteral(
                       ", whose encrypted original was being purged under a meaningless name. "
                       "It takes the name ") +
                   related + QLatin1Char('.');
        case Leftover::Kind::UnprovenResult:
            return QStringLiteral("May be the decrypted result of an in-place decryption of ") + related +
                   QStringLiteral(
                       " interrupted while it purged the original; nothing here shows it. If it "
                       "is, rename it to ") +
                   related + QLatin1Char('.');
        case Leftover::Kind::UnauthenticResult:
            return QStringLiteral("Shaped like the encrypted result of ") + related +
                   QStringLiteral(
                       ", whose original is gone, but it does not authenticate with the key "
                       "given: damaged, or made with another key. Check it with kyv verify.");
        case Leftover::Kind::AmbiguousResult:
            return QStringLiteral("A complete encrypted result that could belong to ") + related +
                   QStringLiteral(
                       " or to another file of a similar name. Decrypt it to see which, then "
                       "rename or delete it.");
        case Leftover::Kind::CutNameResult:
            return QStringLiteral(
                       "A complete encrypted result whose original is gone: the run was "
                       "interrupted while it purged the original. The original's name was too "
                       "long to keep whole here; it began with ") +
                   related + QStringLiteral(". Rename this file to that full name.");
        case Leftover::Kind::HalfPurged:
            return QStringLiteral("The original of ") + related +
                   QStringLiteral(
                       ", caught in its purge (renamed, and overwritten in part or not yet), as the "
                       "purge's record on it says; its data is in ") +
                   NameText(leftover.result) + QStringLiteral(". Purge it.");
        case Leftover::Kind::EmptyHidden:
            return QStringLiteral("The original of ") + related +
                   QStringLiteral(", emptied by an interrupted purge. It holds nothing: delete it.");
        case Leftover::Kind::UnrecordedHidden:
            if (leftover.result.empty())
                return QStringLiteral(
                    "An empty file with a meaningless name, as a purge gives an original, but "
                    "nothing on it records that it was one: it may be a file of yours. It holds "
                    "nothing; delete it yourself if it is not yours.");
            return QStringLiteral(
                       "A meaningless name, as a purge gives an original before it overwrites it, "
                       "and the length of the original of ") +
                   related + QStringLiteral(" (whose result is ") + NameText(leftover.result) +
                   QStringLiteral(
                       "), but nothing on it records that it was one: it may be a file of yours, "
                       "so it is left as it is. If it is not yours, check that ") +
                   related +
                   QStringLiteral(
                       " holds what you expect (kyv verify, or decrypt it); then delete this "
                       "file yourself.");
        case Leftover::Kind::UnknownHidden:
            return QStringLiteral(
                "A meaningless name, as a purge gives an original before it overwrites "
                "it, but no result here holds its data: it may be the only copy of "
                "something. Look at it before you delete it.");
        case Leftover::Kind::AmbiguousHidden: {
            QStringList names;
            for (const std::filesystem::path& candidate : leftover.candidates) names << NameText(candidate);
            return QStringLiteral(
                       "A meaningless name, as a purge gives an original before it overwrites it. "
                       "Nothing on it records which file it was, and by its length it could go with "
                       "more than one file here (") +
                   names.join(QStringLiteral(", ")) +
                   QStringLiteral(
                       "), so it is left as it is. Check that each result among them holds what you "
                       "expect (kyv verify, or decrypt it); then delete this file yourself.");
        }
    }
    return QString();
}

QString RepairOutcomeText(const RepairedLeftover& item)
{
    const Leftover& leftover = item.leftover;
    switch (item.outcome) {
        case RepairOutcome::Listed:
            switch (leftover.action) {
                case Leftover::Action::Remove:
                    return QStringLiteral("--apply deletes it.");
                case Leftover::Action::Rename:
                    return QStringLiteral("--apply renames it to ") + NameText(leftover.related) +
                           QLatin1Char('.');
                case Leftover::Action::Purge:
                    return QStringLiteral("--apply purges it.");
                case Leftover::Action::Leave:
                    return QStringLiteral("--apply leaves it as it is.");
            }
            break;
        case RepairOutcome::Done:
            switch (leftover.action) {
                case Leftover::Action::Remove:
                    return QStringLiteral("Deleted.");
                case Leftover::Action::Rename:
                    return QStringLiteral("Renamed to ") + NameText(leftover.related) + QLatin1Char('.');
                case Leftover::Action::Purge:
                    return QStringLiteral("Purged.");
                case Leftover::Action::Leave:
                    break;
            }
            break;
        case RepairOutcome::Left:
            return QStringLiteral("Left as it is.");
        case RepairOutcome::Changed:
            return leftover.action == Leftover::Action::Purge
                       ? QStringLiteral(
                             "Left as it is: it changed since it was looked at, or its result did "
                             "not take its name.")
                       : QStringLiteral("Left as it is: it changed since it was looked at.");
        case RepairOutcome::Failed:
            return QStringLiteral("Left as it is: the file system refused.");
        case RepairOutcome::PurgeNotOverwritten:
            return QStringLiteral(
                "Deleted, but its overwrite failed: the disk may still hold its data in the "
                "blocks it used.");
        case RepairOutcome::PurgeNotRemoved:
            return QStringLiteral("Emptied, but it could not be deleted: the empty file is now ") +
                   NameText(item.leftAt) + QStringLiteral("; delete it yourself.");
    }
    return QString();
}

QStringList RecoveryReportLines(const RecoveryResult& result, bool applied)
{
    QStringList lines;
    int dealtWith = 0;
    for (const FolderRecovery& folder : result.folders) {
        lines << FolderText(folder.folder);
        if (folder.status == FolderRecovery::Status::Busy)
            lines << QStringLiteral(
                "  A run is working in this folder now: its temporary files are in use, "
                "not leftovers. Nothing here was looked at; run kyv recover again when "
                "that run has ended.");
        if (folder.status == FolderRecovery::Status::Unreadable)
            lines << QStringLiteral("  This folder cannot be read: ") + folder.error + QLatin1Char('.');
        for (const RepairedLeftover& item : folder.leftovers) {
            lines << QStringLiteral("  ") + NameText(item.leftover.path);
            lines << QStringLiteral("    ") + LeftoverDescription(item.leftover);
            lines << QStringLiteral("    ") + RepairOutcomeText(item);
            if (item.outcome == RepairOutcome::Done) ++dealtWith;
        }
        lines << QString();
    }
    const int found = result.LeftoverCount();
    if (found == 0 && !result.NeedsAttention()) {
        lines << QStringLiteral("No leftovers of interrupted runs found.");
    } else if (!applied) {
        lines << QString::number(found) +
                     (found == 1 ? QStringLiteral(" leftover") : QStringLiteral(" leftovers")) +
                     QStringLiteral(" found; nothing was changed.");
    } else {
        lines << QString::number(found) +
                     (found == 1 ? QStringLiteral(" leftover") : QStringLiteral(" leftovers")) +
                     QStringLiteral(" found; ") + QString::number(dealtWith) +
                     QStringLiteral(" dealt with, ") + QString::number(found - dealtWith) +
                     QStringLiteral(" left for you to look at.");
    }
    return lines;
}

}  // namespace kyv
