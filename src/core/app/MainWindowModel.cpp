#include "core/app/MainWindowModel.h"

#include "core/common/Prompter.h"

namespace kyv {

MainWindowModel::MainWindowModel(OperationSetup& setup, WorkingValues& values, Prompter& prompter)
    : setup_(setup), values_(values), prompter_(prompter)
{
}

void MainWindowModel::PerformFunction()
{
    setup_.blnEncrypt = !setup_.blnEncrypt;
    const bool encrypt = setup_.blnEncrypt;
    labels_.lblFunction = encrypt ? QStringLiteral("Encryption") : QStringLiteral("Decryption");
    labels_.lblFunction2 = QStringLiteral("(") + (encrypt ? "Encrypt" : "Decrypt") + " the input files.)";
    labels_.cmdKeyFrom = labels_.lblFunction + " key";
    labels_.lblSetupFilename.clear();
    ShowSingleFileHint();
}

void MainWindowModel::PerformOutputFilesSame()
{
    setup_.blnOutputFilesSame = !setup_.blnOutputFilesSame;
    if (setup_.blnOutputFilesSame) {
        labels_.lblOutputFilesSame = QStringLiteral("Yes");
        labels_.lblOutputFilesSame2 = QStringLiteral("(The output files are the same as the input files.)");
    } else {
        labels_.lblOutputFilesSame = QStringLiteral("No");
        labels_.lblOutputFilesSame2 =
            QStringLiteral("(The output files normally are different from the input files.)");
    }
    labels_.lblSetupFilename.clear();
}

void MainWindowModel::PerformSubdirectories()
{
    setup_.blnSubdirectories = !setup_.blnSubdirectories;
    if (setup_.blnSubdirectories) {
        labels_.lblSubdirectories = QStringLiteral("Yes");
        labels_.lblSubdirectories2 = QStringLiteral("(Operate on all specified files in lower subfolders.)");
    } else {
        labels_.lblSubdirectories = QStringLiteral("No");
        labels_.lblSubdirectories2 = QStringLiteral("(Do not operate on files in lower subfolders.)");
    }
    labels_.lblSetupFilename.clear();
}

void MainWindowModel::ApplySetupFlags(bool encrypt, bool outputFilesSame, bool subdirectories)
{
    setup_.blnEncrypt = !encrypt;
    PerformFunction();
    setup_.blnOutputFilesSame = !outputFilesSame;
    PerformOutputFilesSame();
    setup_.blnSubdirectories = !subdirectories;
    PerformSubdirectories();
}

void MainWindowModel::ShowFilesStatus(int side)
{
    const QString& folder = setup_.strDirpath[side];
    const QString& spec = setup_.strFilespec[side];
    labels_.lblFiles2[side].clear();
    labels_.lblDirectory[side] = folder.isEmpty() ? values_.strNotSpecified : folder;
    labels_.lblFiles[side] = spec.isEmpty() ? values_.strNotSpecified : spec;
    ShowSingleFileHint();
}

void MainWindowModel::RefreshFilesStatus()
{
    ShowFilesStatus(kInputSide);
    ShowFilesStatus(kOutputSide);
}

void MainWindowModel::ShowSingleFileHint()
{
    if (labels_.lblFiles[kInputSide] == values_.strNotSpecified) {
        labels_.lblSingleFile = QStringLiteral("To ") + (setup_.blnEncrypt ? "encrypt" : "decrypt") +
                                " multiple files specify input folder and input files.";
    } else {
        labels_.lblSingleFile.clear();
    }
}

}  // namespace kyv
