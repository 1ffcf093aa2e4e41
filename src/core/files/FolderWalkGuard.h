#pragma once
// Keeps a walk from entering the same real folder twice. A link that leads back into the walked
// tree (or to a folder walked already by another path) would otherwise make the walk loop without
// end, or work on the same files twice.

#include <QString>
#include <set>
#include <string>
#include <utility>

#include "platform/FilePath.h"

namespace kyv {

class FolderWalkGuard {
public:
    // True the first time a real folder is met, whatever path or link leads to it; false when it
    // has been met before. A folder that cannot be examined counts as new, so that the walk meets
    // (and reports) its failure when it opens it.
    [[nodiscard]] bool FirstVisit(const platform::FilePath& folder);

private:
#ifdef _WIN32
    std::set<std::wstring> visited_;  // canonical paths
#else
    std::set<std::pair<unsigned long long, unsigned long long> > visited_;  // device and inode
#endif
};

}  // namespace kyv
