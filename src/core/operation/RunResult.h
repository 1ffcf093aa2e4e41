#pragma once
// What one run came to, as counts and flags: the report's closing lines are worded from it, and
// the command-line tool takes its exit status from it.

#include <QString>
#include <QtGlobal>

namespace kyv {

struct FileResult;

struct RunResult {
    // Files taken up; in a randomness report, files listed.
    int filesProcessed = 0;
    // Files with a result, those whose result waits under a temporary name included (as the
    // report counts them).
    int filesDone = 0;
    // Files turned down by the operation or failed by the engine.
    int filesFailed = 0;
    // Files the user chose not to decrypt.
    int filesSkipped = 0;
    // Files done whose result could not take its name: the user still has to act on them.
    int resultsUnderTemporaryName = 0;
    // Files done in place whose original's purge fell short: the disk may keep their old data.
    int purgesFellShort = 0;
    // Entries an encryption was asked to cover and could not take (fifos, devices, names with "*"
    // or "?"): their data stays as it was.
    int plaintextLeftOut = 0;
    // Folders whose files were not processed: unreadable, or in use by another run.
    int foldersNotProcessed = 0;
    // The input bytes of the files done.
    qint64 bytesDone = 0;
    // The run ended at a stop (the user's, or an "Abort?" answered Yes).
    bool stopped = false;
    // A folder's output specification gave duplicate names: none of its files was touched.
    bool duplicateOutputNames = false;

    // Counts a file whose work is over.
    void Record(const FileResult& file);
};

}  // namespace kyv
