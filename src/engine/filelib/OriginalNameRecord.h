#pragma once
// The record a purge leaves on a file before it renames it to a meaningless name: the file's own
// name, in an extended attribute. Should the purge be cut short, `kyv recover` pairs the hidden
// file with its result by this record rather than by length. The name is no secret (the result's
// temporary name shows it too), and it goes with the file when the purge deletes it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kyv::filelib {

// Records `name` on the open file, unless it has a record already; false where it has one, or the
// file system takes none.
bool RecordOriginalName(int descriptor, std::string_view name);
// Takes the record off again, for a file that keeps its name after all.
void ForgetOriginalName(int descriptor);
// The name recorded on the file at `path` (not following a link); none when there is none.
[[nodiscard]] std::optional<std::string> RecordedOriginalName(const std::filesystem::path& path);

}  // namespace kyv::filelib
