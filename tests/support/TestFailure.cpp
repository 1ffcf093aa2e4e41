#include "support/TestFailure.h"

#include <cstdio>
#include <cstdlib>

namespace kyv::test {

namespace {
std::function<void(const std::string&)>& Handler()
{
    static std::function<void(const std::string&)> handler;
    return handler;
}
}  // namespace

void ReportTestFailure(const std::string& what)
{
    if (Handler()) {
        Handler()(what);
        return;
    }
    std::fprintf(stderr, "test failure: %s\n", what.c_str());
    std::abort();
}

void SetTestFailureHandler(std::function<void(const std::string&)> handler)
{
    Handler() = std::move(handler);
}

}  // namespace kyv::test
