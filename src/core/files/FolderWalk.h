#pragma once
// One walk for every run over folders: the input folder, then (with subfolders) each lower folder
// depth-first, each real folder once however many links lead to it. Each folder is listed when the
// walk reaches it, so files that arrive or go meanwhile are seen as they are then; the visitor gets
// the folder's plan and decides how the walk goes on.

#include <QString>
#include <vector>

#include "core/files/FolderPlan.h"

namespace kyv {

struct WalkRequest {
    platform::FilePath inputFolder;
    QString inputSpec;
    platform::FilePath outputFolder;  // the top folder's; lower folders' outputs lie beside their inputs
    QString outputSpec;
    bool inPlace = false;  // output names are the input names
    bool includeSubfolders = false;
    // Folder paths with their drive letter upper-cased and the rest lower-cased (the listing's form).
    bool normalizePathCase = false;
};

// After a folder: into its subfolders, past them (on to the next folder), or no further at all.
enum class WalkOn { Subfolders, SkipSubfolders, End };

class FolderWalkVisitor {
public:
    virtual ~FolderWalkVisitor() = default;
    // Before the folder is listed; false leaves it out, its subfolders too.
    virtual bool Enter(const platform::FilePath& /*inputFolder*/, const platform::FilePath& /*outputFolder*/,
                       bool /*sameFolder*/)
    {
        return true;
    }
    // After the folder and everything below it, for each folder that Enter let in.
    virtual void Leave() {}
    // The folder could not be listed; `errorText` is the system's description.
    virtual WalkOn Unreadable(const platform::FilePath& folder, const QString& errorText) = 0;
    virtual WalkOn Visit(const FolderPlan& plan) = 0;
    // After each subfolder's walk; false ends the walk.
    virtual bool GoOn() { return true; }
};

// Walks as the request says; false when the visitor ended the walk.
bool WalkFolders(const WalkRequest& request, FolderWalkVisitor& visitor);

// A folder that could not be listed, and why.
struct UnreadableFolder {
    platform::FilePath folder;
    QString errorText;
};

// Every folder's plan at once, for looking ahead (the size estimate). The walk stops below a
// folder whose output names collide, as a run would.
struct WalkPlans {
    std::vector<FolderPlan> plans;
    std::vector<UnreadableFolder> unreadable;
};
[[nodiscard]] WalkPlans PlanFolders(const WalkRequest& request);

}  // namespace kyv
