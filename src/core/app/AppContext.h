#pragma once
// What the program's windows share for the whole run: the setup, the working values and the
// services they ask through. The program fills it with the real services, tests with fakes.

#include "core/app/StartUp.h"
#include "core/common/OperationSetup.h"
#include "core/keys/KeyState.h"
#include "core/operation/RunState.h"

namespace kyv {

namespace cipher {
class CipherEngine;
}
class Prompter;
class FileDialogs;

struct AppContext {
    OperationSetup setup;
    WorkingValues values;
    KeyState key;
    // The state of the run the report window shows.
    RunState run;
    StartUpEnvironment environment;
    cipher::CipherEngine* engine = nullptr;
    Prompter* prompter = nullptr;
    FileDialogs* fileDialogs = nullptr;
};

}  // namespace kyv
