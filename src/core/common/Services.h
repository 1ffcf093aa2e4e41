#pragma once
// What the program's logic asks the world through: the clock, the questions, the file dialogs, the
// drives' free space and which of them are floppies, where the program lives, and the cipher
// engine. Built once, by the program (src/app/main.cpp) and by kyv's session, and handed to the
// constructors of whatever needs them; tests build it from fakes.

namespace kyv {

class Clock;
class FileDialogs;
class FreeSpaceSource;
class Prompter;
struct ProgramPaths;

namespace cipher {
class CipherEngine;
}
namespace platform {
class FloppyFolders;
}

struct Services {
    const Clock& clock;
    Prompter& prompter;
    FileDialogs& fileDialogs;
    FreeSpaceSource& freeSpace;
    const ProgramPaths& paths;
    cipher::CipherEngine& engine;
    // The folders that count as floppy drives (tests declare some).
    const platform::FloppyFolders& floppies;
};

}  // namespace kyv
