#pragma once
// A path as the file system holds it: its bytes, whatever they are. Names that are not UTF-8 are
// opened, renamed and removed like any other, and no two paths are the same unless their bytes
// are. The program's text of a path (QString) keeps every such byte as one of the lone surrogates
// U+DC80 to U+DCFF, so text and bytes go back and forth unchanged; people read each such byte as
// \xNN.

#include <QString>
#include <compare>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace kyv::platform {

class FilePath {
public:
    FilePath() = default;
    // The file system's bytes as they are. Implicit, as is the way back to a std::filesystem::path
    // below: bytes are a path already, so a system call takes a FilePath and a FilePath parameter
    // takes what the system or the engine gives, with nothing converted at either side.
    FilePath(std::filesystem::path bytes) : bytes_(std::move(bytes)) {}
    FilePath(const char* bytes) : bytes_(bytes) {}
    // The program's text of a path (or of a name): explicit, since this is a conversion.
    explicit FilePath(const QString& text);

    // The program's text: reversible, for setups, lists and the walk's name matching.
    [[nodiscard]] QString Text() const { return TextOf(Bytes()); }
    // The same for bytes that are no path object, as those kept in wiped memory.
    [[nodiscard]] static QString TextOf(std::string_view bytes);
    // As people read it: each byte that is not UTF-8 shown as \xNN.
    [[nodiscard]] QString Display() const;

    // What the system calls take.
    [[nodiscard]] const std::filesystem::path& System() const { return bytes_; }
    operator const std::filesystem::path&() const { return bytes_; }
    [[nodiscard]] const char* CString() const { return bytes_.c_str(); }
    [[nodiscard]] const std::string& Bytes() const { return bytes_.native(); }
    [[nodiscard]] bool IsEmpty() const { return bytes_.empty(); }

    // The entry `name` of this folder ("/data/" or "/data" with "a" gives "/data/a").
    [[nodiscard]] FilePath operator/(const FilePath& name) const;
    [[nodiscard]] FilePath operator/(const QString& name) const { return *this / FilePath(name); }
    // A non-empty path with exactly one trailing separator ("/data//" gives "/data/", "/" stays "/").
    [[nodiscard]] FilePath AsFolder() const;
    // The folder holding the last entry of the path, ending in one separator ("/data/a" and
    // "/data/a/" give "/data/", "/" stays "/", a bare name gives an empty path).
    [[nodiscard]] FilePath Parent() const;
    // The last entry's name without separators ("/data/a/" gives "a", "/" gives an empty name).
    [[nodiscard]] FilePath Name() const;
    // The path with the text appended to its last name ("a" with "~" gives "a~").
    [[nodiscard]] FilePath WithSuffix(const QString& suffix) const;

    friend bool operator==(const FilePath& first, const FilePath& second)
    {
        return first.Bytes() == second.Bytes();
    }
    friend std::strong_ordering operator<=>(const FilePath& first, const FilePath& second)
    {
        return first.Bytes() <=> second.Bytes();
    }

private:
    std::filesystem::path bytes_;
};

// The program's text of a name or path as people read it: each byte that was not UTF-8 shown as
// \xNN.
[[nodiscard]] QString DisplayName(const QString& text);

// The index of the first byte of the text that was not UTF-8, or -1 when it is all UTF-8.
[[nodiscard]] qsizetype FirstEscapedByte(const QString& text);

}  // namespace kyv::platform
