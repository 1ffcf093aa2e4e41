#pragma once

#include <deque>
#include <vector>

#include "core/common/FileDialogs.h"

namespace kyv::test {

// Answers each dialog from one script (a path, or nothing for Cancel) and records every request.
// A dialog shown with an empty script fails the test.
class FakeFileDialogs final : public FileDialogs {
public:
    enum class Kind { Open, Save, Folder };
    struct Request {
        Kind kind;
        FileDialogRequest request;
    };

    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    std::optional<QString> BrowseForFolder(const QString& title, const QString& startFolder) override;

    FakeFileDialogs& Choose(const QString& path);
    FakeFileDialogs& Cancel();

    std::vector<Request> requests;
    std::deque<std::optional<QString>> script;

private:
    std::optional<QString> Next(Kind kind, const FileDialogRequest& request);
};

}  // namespace kyv::test
