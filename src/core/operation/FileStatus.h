#pragma once
// The result of one file of an operation and its wording in the file's report line.

#include <QString>

#include "engine/cipher/CipherEngine.h"

namespace kyv {

// A decision of the operation (0 to 8) or, when negative, a result code of the cipher engine.
enum FileStatus : int {
    kStatusDone = 0,
    kStatusOwnExecutable = 1,
    kStatusCurrentKeyfile = 2,
    kStatusEmptyFile = 3,
    kStatusTooSmallToDecrypt = 4,
    kStatusNoTemporaryName = 5,
    kStatusRenameFailed = 6,
    kStatusProtectedExtension = 7,
    kStatusRenameFailedOnFloppy = 8,
};

// The status of a file the engine worked on: the number of the engine's result.
[[nodiscard]] int StatusFromEngine(cipher::CipherResult result);

// Statuses 0, 6 and 8 leave a result (under the file's name or under the temporary name).
[[nodiscard]] bool StatusCountsAsDone(int status);

// What the report line says about a status other than 0 (which is worded with the output size).
struct StatusWording {
    bool encrypting = true;
    QString path;           // the input file
    QString temporaryPath;  // in-place work: where the result or a partial result lies
};
[[nodiscard]] QString StatusMessage(int status, const StatusWording& wording);

// The engine may have written part of the plaintext before failing.
[[nodiscard]] bool StatusMayLeavePartialPlaintext(int status);

}  // namespace kyv
