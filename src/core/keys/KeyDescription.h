#pragma once

#include <QString>

#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/keys/KeyState.h"

namespace kyv {

// The text of the main window's key line for the current key. After an abandoned keyfile command
// it is `savedKeyLine`, the line from before the key panel opened. A source recorded without a
// key is reported ("Error processing key!") and the key becomes not specified.
[[nodiscard]] QString DescribeKey(KeyState& keyState, const WorkingValues& values,
                                  const QString& savedKeyLine, Prompter& prompter);

}  // namespace kyv
