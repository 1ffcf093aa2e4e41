#pragma once
// One file replaced in place by the result made from it, in named stages: a temporary file is
// reserved and the engine writes the result into it; the result is made durable, read back, the
// original purged and the result given the original's name. What each stage learns stays in the
// object, and a stage does nothing once the replacement has ended, so the stages of several files
// can be run stage by stage over all of them. A crash between any two stages leaves the file
// either as it was, or as a complete result under its own name or under the temporary name.

#include <QString>
#include <filesystem>
#include <functional>

#include "core/operation/FileResult.h"
#include "core/operation/InPlaceFiles.h"

namespace kyv::platform {
class OpenedFile;
}

namespace kyv {

class InPlaceReplacement {
public:
    // `original` is the file under `path` as opened for reading; it must outlive this object.
    InPlaceReplacement(platform::FilePath path, platform::OpenedFile& original,
                       const platform::FloppyFolders& floppies);

    // In this order; ReadBack may be left out.
    // A new, private file for the result; no free name ends the replacement.
    void ReserveTemporary();
    // The engine wrote into the temporary file with this outcome: a failure ends the replacement,
    // and a temporary file left empty is removed (a partial result stays for the user).
    void ResultWritten(const FileResult::Outcome& engineOutcome);
    // The result made durable on its device. The original goes only when its replacement is
    // certainly there, and a result of what the file was is no replacement for what it has become.
    void Flush();
    // `intact` reads the result back from its device; a device that lost or garbled it must not
    // cost the original too.
    void ReadBack(const std::function<bool(const std::filesystem::path&)>& intact);
    // The original overwritten (`level` passes) and deleted, if it is still the file that was read.
    void PurgeOriginal(int level);
    // The result takes the original's name and then its access.
    void Rename();

    [[nodiscard]] bool Ended() const { return ended_; }
    // How the replacement ended, or Done while it goes on.
    [[nodiscard]] const FileResult::Outcome& Outcome() const { return outcome_; }
    // Where the result is written, and stays when it cannot take the original's name; empty when
    // none was reserved or it was removed.
    [[nodiscard]] const platform::FilePath& TemporaryPath() const { return temporaryPath_; }
    // When the purge left the original emptied under another name: that name.
    [[nodiscard]] const platform::FilePath& EmptiedOriginalPath() const { return emptiedOriginalPath_; }

private:
    void End(FileResult::Outcome outcome);
    void RemoveTemporary();

    platform::FilePath path_;
    platform::OpenedFile& original_;
    const platform::FloppyFolders& floppies_;
    platform::FilePath temporaryPath_;
    // Whether the original was written to or its entry changed while the engine read it.
    bool changedWhileRead_ = false;
    OriginalPurge purge_;
    platform::FilePath emptiedOriginalPath_;
    bool ended_ = false;
    FileResult::Outcome outcome_ = FileDecision::Done;
};

}  // namespace kyv
