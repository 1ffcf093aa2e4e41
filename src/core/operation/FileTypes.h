#pragma once
// What the operation knows about file names: extensions, the types it will not change in place,
// and the types that antivirus software watches.

#include <QString>
#include <QStringList>

namespace kyv {

// The part of the file name (after the last separator) that follows its last point; empty when
// the name has none. Lower-cased when asked.
[[nodiscard]] QString GetFileExtension(const QString& path, bool lower);

// A name whose extension (after the last point, upper-cased) has three characters and is one
// that antivirus software watches: XL?, OV?, SHS, RTF, PPT, MSO, MDB, DOT, CPL, CLA, CBT, ADT,
// BAT, INI, SYS, SCR, EXE, DRV, DOC, DLL, COM, BIN, 386.
[[nodiscard]] bool IsAntivirusSensitiveType(const QString& name);

// Extensions of files that are never encrypted or decrypted in place (programs, drivers,
// settings, swap): encrypting them where they are could leave the system unable to start.
class ProtectedExtensions {
public:
    ProtectedExtensions() { InitProtectedExtensions(); }
    void InitProtectedExtensions();
    // `extension` lower-cased, without the point.
    [[nodiscard]] bool Contains(const QString& extension) const;

private:
    QStringList extensions_;
};

}  // namespace kyv
