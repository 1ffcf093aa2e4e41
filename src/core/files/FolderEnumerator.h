#pragma once
// Goes through the entries of one folder in the order the file system lists them, nothing sorted
// and no attribute looked at (hidden files are entries like any other).

#include <QString>
#include <filesystem>
#include <system_error>

namespace kyv {

class FolderEnumerator {
public:
    enum class EntryKind {
        File,    // a regular file, or a link to one
        Folder,  // a folder, or a link to one
        Other    // fifos, sockets, devices, dangling links: never input, never walked
    };

    // Opens the folder; Failed() tells whether that worked.
    explicit FolderEnumerator(const QString& folder);

    // Moves to the next entry; false at the end of the folder or when reading fails.
    [[nodiscard]] bool Next();
    [[nodiscard]] EntryKind Kind() const { return m_kind; }
    // The current entry's name (not its path).
    [[nodiscard]] QString Name() const;

    [[nodiscard]] bool Failed() const { return static_cast<bool>(m_error); }
    // The system's description of the failure ("Permission denied").
    [[nodiscard]] QString ErrorText() const;

private:
    std::error_code m_error;  // declared first: the iterator's constructor writes it
    std::filesystem::directory_iterator m_iterator;
    EntryKind m_kind = EntryKind::Other;
    bool m_started = false;
};

}  // namespace kyv
