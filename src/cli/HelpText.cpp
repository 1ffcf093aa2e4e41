#include "cli/HelpText.h"

#include "KyvVersion.h"

namespace kyv::cli {

QString HelpText()
{
    return QStringLiteral(
        "Usage:\n"
        "  kyv encrypt|decrypt [--subfolders] (--in-place | [--to FOLDER] --as SPEC)\n"
        "                      (--key-file FILE | --key-stdin) [--yes] FOLDER [SPEC]\n"
        "  kyv run SETUP.opn (--key-file FILE | --key-stdin) [--yes]\n"
        "  kyv show SETUP.opn\n"
        "  kyv randomness [--subfolders] FOLDER [SPEC]\n"
        "  kyv randomness --picture OUT.png FILE\n"
        "  kyv checksum (--key-file FILE | --key-stdin)\n"
        "  kyv verify (--key-file FILE | --key-stdin) [--subfolders] FOLDER [SPEC]\n"
        "  kyv recover [--subfolders] [--apply] [--key-file FILE | --key-stdin] FOLDER\n"
        "  kyv --help | --version\n"
        "\n"
        "Encrypts or decrypts the files of FOLDER that match SPEC (default *.*), as Kyv Cipher's\n"
        "\"Do it!\" does, or lists how random they are. The report goes to standard output;\n"
        "messages, questions and progress go to standard error.\n"
        "\n"
        "  --subfolders      include all lower subfolders (output files must be the input files)\n"
        "  --in-place        output files same as input: each output file replaces its input file\n"
        "  --to FOLDER       output folder (default: FOLDER)\n"
        "  --as SPEC         output file specification, for example *.enc\n"
        "  --key-file FILE   the key is the first 64 bytes of FILE (a keyfile)\n"
        "  --key-stdin       the key is one line typed on standard input: 16 to 64 characters,\n"
        "                    spaces ignored, case not significant\n"
        "  --yes             without a terminal, answer Yes to \"Attempt to decrypt it anyway?\"\n"
        "  --picture OUT.png write the 256 x 256 picture of FILE's byte pairs as a PNG image\n"
        "\n"
        "`kyv run` performs the operation a setup saved by the program (\"Save setup as operation\n"
        "file\") describes, with its folders, file specifications and flags; `kyv show` prints that\n"
        "setup in words without running it. A setup that names a relative folder, or an output file\n"
        "specification with a '/' or \"..\", is refused.\n"
        "\n"
        "A key is never taken from the command line. `kyv checksum` prints the key's four-digit\n"
        "checksum, the same the program shows, so that a key can be confirmed without showing it.\n"
        "\n"
        "`kyv verify` authenticates every chunk of the encrypted files, writing no plaintext\n"
        "(exit status 0 only when all are authentic). `kyv recover` lists what interrupted runs\n"
        "left (temporary results, half-purged originals, working files) and what to do;\n"
        "--apply finishes the interrupted steps, removing nothing that may be the only copy of\n"
        "some data (exit status 0 when nothing is left to look at). With a key, recover also\n"
        "authenticates the results it renames.\n"
        "\n"
        "Ctrl-C stops after the current file; pressed again, it ends the program at once.\n"
        "\n"
        "Exit status:\n"
        "  0  at least one file was processed, and every processed file was done\n"
        "  1  a file failed or was skipped, no file was processed, or the run was stopped\n"
        "  2  usage error, key refused, or a failed launch check\n");
}

QString VersionText()
{
    return QStringLiteral("kyv (Kyv Cipher) ") + QString::fromLatin1(kProgramVersion) + u'\n';
}

}  // namespace kyv::cli
