#pragma once
// "Do it!" on the reliability test's own files offers the test instead of the encryption.

namespace kyv::platform {
class FloppyFolders;
}

namespace kyv {

struct OperationSetup;

// What the reliability-test offer ended with.
enum class ReliabilityTestChoice {
    Cancelled,  // nothing is done
    Tested,     // the test has run in place of the operation
    NotTested,  // the launch goes on as an ordinary encryption
};

// Whether the setup names the reliability test's files: encrypting *.tst (any case of the
// extension) at the top of a folder named exactly "kyvtest" on a drive other than a floppy, with
// no test running.
[[nodiscard]] bool ReliabilityTestOffered(const OperationSetup& setup, bool reliabilityTestRunning,
                                          const platform::FloppyFolders& floppies);

}  // namespace kyv
