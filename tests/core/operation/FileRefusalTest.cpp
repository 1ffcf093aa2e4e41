// The refusal rules on facts alone: which file is turned down, and why, for each kind of run.

#include <gtest/gtest.h>

#include <cerrno>

#include "core/operation/FileRefusal.h"

namespace kyv::test {
namespace {

platform::FileIdentity File(std::uint64_t size, std::uint64_t fileNumber = 100)
{
    platform::FileIdentity identity;
    identity.regular = true;
    identity.size = size;
    identity.device = 1;
    identity.fileNumber = fileNumber;
    return identity;
}

platform::FileIdentity Unseen(int error)
{
    platform::FileIdentity identity;
    identity.error = error;
    return identity;
}

platform::FileIdentity Fifo()
{
    platform::FileIdentity identity = File(0);
    identity.regular = false;
    return identity;
}

constexpr std::uint64_t kExecutableNumber = 10;
constexpr std::uint64_t kKeyfileNumber = 20;

struct RefusalCase {
    const char* what;
    bool encrypting;
    bool inPlaceRun;
    bool inPlace;  // the output is the input's own name
    const char* inputPath;
    platform::FileIdentity input;
    const char* outputPath;
    platform::FileIdentity output;
    Refusal expected;
};

class FileRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(FileRefusalTest, TurnsDownWhatTheRulesSay)
{
    const RefusalCase& c = GetParam();
    RefusalSetup setup;
    setup.encrypting = c.encrypting;
    setup.inPlaceRun = c.inPlaceRun;
    setup.executable = {QStringLiteral("/opt/kyv/kyv"), File(5000, kExecutableNumber)};
    setup.keyfile = {QStringLiteral("/home/u/my.key"), File(64, kKeyfileNumber)};
    const FileFacts facts{platform::FilePath(c.inputPath), c.input, c.inPlace,
                          platform::FilePath(c.outputPath), c.output};
    EXPECT_EQ(RefusalOf(facts, setup), c.expected);
}

const platform::FileIdentity kNothing = Unseen(ENOENT);

INSTANTIATE_TEST_SUITE_P(
    Table, FileRefusalTest,
    ::testing::Values(
        RefusalCase{"gone", true, false, false, "/d/a.txt", Unseen(ENOENT), "/d/a.enc", kNothing,
                    Refusal::Gone},
        RefusalCase{"locked", true, false, false, "/d/a.txt", Unseen(EACCES), "/d/a.enc", kNothing,
                    Refusal::CannotBeOpened},
        RefusalCase{"no longer a file",
                    true,
                    true,
                    true,
                    "/d/a.txt",
                    Fifo(),
                    "/d/a.txt",
                    {},
                    Refusal::CannotBeOpened},
        RefusalCase{"empty", true, false, false, "/d/a.txt", File(0), "/d/a.enc", kNothing, Refusal::Empty},
        RefusalCase{"an empty keyfile is empty first",
                    true,
                    true,
                    true,
                    "/home/u/my.key",
                    File(0, kKeyfileNumber),
                    "/home/u/my.key",
                    {},
                    Refusal::Empty},
        RefusalCase{"two bytes to decrypt", false, false, false, "/d/a.enc", File(2), "/d/a.txt", kNothing,
                    Refusal::TooSmallToDecrypt},
        RefusalCase{"two bytes to encrypt", true, false, false, "/d/a.txt", File(2), "/d/a.enc", kNothing,
                    Refusal::None},
        RefusalCase{"three bytes to decrypt", false, false, false, "/d/a.enc", File(3), "/d/a.txt", kNothing,
                    Refusal::None},
        RefusalCase{"in place: the program by another case",
                    true,
                    true,
                    true,
                    "/OPT/Kyv/kyv",
                    File(5000),
                    "/OPT/Kyv/kyv",
                    {},
                    Refusal::OwnExecutable},
        RefusalCase{"in place: the program by a link",
                    false,
                    true,
                    true,
                    "/d/link",
                    File(5000, kExecutableNumber),
                    "/d/link",
                    {},
                    Refusal::OwnExecutable},
        RefusalCase{"in place: the keyfile",
                    true,
                    true,
                    true,
                    "/home/u/my.key",
                    File(64),
                    "/home/u/my.key",
                    {},
                    Refusal::CurrentKeyfile},
        RefusalCase{"in place: a protected type",
                    true,
                    true,
                    true,
                    "/d/report.INI",
                    File(40),
                    "/d/report.INI",
                    {},
                    Refusal::ProtectedExtension},
        RefusalCase{"in place: an ordinary file",
                    true,
                    true,
                    true,
                    "/d/report.txt",
                    File(40),
                    "/d/report.txt",
                    {},
                    Refusal::None},
        RefusalCase{"a protected type into another file", true, false, false, "/d/setup.exe", File(40),
                    "/d/setup.enc", kNothing, Refusal::None},
        RefusalCase{"the keyfile read into another file", true, false, false, "/home/u/my.key",
                    File(64, kKeyfileNumber), "/d/my.enc", kNothing, Refusal::None},
        RefusalCase{"output over the keyfile", false, false, false, "/d/a.enc", File(40), "/home/u/MY.KEY",
                    File(64), Refusal::CurrentKeyfile},
        RefusalCase{"output over a link to the program", true, false, false, "/d/a.txt", File(40), "/d/a.enc",
                    File(5000, kExecutableNumber), Refusal::OwnExecutable},
        RefusalCase{"in-place run, another name for a protected type", true, true, false, "/d/boot.ini",
                    File(40), "/d/BOOT.INI", File(40), Refusal::ProtectedExtension},
        RefusalCase{"in-place run, another name for the keyfile", true, true, false, "/home/u/my.key",
                    File(64, kKeyfileNumber), "/home/u/other", File(64, kKeyfileNumber),
                    Refusal::CurrentKeyfile}),
    [](const auto& param) { return std::to_string(param.index); });

struct OutcomeCase {
    Refusal refusal;
    bool beforeLength;
    FileResult::Outcome outcome;
};

TEST(FileRefusal, EachRefusalHasItsPlaceOnTheLineAndItsOutcome)
{
    const OutcomeCase cases[] = {
        {Refusal::None, false, FileDecision::Done},
        {Refusal::Gone, true, cipher::CipherResult::InputNotFound},
        {Refusal::CannotBeOpened, true, cipher::CipherResult::InputCannotBeOpened},
        {Refusal::Empty, true, FileDecision::EmptyFile},
        {Refusal::TooSmallToDecrypt, true, FileDecision::TooSmallToDecrypt},
        {Refusal::OwnExecutable, false, FileDecision::OwnExecutable},
        {Refusal::CurrentKeyfile, false, FileDecision::CurrentKeyfile},
        {Refusal::ProtectedExtension, false, FileDecision::ProtectedExtension},
    };
    for (const OutcomeCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.refusal));
        EXPECT_EQ(RefusedBeforeLength(c.refusal), c.beforeLength);
        EXPECT_EQ(RefusalOutcome(c.refusal), c.outcome);
    }
}

}  // namespace
}  // namespace kyv::test
