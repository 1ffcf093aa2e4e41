#pragma once
// The reliability test's own report lines: the header of a comparison, one line per compared
// file, the failure lines, the closing lines and the note of a test that could not be completed.
// Lines come one entry each, without line breaks.
// The user's own key never appears in them, only its length and checksum (reports get pasted
// elsewhere); a generated test key is shown, so that a failure can be repeated.

#include <QString>
#include <QStringList>

#include "core/reltest/ReliabilityTestRuns.h"
#include "engine/filelib/FileCompare.h"
#include "platform/FilePath.h"

namespace kyv {

struct KeyState;

// With more files than fit on a screen the header comes again below their lines.
[[nodiscard]] constexpr bool LongFileList(int fileCount) { return fileCount > 11; }

// The key of a performance as the report describes it.
struct TestKey {
    const KeyState& key;
    bool generated;  // made for a later performance; otherwise the user's own
};

// "Reliability test #2 of 3" (only for more than one performance), "3 test files in FOLDER", then
// the key line.
[[nodiscard]] QStringList ReliabilityTestHeader(int performance, int performances, int fileCount,
                                                const platform::FilePath& folder, const TestKey& key);

// "identical", "Files differ at byte 12." or what kept the files from being compared.
[[nodiscard]] QString ComparisonText(const filelib::FileComparison& comparison);

// "Reliability test failed." and what identifies the key.
[[nodiscard]] QStringList ReliabilityTestFailureLines(const TestKey& key);

// After an empty line, "The reliability test was performed twice." and that every file came back
// identical; one empty line more after a long list of files.
[[nodiscard]] QStringList ReliabilityTestClosingLines(int performances, int fileCount);

// Why a launch of the test did not run, as the report says it.
[[nodiscard]] QString LaunchEndReason(TestLaunchEnd end);

}  // namespace kyv
