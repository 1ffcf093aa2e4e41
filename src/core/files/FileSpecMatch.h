#pragma once
// The one rule by which a file name is tested against a file specification ("report.doc", "*.*",
// "*.txt", "a?c*.d*"). Base and extension are matched separately; "*" stops at the first
// occurrence of the literal that follows it (no backtracking), so "*a" matches "ba" but not
// "banana".

#include <QString>

namespace kyv {

// False for a name holding a wildcard, or a path character of the platform (":" and "\" on
// Windows); such a name never matches a specification.
[[nodiscard]] bool IsPlainFileName(const QString& name);

// True when `name` (a file name, never a path) satisfies `fileSpec`. Every caller in the program
// passes caseSensitive = false.
[[nodiscard]] bool MatchesFileSpec(const QString& name, const QString& fileSpec, bool caseSensitive);

// Matches one base or one extension against the corresponding part of a specification.
[[nodiscard]] bool MatchNamePart(const QString& namePart, const QString& patternPart, bool caseSensitive);

}  // namespace kyv
