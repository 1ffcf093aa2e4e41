#pragma once
// The program's view of the numbered program texts.

#include <QString>

namespace kyv {

inline constexpr auto kProgramTextFileName = "kyve.dat";

// Path of the program-text file in `programFolder`: one separator between folder and name, also
// when the folder is a root that already ends in one.
QString ProgramTextPath(const QString& programFolder, const QString& fileName);

// Loads the program-text file; the library's result (1 or more: loaded).
[[nodiscard]] int LoadProgramText(const QString& path);

// What the user is told for a load result below 1.
QString ProgramTextLoadMessage(int result, const QString& path);

// Text `number`, or "" when the file defines none.
QString GetText(int number);

}  // namespace kyv
