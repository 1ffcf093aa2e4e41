#pragma once
// Keeps the window responsive while a folder is read: pending events are processed as files are
// examined.

namespace kyv {

class EventPacer {
public:
    void FileExamined();
};

}  // namespace kyv
