#pragma once
// `kyv verify`: authenticates encrypted files with the key without writing any plaintext, so that
// a backup can be checked before its originals are deleted.

namespace kyv::cli {

struct CommandLine;
class Session;

// One line per matching file: "authentic", or why not. Exit status 0 when at least one file was
// checked and every file checked is authentic.
[[nodiscard]] int RunVerifyCommand(const CommandLine& line, Session& session);

}  // namespace kyv::cli
