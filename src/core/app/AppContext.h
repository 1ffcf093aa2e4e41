#pragma once
// What the program's windows share for the whole run: the setup, the working values, the key and
// the run's state, beside the services they ask through. The program builds it with the real
// services, tests with fakes.

#include "core/common/OperationSetup.h"
#include "core/common/Services.h"
#include "core/keys/KeyState.h"
#include "core/operation/RunState.h"

namespace kyv {

struct AppContext {
    explicit AppContext(const Services& programServices) : services(programServices) {}

    const Services& services;
    OperationSetup setup;
    WorkingValues values;
    KeyState key;
    // The state of the run the report window shows.
    RunState run;
};

}  // namespace kyv
