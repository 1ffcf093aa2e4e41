#pragma once
// A copy of the setup that "Restore setup" returns to: the three flags and both sides' folders and
// file specifications. The key is never part of it.

#include <QString>
#include <array>

#include "core/common/OperationSetup.h"

namespace kyv {

struct SetupSnapshot {
    Direction direction = Direction::Encrypt;
    bool inPlace = false;
    bool includeSubfolders = false;
    std::array<platform::FilePath, 2> folders;
    std::array<QString, 2> fileSpecs;

    bool operator==(const SetupSnapshot&) const = default;
};

[[nodiscard]] SetupSnapshot SnapshotOf(const OperationSetup& setup);

}  // namespace kyv
