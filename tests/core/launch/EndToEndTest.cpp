// "Do it!" with the real cipher engine (at a cheap key-derivation cost): typed key, a folder of
// mixed files, encryption and decryption back, in place and into separate files, and a wrong key.

#include <QDirIterator>
#include <QRandomGenerator>

#include "LaunchFixture.h"
#include "engine/cipher/CipherEngine.h"

namespace kyv::test {
namespace {

const cipher::KdfPolicy kCheapPolicy{cipher::KdfCost{1, 13}, cipher::KdfCost{2, 16}};
const QString kKeyIncorrect = QStringLiteral("Decryption key is incorrect or ciphertext is corrupt.");

class EndToEnd : public LaunchFixture {
protected:
    void SetUp() override
    {
        LaunchFixture::SetUp();
        realEngine_ = cipher::MakeCipherEngine(kCheapPolicy);
        ASSERT_TRUE(realEngine_->AllocateBuffers());
        engine = realEngine_.get();
        QRandomGenerator random(20260);
        QByteArray noise(300 * 1024 + 17, '\0');
        for (char& byte : noise) byte = static_cast<char>(random.generate() & 0xFF);
        originals_ = {
            {"notes.txt", QByteArray("Minutes of the meeting.\r\n").repeated(40)},
            {"photo.jpg", noise},
            {"tiny.raw", QByteArray("\x01\x02", 2)},
            {"sheet.csv", QByteArray("1,2,3\n").repeated(20000)},
        };
        for (const auto& [name, bytes] : originals_) Write("in/" + name, bytes);
        Write("in/empty.dat", QByteArray());
        Write("in/lower/deep.txt", QByteArray("in a subfolder"));
        TypeKey(key, "Correct horse battery staple");
    }
    void TearDown() override { realEngine_->DeallocateBuffers(); }

    LaunchResult Run(bool encrypt, const QString& inFolder, const QString& inSpec, const QString& outFolder,
                     const QString& outSpec, bool subfolders = false)
    {
        setup.direction = DirectionFor(encrypt);
        setup.inPlace = false;
        setup.includeSubfolders = subfolders;
        Select(Root() + inFolder, inSpec, outFolder.isEmpty() ? Root() + inFolder : Folder(outFolder),
               outSpec);
        return Launch();
    }

    QStringList Names(const QString& relative) const
    {
        QStringList names;
        QDirIterator files(Root() + relative, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) names.append(files.next().mid(Root().size() + relative.size()));
        names.sort();
        return names;
    }

    std::unique_ptr<cipher::CipherEngine> realEngine_;
    std::vector<std::pair<QString, QByteArray>> originals_;
};

TEST_F(EndToEnd, EncryptingIntoEncFilesAndDecryptingBackGivesIdenticalFiles)
{
    ASSERT_EQ(Run(true, "in/", "*.*", "enc/", "*.enc").outcome, LaunchOutcome::Ran);
    EXPECT_EQ(report.state.result.filesDone, 4);
    EXPECT_TRUE(report.sink.text.contains("empty.dat     This file is empty (0 bytes)."));
    EXPECT_EQ(Names("enc/"), QStringList({"notes.enc", "photo.enc", "sheet.enc", "tiny.enc"}));
    for (const auto& [name, bytes] : originals_)
        EXPECT_NE(Read("enc/" + QFileInfo(name).completeBaseName() + ".enc"), bytes) << name.toStdString();

    ASSERT_EQ(Run(false, "enc/", "*.enc", "back/", "*.*").outcome, LaunchOutcome::Ran);
    EXPECT_EQ(report.state.result.filesDone, 4) << report.sink.text.toStdString();
    for (const auto& [name, bytes] : originals_)
        EXPECT_EQ(Read("back/" + QFileInfo(name).completeBaseName() + ".enc"), bytes) << name.toStdString();
    EXPECT_EQ(report.caption, "Decrypting *.enc");
    EXPECT_EQ(report.shows, 2);
    EXPECT_EQ(report.kindWhenShown, RunKind::Operation);
    EXPECT_EQ(report.copyButtonRestores, 2);
    EXPECT_EQ(report.sink.status, "Done");
}

TEST_F(EndToEnd, InPlaceReplacesTheOriginalsAndDecryptsBackIncludingSubfolders)
{
    ASSERT_EQ(Run(true, "in/", "*.*", "", "*.*", true).outcome, LaunchOutcome::Ran);
    // "Output file(s) same?" turned on by the equal specification; nothing beside the files.
    EXPECT_TRUE(setup.inPlace);
    const QStringList names = {"empty.dat", "lower/deep.txt", "notes.txt",
                               "photo.jpg", "sheet.csv",      "tiny.raw"};
    EXPECT_EQ(Names("in/"), names);
    for (const auto& [name, bytes] : originals_) EXPECT_NE(Read("in/" + name), bytes) << name.toStdString();
    EXPECT_NE(Read("in/lower/deep.txt"), QByteArray("in a subfolder"));
    EXPECT_EQ(report.state.result.filesDone, 5);

    ASSERT_EQ(Run(false, "in/", "*.*", "", "*.*", true).outcome, LaunchOutcome::Ran);
    EXPECT_EQ(Names("in/"), names);
    for (const auto& [name, bytes] : originals_) EXPECT_EQ(Read("in/" + name), bytes) << name.toStdString();
    EXPECT_EQ(Read("in/lower/deep.txt"), QByteArray("in a subfolder"));
}

TEST_F(EndToEnd, AWrongKeyReportsEachFileAndChangesNothing)
{
    struct Case {
        const char* name;
        bool inPlace;
    };
    for (const Case c : {Case{"separate", false}, Case{"in place", true}}) {
        QDir(Root() + "enc/").removeRecursively();
        QDir(Root() + "back/").removeRecursively();
        TypeKey(key, "Correct horse battery staple");
        ASSERT_EQ(Run(true, "in/", "*.*", "enc/", "*.enc").outcome, LaunchOutcome::Ran);
        std::vector<QByteArray> encrypted;
        for (const QString& name : Names("enc/")) encrypted.push_back(Read("enc/" + name));

        TypeKey(key, "Incorrect horse battery staple");
        const LaunchResult result = c.inPlace ? Run(false, "enc/", "*.enc", "", "*.enc")
                                              : Run(false, "enc/", "*.enc", "back/", "*.*");

        EXPECT_EQ(result.outcome, LaunchOutcome::Ran) << c.name;
        EXPECT_EQ(report.sink.text.count(kKeyIncorrect), 4) << c.name << report.sink.text.toStdString();
        EXPECT_EQ(report.state.result.filesDone, 0) << c.name;
        EXPECT_TRUE(Names("back/").isEmpty()) << c.name;
        const QStringList after = Names("enc/");
        ASSERT_EQ(after.size(), 4) << c.name;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Read("enc/" + after[i]), encrypted[static_cast<std::size_t>(i)]) << c.name;
    }
}

}  // namespace
}  // namespace kyv::test
