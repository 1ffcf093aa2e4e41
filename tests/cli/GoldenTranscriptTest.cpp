// Runs the real `kyv` over fixed scenarios and compares what it printed, its exit status and the
// files it left with transcripts recorded earlier (tests/data/golden, see README.md there). With
// KYV_RECORD_GOLDEN=1 in the environment the transcripts are written instead of compared.

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <functional>
#include <vector>

#include "KyvRunner.h"

namespace kyv {
namespace {

using test::RunKyv;
using test::Scratch;

// 64 characters of codes 33 to 255: a keyfile gives them unchanged.
const QByteArray kKey = "Q7w#Zx9!pL2mN4vB6cX8kJ0hG3fD5sA1qW9eR7tY5uI3oP1aS9dF7gH5jK3lZ1xC";
const QByteArray kOtherKey = "m1N3b5V7c9X1z3A5s7D9f1G3h5J7k9L1q3W5e7R9t1Y3u5I7o9P1a3S5d7F9g1H3";

struct Scenario {
    const char* name;
    // Files to make and runs of kyv that set the scene; their output is not part of the transcript.
    std::function<void(const Scratch&)> prepare;
    // The run recorded; "@/" stands for the scratch folder.
    QStringList arguments;
    QByteArray input;
    // Folders (relative) whose files, with their sizes, close the transcript.
    QStringList folders;
};

QString Resolve(const Scratch& s, const QString& argument)
{
    QString resolved = argument;
    return resolved.replace(QStringLiteral("@/"), s.Folder());
}

QStringList Resolve(const Scratch& s, const QStringList& arguments)
{
    QStringList resolved;
    for (const QString& argument : arguments) resolved << Resolve(s, argument);
    return resolved;
}

void Kyv(const Scratch& s, const QStringList& arguments)
{
    const test::KyvRun run = RunKyv(Resolve(s, arguments));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
}

QByteArray Damaged(QByteArray bytes)
{
    bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x5a);
    return bytes;
}

// A heading of a block of file lines: an operation's folder line or a listing's folder.
bool IsHeading(const QString& line, const QString& folder)
{
    return line.startsWith(QStringLiteral("Encrypting ")) || line.startsWith(QStringLiteral("Decrypting ")) ||
           (line.startsWith(folder) && line.endsWith(QLatin1Char('/')));
}

// What varies from run to run: the scratch folder, the date line, the elapsed time of a slow run,
// the random part of working names, and the order in which the file system lists a folder's
// files (the lines under each folder heading are sorted).
QString Normalised(const QString& text, const Scratch& s)
{
    static const QRegularExpression kDateLine(QStringLiteral("^\\d{1,2}/\\d{1,2}/\\d{2}, \\d{2}:\\d{2}$"));
    static const QRegularExpression kWorkingName(QStringLiteral("kyvpart-[0-9a-f]{12}"));
    const QString folder = s.Folder();
    QStringList lines = text.split(QLatin1Char('\n'));
    lines.removeIf([](const QString& line) { return line.startsWith(QStringLiteral("Elapsed time: ")); });
    for (QString& line : lines) {
        if (kDateLine.match(line).hasMatch()) line = QStringLiteral("<date and time>");
        line.replace(kWorkingName, QStringLiteral("kyvpart-<random>"));
    }
    QStringList sorted;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        sorted << lines.at(i);
        if (!IsHeading(lines.at(i), folder)) continue;
        // A file's entry is its line and the indented lines that continue it.
        QStringList entries;
        qsizetype end = i + 1;
        for (; end < lines.size() && !lines.at(end).isEmpty() && !IsHeading(lines.at(end), folder); ++end) {
            if (lines.at(end).startsWith(QLatin1Char(' ')) && !entries.isEmpty())
                entries.last() += QLatin1Char('\n') + lines.at(end);
            else
                entries << lines.at(end);
        }
        entries.sort();
        sorted << entries;
        i = end - 1;
    }
    return sorted.join(QLatin1Char('\n')).replace(folder, QStringLiteral("<scratch>/"));
}

QString FileList(const Scratch& s, const QStringList& folders)
{
    static const QRegularExpression kHiddenOriginal(QStringLiteral("^[0-9a-f]{12}$"));
    QStringList entries;
    for (const QString& relative : folders) {
        QDirIterator files(s.Path(relative), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QFileInfo file(files.next());
            QString name = QDir(s.Folder()).relativeFilePath(file.filePath());
            if (kHiddenOriginal.match(file.fileName()).hasMatch()) name = file.path() + QStringLiteral("/<hex>");
            entries << name + QStringLiteral(" ") + QString::number(file.size());
        }
    }
    entries.sort();
    return entries.join(QLatin1Char('\n'));
}

QString Transcript(const Scenario& scenario, const Scratch& s, const test::KyvRun& run)
{
    return QStringLiteral("$ kyv ") + scenario.arguments.join(QLatin1Char(' ')) +
           QStringLiteral("\n--- exit status ") + QString::number(run.exitCode) +
           QStringLiteral("\n--- standard output\n") + Normalised(run.out, s) +
           QStringLiteral("\n--- standard error\n") + Normalised(run.err, s) + QStringLiteral("\n--- files\n") +
           FileList(s, scenario.folders) + QLatin1Char('\n');
}

QString GoldenPath(const Scenario& scenario)
{
    return QStringLiteral(KYV_TEST_DATA "/golden/") + QLatin1String(scenario.name) + QStringLiteral(".txt");
}

void WriteKeys(const Scratch& s)
{
    s.Write(QStringLiteral("keys/right.key"), kKey);
    s.Write(QStringLiteral("keys/wrong.key"), kOtherKey);
}

void PlainFiles(const Scratch& s, const QString& folder)
{
    s.Write(folder + QStringLiteral("/letter.txt"), test::PlainText(1000));
    s.Write(folder + QStringLiteral("/minutes.txt"), test::PlainText(5000));
    s.Write(folder + QStringLiteral("/photo.dat"), test::RandomBytes(3000, 7));
}

void EncryptedFiles(const Scratch& s)
{
    PlainFiles(s, QStringLiteral("in"));
    s.MakeFolder(QStringLiteral("enc"));
    Kyv(s, {"encrypt", "--key-file", "@/keys/right.key", "--to", "@/enc", "--as", "*.enc", "@/in", "*.txt"});
}

const QString kRight = QStringLiteral("@/keys/right.key");

std::vector<Scenario> Scenarios()
{
    return {
        {"encrypt_into_other_folder",
         [](const Scratch& s) {
             PlainFiles(s, QStringLiteral("in"));
             s.Write(QStringLiteral("in/empty.txt"), QByteArray());
             s.MakeFolder(QStringLiteral("out"));
         },
         {"encrypt", "--key-file", kRight, "--to", "@/out", "--as", "*.enc", "@/in", "*.txt"},
         {},
         {"in", "out"}},
        {"encrypt_beside_input",
         [](const Scratch& s) { PlainFiles(s, QStringLiteral("in")); },
         {"encrypt", "--key-file", kRight, "--as", "*.enc", "@/in", "*.*"},
         {},
         {"in"}},
        {"encrypt_typed_key",
         [](const Scratch& s) { PlainFiles(s, QStringLiteral("in")); },
         {"encrypt", "--key-stdin", "--as", "*.enc", "@/in", "letter.txt"},
         "a typed key of some length\n",
         {"in"}},
        {"decrypt_into_other_folder",
         [](const Scratch& s) {
             EncryptedFiles(s);
             s.MakeFolder(QStringLiteral("dec"));
         },
         {"decrypt", "--key-file", kRight, "--to", "@/dec", "--as", "*.txt", "@/enc", "*.enc"},
         {},
         {"enc", "dec"}},
        {"encrypt_in_place",
         [](const Scratch& s) { PlainFiles(s, QStringLiteral("in")); },
         {"encrypt", "--in-place", "--key-file", kRight, "@/in", "*.txt"},
         {},
         {"in"}},
        {"in_place_subfolders",
         [](const Scratch& s) {
             s.Write(QStringLiteral("tree/top.txt"), test::PlainText(700));
             s.Write(QStringLiteral("tree/lower/middle.txt"), test::PlainText(1500));
             s.Write(QStringLiteral("tree/lower/empty.txt"), QByteArray());
             s.Write(QStringLiteral("tree/lower/deepest/bottom.txt"), test::PlainText(2500));
         },
         {"encrypt", "--in-place", "--subfolders", "--key-file", kRight, "@/tree", "*.txt"},
         {},
         {"tree"}},
        {"decrypt_in_place_subfolders",
         [](const Scratch& s) {
             s.Write(QStringLiteral("tree/top.txt"), test::PlainText(700));
             s.Write(QStringLiteral("tree/lower/middle.txt"), test::PlainText(1500));
             s.Write(QStringLiteral("tree/lower/deepest/bottom.txt"), test::PlainText(2500));
             Kyv(s, {"encrypt", "--in-place", "--subfolders", "--key-file", kRight, "@/tree", "*.txt"});
             s.Write(QStringLiteral("tree/lower/tiny.txt"), "ab");
         },
         {"decrypt", "--in-place", "--subfolders", "--key-file", kRight, "@/tree", "*.txt"},
         {},
         {"tree"}},
        {"decrypt_wrong_key",
         [](const Scratch& s) {
             EncryptedFiles(s);
             s.MakeFolder(QStringLiteral("dec"));
         },
         {"decrypt", "--key-file", "@/keys/wrong.key", "--to", "@/dec", "--as", "*.txt", "@/enc", "*.enc"},
         {},
         {"enc", "dec"}},
        {"decrypt_damaged_file_over_existing_output",
         [](const Scratch& s) {
             EncryptedFiles(s);
             s.Write(QStringLiteral("enc/minutes.enc"), Damaged(s.Read(QStringLiteral("enc/minutes.enc"))));
             s.Write(QStringLiteral("dec/minutes.txt"), "kept as it was");
             s.Write(QStringLiteral("dec/letter.txt"), "replaced");
         },
         {"decrypt", "--key-file", kRight, "--to", "@/dec", "--as", "*.txt", "@/enc", "*.enc"},
         {},
         {"enc", "dec"}},
        {"decrypt_damaged_file_in_place",
         [](const Scratch& s) {
             EncryptedFiles(s);
             s.Write(QStringLiteral("enc/minutes.enc"), Damaged(s.Read(QStringLiteral("enc/minutes.enc"))));
         },
         {"decrypt", "--in-place", "--key-file", kRight, "@/enc", "minutes.enc"},
         {},
         {"enc"}},
        {"decrypt_plain_file_declined",
         [](const Scratch& s) { s.Write(QStringLiteral("in/plain.enc"), test::PlainText(2000)); },
         {"decrypt", "--in-place", "--key-file", kRight, "@/in", "*.enc"},
         {},
         {"in"}},
        {"decrypt_plain_file_anyway",
         [](const Scratch& s) { s.Write(QStringLiteral("in/plain.enc"), test::PlainText(2000)); },
         {"decrypt", "--yes", "--in-place", "--key-file", kRight, "@/in", "*.enc"},
         {},
         {"in"}},
        {"refused_in_place",
         [](const Scratch& s) {
             s.Write(QStringLiteral("in/office.key"), kKey);
             s.Write(QStringLiteral("in/setup.exe"), test::PlainText(900));
             s.Write(QStringLiteral("in/notes.txt"), test::PlainText(900));
         },
         {"encrypt", "--in-place", "--key-file", "@/in/office.key", "@/in", "*.*"},
         {},
         {"in"}},
        {"duplicate_output_names",
         [](const Scratch& s) {
             PlainFiles(s, QStringLiteral("in"));
             s.MakeFolder(QStringLiteral("out"));
         },
         {"encrypt", "--key-file", kRight, "--to", "@/out", "--as", "same.enc", "@/in", "*.txt"},
         {},
         {"out"}},
        {"nothing_but_empty_files",
         [](const Scratch& s) {
             s.Write(QStringLiteral("in/a.txt"), QByteArray());
             s.Write(QStringLiteral("in/b.txt"), QByteArray());
         },
         {"encrypt", "--key-file", kRight, "--as", "*.enc", "@/in", "*.txt"},
         {},
         {"in"}},
        {"no_matching_files",
         [](const Scratch& s) { PlainFiles(s, QStringLiteral("in")); },
         {"encrypt", "--key-file", kRight, "--as", "*.enc", "@/in", "*.doc"},
         {},
         {"in"}},
        {"subfolders_need_in_place",
         [](const Scratch& s) { PlainFiles(s, QStringLiteral("in/lower")); },
         {"encrypt", "--subfolders", "--key-file", kRight, "--as", "*.enc", "@/in", "*.txt"},
         {},
         {"in"}},
        {"missing_output_folder",
         [](const Scratch& s) { PlainFiles(s, QStringLiteral("in")); },
         {"encrypt", "--key-file", kRight, "--to", "@/nowhere", "--as", "*.enc", "@/in", "*.txt"},
         {},
         {"in"}},
        {"randomness_listing",
         [](const Scratch& s) {
             PlainFiles(s, QStringLiteral("mixed"));
             s.Write(QStringLiteral("mixed/small.txt"), test::PlainText(200));
             s.Write(QStringLiteral("mixed/lower/noise.bin"), test::RandomBytes(20000, 3));
             s.Write(QStringLiteral("mixed/lower/README"), test::PlainText(400));
         },
         {"randomness", "--subfolders", "@/mixed"},
         {},
         {}},
        {"randomness_one_file",
         [](const Scratch& s) { PlainFiles(s, QStringLiteral("mixed")); },
         {"randomness", "@/mixed", "photo.dat"},
         {},
         {}},
        {"randomness_no_match",
         [](const Scratch& s) { PlainFiles(s, QStringLiteral("mixed")); },
         {"randomness", "@/mixed", "*.doc"},
         {},
         {}},
    };
}

class GoldenTranscript : public testing::TestWithParam<Scenario> {};

TEST_P(GoldenTranscript, MatchesTheRecordedOne)
{
    const Scenario& scenario = GetParam();
    Scratch s;
    WriteKeys(s);
    scenario.prepare(s);
    if (HasFatalFailure()) return;
    const test::KyvRun run = RunKyv(Resolve(s, scenario.arguments), scenario.input);
    const QString transcript = Transcript(scenario, s, run);
    QFile golden(GoldenPath(scenario));
    if (qEnvironmentVariableIntValue("KYV_RECORD_GOLDEN") == 1) {
        ASSERT_TRUE(golden.open(QIODevice::WriteOnly | QIODevice::Truncate));
        golden.write(transcript.toUtf8());
        return;
    }
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly)) << GoldenPath(scenario).toStdString();
    EXPECT_EQ(transcript.toStdString(), QString::fromUtf8(golden.readAll()).toStdString());
}

INSTANTIATE_TEST_SUITE_P(Kyv, GoldenTranscript, testing::ValuesIn(Scenarios()),
                         [](const testing::TestParamInfo<Scenario>& param) {
                             return std::string(param.param.name);
                         });

// Every transcript belongs to a scenario, so that a renamed scenario leaves no stale file behind.
TEST(GoldenTranscripts, EachFileHasItsScenario)
{
    const QStringList files =
        QDir(QStringLiteral(KYV_TEST_DATA "/golden")).entryList({QStringLiteral("*.txt")}, QDir::Files);
    const std::vector<Scenario> scenarios = Scenarios();
    EXPECT_EQ(files.size(), static_cast<qsizetype>(scenarios.size()));
    for (const Scenario& scenario : scenarios)
        EXPECT_TRUE(files.contains(QLatin1String(scenario.name) + QStringLiteral(".txt"))) << scenario.name;
}

}  // namespace
}  // namespace kyv
