// The two worked examples of docs/FORMAT.md, from a typed key and from a keyfile to the 64 key
// bytes and the checksum: a reader with only that page must get the same bytes as the program.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include "core/keys/KeyChecksum.h"
#include "core/keys/KeyNormalization.h"
#include "core/keys/KeyState.h"
#include "core/keys/KeyfileReading.h"
#include "core/keys/Windows1252.h"
#include "core/launch/KeyLengthening.h"

namespace kyv {
namespace {

QByteArray Text(const SecureBytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

struct KeyBytes {
    QByteArray normalized;
    QByteArray keyBytes;
    int checksum = 0;
};

KeyBytes FromRawKey(const SecureBytes& raw)
{
    KeyState key;
    const SecureBytes normalized = NormalizeKey(key, raw.View());
    return {Text(normalized), Text(LengthenKey(normalized)), KeyChecksum(key, normalized.View())};
}

TEST(KeyBytesExample, TypedKey)
{
    SecureBytes typed;
    ASSERT_TRUE(EncodeWindows1252(QString::fromUtf8("Kyv café, déjà vu × 3 œuvres"), typed));
    const KeyBytes made = FromRawKey(typed);
    const QByteArray normalized =
        "KYVCAF\xC9,D\xC9J\xC0VU\xD7"
        "3\x8CUVRES";
    EXPECT_EQ(made.normalized, normalized);
    EXPECT_EQ(made.keyBytes, (normalized + normalized + normalized).left(64));
    EXPECT_EQ(made.checksum, 8516);
}

TEST(KeyBytesExample, Keyfile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("example.key");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("secret\0keyfile\0with zeros", 25));
    file.close();
    SecureBytes raw;
    QString error;
    ASSERT_TRUE(ReadKeyfileBytes(platform::FilePath(path), raw, error)) << error.toStdString();
    // Positions 7 and 15 (counted from 1) become 128 - 7 = 'y' and 128 - 15 = 'q'; the padding stays.
    RepairZeroBytes(raw);
    EXPECT_EQ(Text(raw), QByteArray("secretykeyfileqwith zeros") + QByteArray(39, '\0'));
    const KeyBytes made = FromRawKey(raw);
    EXPECT_EQ(made.normalized, "SECRETYKEYFILEQWITHZEROS");
    EXPECT_EQ(made.keyBytes, QByteArray("SECRETYKEYFILEQWITHZEROS").repeated(3).left(64));
    EXPECT_EQ(made.checksum, 1291);
}

}  // namespace
}  // namespace kyv
