#pragma once
// Where the disk-space check learns how much room a drive has. The program asks the drive;
// tests give exact figures.

#include <QString>
#include <QtGlobal>
#include <optional>

namespace kyv {

class FreeSpaceSource {
public:
    virtual ~FreeSpaceSource() = default;
    // Bytes available to the user on the drive holding `path`; nothing when it cannot be read.
    [[nodiscard]] virtual std::optional<quint64> FreeBytes(const QString& path) = 0;
};

// The drive's own figure, through the platform layer.
class DriveFreeSpace final : public FreeSpaceSource {
public:
    [[nodiscard]] std::optional<quint64> FreeBytes(const QString& path) override;
};

}  // namespace kyv
