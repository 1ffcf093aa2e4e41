#pragma once

#include <functional>
#include <string>

namespace kyv::test {

// Reports a failure of the running test from inside a fake (an unscripted question, say).
// GoogleTest programs route it to ADD_FAILURE; elsewhere it is printed and the program aborts.
void ReportTestFailure(const std::string& what);
void SetTestFailureHandler(std::function<void(const std::string&)> handler);

}  // namespace kyv::test
