#include "core/app/PathOpener.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "core/app/DropPlan.h"
#include "core/app/EncryptedFileShape.h"
#include "core/app/FileSpecCommands.h"
#include "core/app/ProgramArguments.h"
#include "core/files/FolderPath.h"

using namespace kyv;
using kyv::test::ModelFixture;
using kyv::test::TempFolder;

namespace {

struct OpenerFixture : ModelFixture {
    FileSpecCommands commands{model};
    PathOpener opener{model, commands};
    TempFolder folder;
};

std::vector<FilePath> Paths(const QStringList& texts)
{
    std::vector<FilePath> paths;
    for (const QString& text : texts) paths.push_back(FilePath(text));
    return paths;
}

QStringList Texts(const std::vector<FilePath>& paths)
{
    QStringList texts;
    for (const FilePath& path : paths) texts.append(path.Text());
    return texts;
}

QString Vector(const char* name)
{
    return QStringLiteral(KYV_TEST_DATA "/cipher/") + QString::fromLatin1(name);
}

// Copies a cipher test vector into `folder` under `name`.
QString EncryptedFile(const TempFolder& folder, const QString& name)
{
    QFile::copy(Vector("success-line.kyv"), folder.Path() + name);
    return folder.Path() + name;
}

}  // namespace

TEST(DropPlanTest, TellsWhatTheDroppedPathsStandFor)
{
    TempFolder folder;
    const QString a = folder.File("a.doc", 10);
    const QString b = folder.File("b.DOC", 10);
    const QString text = folder.File("c.txt", 10);
    const QString plain = folder.File("README", 10);
    const QString lower = folder.Folder("lower");
    const QString other = folder.File("lower/d.doc", 10);
    const QString missing = folder.Path() + "gone.doc";
    struct Case {
        QStringList paths;
        DropShape shape;
        QString path;
        QString extension;
    };
    const Case cases[] = {
        {{}, DropShape::Nothing, {}, {}},
        {{a}, DropShape::SingleFile, a, {}},
        {{lower}, DropShape::Folder, lower, {}},
        {{lower.chopped(1)}, DropShape::Folder, lower.chopped(1), {}},
        // The extension as the first file writes it; case does not part them.
        {{a, b}, DropShape::FilesOfOneFolder, folder.Path(), QStringLiteral("doc")},
        {{b, a}, DropShape::FilesOfOneFolder, folder.Path(), QStringLiteral("DOC")},
        {{a, text}, DropShape::FilesOfOneFolder, folder.Path(), {}},
        {{plain, folder.File("NOTES", 1)}, DropShape::FilesOfOneFolder, folder.Path(), {}},
        {{a, plain}, DropShape::FilesOfOneFolder, folder.Path(), {}},
        {{a, other}, DropShape::Mixed, {}, {}},
        {{a, lower}, DropShape::Mixed, {}, {}},
        {{lower, folder.Folder("second")}, DropShape::Mixed, {}, {}},
        {{a, missing}, DropShape::Missing, missing, {}},
        {{missing}, DropShape::Missing, missing, {}},
    };
    for (const Case& c : cases) {
        const DropPlan plan = PlanDrop(Paths(c.paths));
        EXPECT_EQ(plan.shape, c.shape) << c.paths.join(u' ').toStdString();
        EXPECT_EQ(plan.path.Text(), c.path) << c.paths.join(u' ').toStdString();
        EXPECT_EQ(plan.sharedExtension, c.extension) << c.paths.join(u' ').toStdString();
    }
}

TEST(DropPlanTest, TakesOnlyLocalFilesAndKeepsTheirBytes)
{
    EXPECT_EQ(Texts(LocalPathsOf(
                  {QUrl(QStringLiteral("file:///data/a%20b.doc")), QUrl::fromLocalFile("/x/é.txt")})),
              (QStringList{QStringLiteral("/data/a b.doc"), QStringLiteral("/x/é.txt")}));
    EXPECT_EQ(Texts(LocalPathsOf({QUrl(QStringLiteral("file://localhost/data/a.doc"))})),
              QStringList{QStringLiteral("/data/a.doc")});
    // A byte that is not UTF-8 stays the byte the file system has, not U+FFFD.
    const std::vector<FilePath> raw = LocalPathsOf({QUrl(QStringLiteral("file:///data/caf%E9.doc"))});
    ASSERT_EQ(raw.size(), 1u);
    EXPECT_EQ(raw[0].Bytes(), std::string("/data/caf\xE9.doc"));
    // One URL that is not a local file refuses the whole drop.
    EXPECT_EQ(
        LocalPathsOf({QUrl::fromLocalFile("/data/a.doc"), QUrl(QStringLiteral("https://example.org/a"))})
            .size(),
        0u);
    EXPECT_EQ(LocalPathsOf({QUrl(QStringLiteral("file://otherhost/data/a.doc"))}).size(), 0u);
}

// Names that are not UTF-8 ("caf" and the byte 0xE9) are split into folder and name by their bytes,
// and the setup takes exactly those bytes.
TEST(PathOpenerTest, NamesThatAreNotUtf8KeepTheirBytes)
{
    const struct {
        const char* what;
        std::vector<std::string> dropped;  // under the folder; ending in '/': a folder
        DropShape shape;
        std::string folder;  // the setup's input folder afterwards, under the folder
        std::string spec;    // the input file specification's bytes afterwards
    } cases[] = {
        {"one file", {"caf\xe9.doc"}, DropShape::SingleFile, "", "caf\xe9.doc"},
        {"a file in such a folder", {"d\xe9p/a.doc"}, DropShape::SingleFile, "d\xe9p/", "a.doc"},
        {"files of one folder", {"caf\xe9.doc", "na\xefve.DOC"}, DropShape::FilesOfOneFolder, "", "*.doc"},
        {"one folder", {"d\xe9p/"}, DropShape::Folder, "d\xe9p/", "*.*"},
        {"files of two such folders", {"d\xe9p/a.doc", "d\xe8p/b.doc"}, DropShape::Mixed, "", "*.*"},
    };
    for (const auto& c : cases) {
        OpenerFixture f;
        f.setup.fileSpecs[kInputSide] = QStringLiteral("*.*");
        const std::string base = f.folder.Path().toStdString();
        std::vector<FilePath> paths;
        for (const std::string& entry : c.dropped) {
            const std::filesystem::path path = base + entry;
            std::filesystem::create_directories(entry.back() == '/' ? path : path.parent_path());
            if (entry.back() != '/') std::ofstream(path) << "x";
            paths.push_back(path);
        }
        EXPECT_EQ(PlanDrop(paths).shape, c.shape) << c.what;
        const bool changed = c.shape != DropShape::Mixed;
        EXPECT_EQ(f.opener.Drop(paths), changed) << c.what;
        EXPECT_EQ(f.setup.folders[kInputSide].Bytes(), changed ? base + c.folder : std::string()) << c.what;
        EXPECT_EQ(FilePath(f.setup.fileSpecs[kInputSide]).Bytes(), c.spec) << c.what;
    }
}

TEST(EncryptedFileShapeTest, TellsTheFormatFromTheHeaderAndLengthAlone)
{
    // Without a key a wrong salt or nonce, damaged chunks, or a file cut or lengthened to a length
    // a shorter or longer plaintext would have, still have the shape.
    const std::pair<const char*, bool> vectors[] = {
        {"success-line.kyv", true},
        {"success-empty.kyv", true},
        {"success-chunk-plus-one.kyv", true},
        {"header-failure-salt.kyv", true},
        {"payload-failure-swapped.kyv", true},
        {"header-failure-version.kyv", false},
        {"truncated-at-chunk-boundary.kyv", true},
        {"truncated-extended-by-one-byte.kyv", true},
        {"success-line.txt", false},
        {"no-such-vector.kyv", false},
    };
    for (const auto& [name, shaped] : vectors)
        EXPECT_EQ(HasEncryptedFileShape(FilePath(Vector(name))), shaped) << name;

    TempFolder folder;
    const QString path = EncryptedFile(folder, QStringLiteral("x.enc"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    for (const auto& [offset, byte, shaped] : {std::tuple{2, '\x0c', false}, std::tuple{2, '\x1e', true},
                                               std::tuple{1, '\x00', false}, std::tuple{1, '\x01', true}}) {
        file.seek(offset);
        file.write(QByteArray(1, byte));
        file.flush();
        EXPECT_EQ(HasEncryptedFileShape(FilePath(path)), shaped) << offset << " " << int(byte);
    }
    EXPECT_FALSE(HasEncryptedFileShape(FilePath(folder.Path())));
    // Shorter than a header and one chunk's tag: no plaintext gives that length.
    ASSERT_TRUE(file.resize(67 + 15));
    EXPECT_FALSE(HasEncryptedFileShape(FilePath(path)));
    ASSERT_TRUE(file.resize(67 + 16));
    EXPECT_TRUE(HasEncryptedFileShape(FilePath(path)));
}

TEST(PathOpenerTest, OutputSpecificationsThatGiveTheNameBack)
{
    const std::pair<QString, std::optional<QString>> decryption[] = {
        {QStringLiteral("report.doc.enc"), QStringLiteral("*")},
        {QStringLiteral("report.ENC"), QStringLiteral("*")},
        {QStringLiteral("report.doc"), std::nullopt},
        {QStringLiteral("README"), std::nullopt},
        {QStringLiteral(".enc"), std::nullopt},
        {QStringLiteral("report.encx"), std::nullopt},
    };
    for (const auto& [name, spec] : decryption)
        EXPECT_EQ(DecryptionOutputSpec(name), spec) << name.toStdString();
    EXPECT_EQ(EncryptionOutputSpec(QStringLiteral("report.doc")), QStringLiteral("report.doc.enc"));
    EXPECT_EQ(EncryptionOutputSpec(QStringLiteral("a*.doc")), QString());
}

TEST(PathOpenerTest, OneFileIsTakenAsSingleFileTakesIt)
{
    for (const bool inPlace : {false, true}) {
        OpenerFixture f;
        const QString path = f.folder.File("report.doc", 300);
        f.setup.folders[kOutputSide] = FilePath(QStringLiteral("/elsewhere/"));
        f.setup.fileSpecs[kOutputSide] = QStringLiteral("old.enc");
        f.setup.inPlace = inPlace;
        EXPECT_TRUE(f.opener.Drop(Paths({path})));
        EXPECT_EQ(f.setup.folders[kInputSide].Text(), f.folder.Path());
        EXPECT_EQ(f.setup.fileSpecs[kInputSide], QStringLiteral("report.doc"));
        EXPECT_EQ(f.setup.folders[kOutputSide].Text(), f.folder.Path());
        EXPECT_EQ(f.setup.fileSpecs[kOutputSide], inPlace ? QStringLiteral("report.doc") : QString());
        EXPECT_EQ(f.model.Labels().specTexts[kInputSide], QStringLiteral("report.doc"));
        EXPECT_TRUE(f.setup.Encrypts());
        EXPECT_TRUE(f.prompter.messages.empty());
    }
}

TEST(PathOpenerTest, OneFolderKeepsTheInputSpecification)
{
    OpenerFixture f;
    const QString lower = f.folder.Folder("lower");
    f.setup.fileSpecs[kInputSide] = QStringLiteral("*.xyz");
    EXPECT_TRUE(f.opener.Drop(Paths({lower.chopped(1)})));
    EXPECT_EQ(f.setup.folders[kInputSide].Text(), lower);
    EXPECT_EQ(f.setup.fileSpecs[kInputSide], QStringLiteral("*.xyz"));
    EXPECT_EQ(f.model.Labels().folderTexts[kInputSide], lower);
    EXPECT_EQ(f.model.Labels().subfoldersExplanation,
              QStringLiteral("(The input folder has no subfolders.)"));
}

TEST(PathOpenerTest, SeveralFilesOfOneFolder)
{
    struct Case {
        QStringList names;
        std::optional<MessageAnswer> answer;  // to the question about different extensions
        bool changed;
        QString inputSpec;
    };
    const Case cases[] = {
        {{"a.doc", "b.Doc"}, std::nullopt, true, QStringLiteral("*.doc")},
        {{"a.doc", "b.txt"}, MessageAnswer::Yes, true, QStringLiteral("*.*")},
        {{"a.doc", "b.txt"}, MessageAnswer::No, false, QStringLiteral("old.spec")},
    };
    for (const Case& c : cases) {
        OpenerFixture f;
        f.setup.fileSpecs[kInputSide] = QStringLiteral("old.spec");
        QStringList paths;
        for (const QString& name : c.names) paths.append(f.folder.File(name, 10));
        if (c.answer) f.prompter.Answer(*c.answer);
        EXPECT_EQ(f.opener.Drop(Paths(paths)), c.changed);
        EXPECT_EQ(f.setup.fileSpecs[kInputSide], c.inputSpec);
        EXPECT_EQ(f.setup.folders[kInputSide].Text(), c.changed ? f.folder.Path() : QString());
        EXPECT_EQ(f.model.Labels().specTexts[kInputSide],
                  c.changed ? c.inputSpec : QStringLiteral("Not specified"));
        if (c.answer) {
            ASSERT_EQ(f.prompter.messages.size(), std::size_t(1));
            EXPECT_EQ(f.prompter.messages[0].text,
                      QStringLiteral(
                          "The files do not share one extension. Specify all files of their folder (*.*)?"));
            EXPECT_EQ(f.prompter.messages[0].buttons, MessageButtons::YesNo);
            EXPECT_EQ(f.prompter.messages[0].defaultButton, 2);
        } else {
            EXPECT_TRUE(f.prompter.messages.empty());
        }
    }
}

TEST(PathOpenerTest, DropsThatNameNothingUsableChangeNothing)
{
    OpenerFixture f;
    const QString a = f.folder.File("a.doc", 10);
    const QString lower = f.folder.Folder("lower");
    const QString missing = f.folder.Path() + "gone.doc";
    const std::pair<QStringList, QString> cases[] = {
        {{a, lower},
         QStringLiteral("Kyv Cipher takes one file, one folder, or several files of one folder.")},
        {{missing}, QStringLiteral("There is no file or folder ") + missing + u'.'},
    };
    for (const auto& [paths, text] : cases) {
        f.prompter.messages.clear();
        EXPECT_FALSE(f.opener.Drop(Paths(paths)));
        ASSERT_EQ(f.prompter.messages.size(), std::size_t(1));
        EXPECT_EQ(f.prompter.messages[0].text, text);
        EXPECT_EQ(f.prompter.messages[0].title, QStringLiteral("Error"));
        EXPECT_EQ(f.setup.folders[kInputSide].Text(), QString());
    }
    EXPECT_FALSE(f.opener.Drop({}));
}

TEST(PathOpenerTest, TheCommandLineSetsUpTheDecryptionOfAnEncryptedFile)
{
    struct Case {
        QString name;
        StartFunction function;
        bool encrypted;
        bool setupInPlace;
        Direction direction;
        bool inPlace;
        QString outputSpec;
    };
    const Case cases[] = {
        {"letter.doc.enc", StartFunction::AsSetup, true, false, Direction::Decrypt, false, "*"},
        {"letter.doc.enc", StartFunction::AsSetup, true, true, Direction::Decrypt, false, "*"},
        // Encrypted in place: it keeps its name, and is decrypted in place.
        {"letter.doc", StartFunction::AsSetup, true, false, Direction::Decrypt, true, "letter.doc"},
        {"letter.doc", StartFunction::AsSetup, false, false, Direction::Encrypt, false, ""},
        {"letter.enc", StartFunction::Decrypt, false, false, Direction::Decrypt, false, "*"},
        {"letter.doc", StartFunction::Encrypt, true, false, Direction::Encrypt, false, "letter.doc.enc"},
        {"letter.doc", StartFunction::Encrypt, false, true, Direction::Encrypt, true, "letter.doc"},
    };
    for (const Case& c : cases) {
        OpenerFixture f;
        if (c.setupInPlace) f.model.PerformOutputFilesSame();
        const QString path = c.encrypted ? EncryptedFile(f.folder, c.name) : f.folder.File(c.name, 300);
        // Relative to the current folder, as a shell passes it.
        const QString previous = QDir::currentPath();
        QDir::setCurrent(f.folder.Path());
        EXPECT_TRUE(f.opener.Open({c.name}, c.function));
        QDir::setCurrent(previous);
        const std::string what = c.name.toStdString() + " " + std::to_string(static_cast<int>(c.function));
        EXPECT_EQ(f.setup.fileSpecs[kInputSide], c.name) << what;
        EXPECT_EQ(f.setup.folders[kInputSide].Text(), f.folder.Path()) << what;
        EXPECT_EQ(f.setup.direction, c.direction) << what;
        EXPECT_EQ(f.setup.inPlace, c.inPlace) << what;
        EXPECT_EQ(f.setup.folders[kOutputSide].Text(), f.folder.Path()) << what;
        EXPECT_EQ(f.setup.fileSpecs[kOutputSide], c.outputSpec) << what;
        // The status lines follow.
        EXPECT_EQ(f.model.Labels().functionText, c.direction == Direction::Decrypt
                                                     ? QStringLiteral("Decryption")
                                                     : QStringLiteral("Encryption"))
            << what;
        EXPECT_EQ(f.model.Labels().inPlaceText, c.inPlace ? QStringLiteral("Yes") : QStringLiteral("No"))
            << what;
        EXPECT_EQ(f.model.Labels().specTexts[kOutputSide],
                  c.outputSpec.isEmpty() ? QStringLiteral("Not specified") : c.outputSpec)
            << what;
        EXPECT_TRUE(f.prompter.messages.empty()) << what;
    }
}

TEST(PathOpenerTest, TheCommandLineWithAFolderOrNothingUsable)
{
    OpenerFixture f;
    const QString lower = f.folder.Folder("lower");
    EXPECT_TRUE(f.opener.Open({lower}, StartFunction::Decrypt));
    EXPECT_EQ(f.setup.folders[kInputSide].Text(), lower);
    EXPECT_EQ(f.setup.direction, Direction::Decrypt);

    // A path that names nothing is said so; the setup stays as start-up left it.
    EXPECT_FALSE(f.opener.Open({f.folder.Path() + "gone.enc"}, StartFunction::Encrypt));
    ASSERT_EQ(f.prompter.messages.size(), std::size_t(1));
    EXPECT_EQ(f.prompter.messages[0].text,
              QStringLiteral("There is no file or folder ") + f.folder.Path() + QStringLiteral("gone.enc."));
    EXPECT_EQ(f.setup.folders[kInputSide].Text(), lower);
    EXPECT_EQ(f.setup.direction, Direction::Decrypt);
    EXPECT_FALSE(f.opener.Open({}, StartFunction::AsSetup));
}

TEST(ProgramArgumentsTest, ReadsTheFunctionAndThePaths)
{
    struct Case {
        QStringList arguments;
        StartFunction function;
        QStringList paths;
        QStringList unknown;
    };
    const Case cases[] = {
        {{}, StartFunction::AsSetup, {}, {}},
        {{"a.enc"}, StartFunction::AsSetup, {"a.enc"}, {}},
        {{"--decrypt", "a.enc", "b.enc"}, StartFunction::Decrypt, {"a.enc", "b.enc"}, {}},
        {{"a.doc", "--encrypt"}, StartFunction::Encrypt, {"a.doc"}, {}},
        {{"--quit-when-shown", "-", "--", "--decrypt"}, StartFunction::AsSetup, {"-", "--decrypt"}, {}},
        {{"--frobnicate", "a"}, StartFunction::AsSetup, {"a"}, {"--frobnicate"}},
    };
    for (const Case& c : cases) {
        const ProgramArguments parsed = ParseProgramArguments(c.arguments);
        EXPECT_EQ(parsed.function, c.function) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(parsed.paths, c.paths) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(parsed.unknownOptions, c.unknown) << c.arguments.join(u' ').toStdString();
    }
}
