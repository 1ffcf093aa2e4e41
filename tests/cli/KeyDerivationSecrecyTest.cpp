// Core images of kyv taken by gdb's gcore at fixed moments of the key derivation: as it enters
// Argon2, inside Argon2's first hash (which holds the key in its state), just after that hash, and
// once the derivation and the first file key are done. None may hold the key in the memory a core
// image keeps: guarded pages are left out of it, everything else is searched. (The register notes
// are not searched: the processor holds the bytes it is hashing in its registers while it hashes
// them; kyv clears them when the derivation is done.)

#include <gtest/gtest.h>

#include <elf.h>

#include <QFile>
#include <QProcess>
#include <string>
#include <vector>

#include "KyvRunner.h"
#include "support/Sanitizers.h"

namespace kyv {
namespace {

// A key no other bytes of the process would hold by chance, as the keyfile gives it, and its
// normalised form, which the lengthened key repeats.
constexpr char kKeyfileText[] = "zq marker Kyv key 7Wx3 Jp5q vB8n";
constexpr char kNormalizedKey[] = "ZQMARKERKYVKEY7WX3JP5QVB8N";

// Where in the core image's file the memory it holds lies: its loadable segments.
std::vector<std::pair<qint64, qint64>> MemoryRanges(QFile& core)
{
    std::vector<std::pair<qint64, qint64>> ranges;
    Elf64_Ehdr header{};
    if (core.read(reinterpret_cast<char*>(&header), sizeof header) != sizeof header ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_type != ET_CORE)
        return ranges;
    for (int i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr segment{};
        if (!core.seek(static_cast<qint64>(header.e_phoff) + i * header.e_phentsize) ||
            core.read(reinterpret_cast<char*>(&segment), sizeof segment) != sizeof segment)
            return {};
        if (segment.p_type == PT_LOAD && segment.p_filesz > 0)
            ranges.emplace_back(static_cast<qint64>(segment.p_offset), static_cast<qint64>(segment.p_filesz));
    }
    return ranges;
}

// How often `marker` occurs in the memory of the core image, or -1 when it is no core image.
int CountInMemory(const QString& path, const QByteArray& marker)
{
    QFile core(path);
    if (!core.open(QIODevice::ReadOnly)) return -1;
    const auto ranges = MemoryRanges(core);
    if (ranges.empty()) return -1;
    int count = 0;
    constexpr qint64 kPiece = qint64{1} << 22;
    for (const auto& [offset, size] : ranges) {
        // In pieces that overlap by the marker's length, so that none is missed at a seam.
        for (qint64 at = 0; at < size; at += kPiece) {
            core.seek(offset + at);
            const QByteArray piece = core.read(std::min(size - at, kPiece + marker.size() - 1));
            for (qsizetype found = piece.indexOf(marker); found >= 0 && found < kPiece;
                 found = piece.indexOf(marker, found + 1))
                ++count;
        }
    }
    return count;
}

struct Moment {
    const char* name;
    QStringList commands;  // gdb commands after the stop at crypto_pwhash
};

TEST(KeyDerivationSecrecy, NoCoreImageOfTheDerivationHoldsTheKey)
{
    if (test::kUnderSanitizer)
        GTEST_SKIP() << "a sanitizer's shadow memory makes a core image of terabytes; the plain build "
                        "checks the images";
    if (QProcess::execute(QStringLiteral("gdb"), {QStringLiteral("--version")}) != 0)
        GTEST_SKIP() << "gdb is not installed (scripts/install-deps.sh installs it)";
    test::Scratch s;
    const QString keyfile = s.Write(QStringLiteral("key"), kKeyfileText);
    s.Write(QStringLiteral("in/a.txt"), test::PlainText(500));
    s.MakeFolder(QStringLiteral("out"));
    const QString core = s.Path(QStringLiteral("core"));
    const Moment moments[] = {
        {"entering Argon2", {}},
        {"inside its first hash",
         {QStringLiteral("tbreak crypto_generichash_blake2b_final"), QStringLiteral("continue")}},
        {"after its first hash",
         {QStringLiteral("tbreak crypto_generichash_blake2b_final"), QStringLiteral("continue"),
          QStringLiteral("finish")}},
        {"after the derivation", {QStringLiteral("finish")}},
        {"after the first file key",
         {QStringLiteral("tbreak crypto_generichash_blake2b_salt_personal"), QStringLiteral("continue"),
          QStringLiteral("finish")}},
    };
    for (const Moment& moment : moments) {
        SCOPED_TRACE(moment.name);
        QFile::remove(core);
        QStringList arguments{QStringLiteral("-batch"), QStringLiteral("-nx"), QStringLiteral("-q")};
        QStringList commands{QStringLiteral("set pagination off"), QStringLiteral("break crypto_pwhash"),
                             QStringLiteral("run")};
        commands << moment.commands << QStringLiteral("gcore ") + core << QStringLiteral("kill");
        for (const QString& command : commands) arguments << QStringLiteral("-ex") << command;
        arguments << QStringLiteral("--args") << QStringLiteral(KYV_CLI_PATH) << QStringLiteral("encrypt")
                  << QStringLiteral("--key-file") << keyfile << QStringLiteral("--as")
                  << QStringLiteral("*.enc") << QStringLiteral("--to") << s.Path(QStringLiteral("out"))
                  << s.Path(QStringLiteral("in"));
        QProcess gdb;
        gdb.setProcessChannelMode(QProcess::MergedChannels);
        gdb.start(QStringLiteral("gdb"), arguments);
        ASSERT_TRUE(gdb.waitForFinished(240000));
        const QString log = QString::fromUtf8(gdb.readAll());
        if (log.contains(QStringLiteral("ptrace: Operation not permitted")) ||
            log.contains(QStringLiteral("Couldn't get registers")))
            GTEST_SKIP() << "this system does not let gdb trace a process: " << log.toStdString();
        ASSERT_TRUE(log.contains(QStringLiteral("Saved corefile"))) << log.toStdString();
        const int found = CountInMemory(core, kNormalizedKey);
        ASSERT_GE(found, 0) << "not a core image";
        EXPECT_EQ(found, 0) << "copies of the key in the core image's memory";
    }
    QFile::remove(core);
}

}  // namespace
}  // namespace kyv
