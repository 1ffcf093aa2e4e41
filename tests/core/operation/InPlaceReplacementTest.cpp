// The stages of an in-place replacement, called one by one on a real file: how far each case gets,
// what it leaves under the file's name and what under the temporary name.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cctype>
#include <filesystem>

#include "core/files/FolderPath.h"
#include "core/operation/InPlaceReplacement.h"
#include "platform/OpenedFile.h"
#include "support/FakeCipherEngine.h"

namespace kyv::test {
namespace {

namespace fs = std::filesystem;

struct ReplacementCase {
    const char* what;
    cipher::CipherResult engineResult;
    bool resultWritten;        // the engine put bytes into the temporary file
    bool changedDuringEngine;  // the original was written to while the engine read it
    bool readsBackIntact;
    FileResult::Outcome outcome;
    bool replaced;       // the file's name holds the result
    bool temporaryLeft;  // the result (or part of it) waits under the temporary name
};

class InPlaceReplacementTest : public ::testing::TestWithParam<ReplacementCase> {};

TEST_P(InPlaceReplacementTest, EndsWhereTheCaseSays)
{
    const ReplacementCase& c = GetParam();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = QDir(folder.path()).absolutePath() + QStringLiteral("/memo.txt");
    const platform::FilePath file(path);
    WriteWholeFile(file, PlainBytes(40));
    platform::OpenedFile original(-1, {}, file);

    const platform::FloppyFolders noFloppies;
    InPlaceReplacement replacement(file, original, noFloppies);
    replacement.ReserveTemporary();
    ASSERT_FALSE(replacement.Ended());
    const fs::path temporary = replacement.TemporaryPath();
    if (c.resultWritten) WriteWholeFile(temporary, "result");
    if (c.changedDuringEngine) WriteWholeFile(file, PlainBytes(41));
    replacement.ResultWritten(EngineOutcome(c.engineResult));
    replacement.Flush();
    replacement.ReadBack([&](const fs::path& result) {
        EXPECT_EQ(result, temporary);
        return c.readsBackIntact;
    });
    // Up to here the original is untouched whatever happened.
    EXPECT_NE(ReadWholeFile(file), "result");
    replacement.PurgeOriginal(0);
    replacement.Rename();

    EXPECT_TRUE(replacement.Ended());
    EXPECT_EQ(replacement.Outcome(), c.outcome);
    EXPECT_EQ(ReadWholeFile(file) == "result", c.replaced);
    EXPECT_EQ(fs::exists(temporary), c.temporaryLeft);
    EXPECT_EQ(replacement.TemporaryPath().IsEmpty(), !c.temporaryLeft && !c.replaced);
}

using cipher::CipherResult;
INSTANTIATE_TEST_SUITE_P(
    Table, InPlaceReplacementTest,
    ::testing::Values(ReplacementCase{"all stages", CipherResult::Success, true, false, true,
                                      FileDecision::Done, true, false},
                      ReplacementCase{"engine failed before writing", CipherResult::WriteError, false, false,
                                      true, CipherResult::WriteError, false, false},
                      ReplacementCase{"partial result", CipherResult::WriteErrorAfterOutput, true, false,
                                      true, CipherResult::WriteErrorAfterOutput, false, true},
                      ReplacementCase{"read failure of a changing file", CipherResult::ReadError, false, true,
                                      true, FileDecision::ChangedWhileRead, false, false},
                      ReplacementCase{"changed while read", CipherResult::Success, true, true, true,
                                      FileDecision::ChangedWhileRead, false, true},
                      ReplacementCase{"garbled on the device", CipherResult::Success, true, false, false,
                                      FileDecision::ResultNotIntact, false, false}),
    [](const auto& param) {
        std::string name = param.param.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

}  // namespace
}  // namespace kyv::test
