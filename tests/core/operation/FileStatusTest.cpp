#include <gtest/gtest.h>

#include "core/operation/FileStatus.h"

namespace kyv {
namespace {

struct StatusCase {
    int status;
    bool encrypting;
    const char* text;
};

class StatusMessageTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusMessageTest, WordsTheStatus)
{
    const StatusWording wording{GetParam().encrypting, QStringLiteral("/data/Report.INI"),
                                QStringLiteral("/data/Report.INI1")};
    EXPECT_EQ(StatusMessage(GetParam().status, wording), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, StatusMessageTest,
    ::testing::Values(
        StatusCase{1, true, "This is the Kyv executable.  Encryption not performed."},
        StatusCase{1, false, "This is the Kyv executable.  Decryption not performed."},
        StatusCase{2, true, "This is the current keyfile.  Encryption not performed."},
        StatusCase{3, true, "This file is empty (0 bytes)."},
        StatusCase{4, false, "This file is too small to have been Kyv-encrypted."},
        StatusCase{5, true, "Unable to get temporary output filename."},
        StatusCase{
            6, false,
            "Error when renaming temporary output file. The result of the decryption operation is in the "
            "file /data/Report.INI1."},
        StatusCase{7, true, "Kyv does not encrypt-in-place files with extension \"ini\"."},
        StatusCase{7, false, "Kyv does not decrypt-in-place files with extension \"ini\"."},
        StatusCase{-3, true, "Input file not found."}, StatusCase{-4, true, "Unable to open input file."},
        StatusCase{-5, true, "Unable to open output file."}, StatusCase{-6, true, "Read error."},
        StatusCase{-16, false, "Read error."}, StatusCase{-7, true, "Write error."},
        StatusCase{-17, false, "Write error."}, StatusCase{-9, true, "Write error: disk full."},
        StatusCase{
            -8, false,
            "Invalid block size.\r\n              Decryption key is incorrect or ciphertext is corrupt."},
        StatusCase{
            -18, false,
            "Invalid block size.\r\n              Decryption key is incorrect or ciphertext is corrupt."},
        StatusCase{
            -21, false,
            "One block expansion error occurred.\r\n              Ciphertext is corrupt or decryption key is "
            "incorrect."},
        StatusCase{
            -23, false,
            "3 block expansion errors occurred.\r\n              Ciphertext is corrupt or decryption key is "
            "incorrect."},
        StatusCase{
            -29, false,
            "9 block expansion errors occurred.\r\n              Ciphertext is corrupt or decryption key is "
            "incorrect."},
        StatusCase{-12, true, "Unknown error #-12."}, StatusCase{-20, true, "Unknown error #-20."},
        StatusCase{-30, true, "Unknown error #-30."}, StatusCase{-50, true, "Unknown error #-50."},
        StatusCase{9, true, "Unknown error #9."}));

TEST(StatusMessageTest, FloppyRenameFailureNamesTheDriveAndTheTemporaryFile)
{
    const StatusWording wording{true, QStringLiteral("b:\\letters\\memo.doc"),
                                QStringLiteral("C:\\memo.doc")};
    EXPECT_EQ(
        StatusMessage(kStatusRenameFailedOnFloppy, wording),
        QStringLiteral("Error: probably insufficient space on the floppy disk in drive B.  The result of the "
                       "encryption operation is in the file C:\\memo.doc."));
}

TEST(StatusTest, DoneAndPartialPlaintextRanges)
{
    for (int status = -120; status <= 10; ++status) {
        EXPECT_EQ(StatusCountsAsDone(status), status == 0 || status == 6 || status == 8) << status;
        EXPECT_EQ(StatusMayLeavePartialPlaintext(status), status <= -16 && status >= -99) << status;
    }
}

}  // namespace
}  // namespace kyv
