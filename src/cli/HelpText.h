#pragma once

#include <QString>

namespace kyv::cli {

// What `kyv --help` prints.
[[nodiscard]] QString HelpText();

// What `kyv --version` prints.
[[nodiscard]] QString VersionText();

}  // namespace kyv::cli
