#pragma once

#include <cstdint>

namespace kyv {

// Where the current key came from. The value 1 is not used.
enum KeySource : std::int16_t {
    NotSpecified = -1,  // no key: operations refuse to start
    KeyboardEntry = 0,  // typed in one of the two typing dialogs
    Keyfile = 2,        // read from a keyfile or created in one; that file is never processed
};

}  // namespace kyv
