#include "support/FakeFileDialogs.h"

#include "support/TestFailure.h"

namespace kyv::test {

std::optional<QString> FakeFileDialogs::Next(Kind kind, const FileDialogRequest& request)
{
    requests.push_back({kind, request});
    if (script.empty()) {
        ReportTestFailure("unscripted file dialog: \"" + request.title.toStdString() + "\"");
        return std::nullopt;
    }
    auto answer = script.front();
    script.pop_front();
    return answer;
}

std::optional<QString> FakeFileDialogs::OpenFile(const FileDialogRequest& request)
{
    return Next(Kind::Open, request);
}

std::optional<QString> FakeFileDialogs::SaveFile(const FileDialogRequest& request)
{
    return Next(Kind::Save, request);
}

std::optional<QString> FakeFileDialogs::BrowseForFolder(const QString& title, const QString& startFolder)
{
    return Next(Kind::Folder, FileDialogRequest{title, QString(), QString(), startFolder});
}

FakeFileDialogs& FakeFileDialogs::Choose(const QString& path)
{
    script.emplace_back(path);
    return *this;
}

FakeFileDialogs& FakeFileDialogs::Cancel()
{
    script.emplace_back(std::nullopt);
    return *this;
}

}  // namespace kyv::test
