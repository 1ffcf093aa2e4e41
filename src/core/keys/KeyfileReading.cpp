#include "core/keys/KeyfileReading.h"

#include <QFile>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "core/common/Prompter.h"
#include "core/files/FolderPath.h"
#include "core/keys/KeyChecksum.h"
#include "core/keys/KeyNormalization.h"
#include "engine/cipher/CipherEngine.h"
#include "engine/filelib/Randomness.h"

namespace kyv {

bool ReadKeyfileBytes(const QString& path, SecureBytes& keyBytes, QString& errorText)
{
    keyBytes.Resize(kKeyfileKeyBytes);
    keyBytes.Wipe();
    errorText.clear();
    const std::filesystem::path name = ToFileSystemPath(path);
    std::error_code error;
    if (std::filesystem::is_directory(name, error)) {
        errorText = QStringLiteral("Is a directory");
        return false;
    }
    // Opened by its bytes, which Qt could not do for a name that is not UTF-8.
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        errorText = QString::fromStdString(std::generic_category().message(errno));
        return false;
    }
    QFile file;
    // Unbuffered: the bytes go straight into guarded memory, with no copy in a file buffer.
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        errorText = file.errorString();
        return false;
    }
    qint64 filled = 0;
    const auto wanted = static_cast<qint64>(kKeyfileKeyBytes);
    while (filled < wanted) {
        const qint64 got = file.read(reinterpret_cast<char*>(keyBytes.data()) + filled, wanted - filled);
        if (got < 0) {
            errorText = file.errorString();
            keyBytes.Wipe();
            return false;
        }
        if (got == 0) break;
        filled += got;
    }
    return true;
}

bool KeyfileBytesSuitable(std::span<const unsigned char> keyBytes)
{
    return NormalizedLength(keyBytes) >= static_cast<std::size_t>(KeyState::kMinKeyLength);
}

void RepairZeroBytes(SecureBytes& keyBytes)
{
    std::size_t last = keyBytes.size();
    while (last > 0 && keyBytes[last - 1] == 0) --last;
    // Positions count from 1: the byte at index i stands at position i + 1.
    for (std::size_t i = 0; i + 1 < last; ++i) {
        if (keyBytes[i] == 0) keyBytes[i] = static_cast<unsigned char>(128 - static_cast<int>(i + 1));
    }
}

bool KeyIsRandom(std::span<const unsigned char> keyBytes)
{
    return filelib::RandomnessMeasure(keyBytes.data(), keyBytes.size(), keyBytes.size()) >= kMinKeyRandomness;
}

KeyBytesClass ClassifyKeyBytes(std::span<const unsigned char> keyBytes)
{
    KeyBytesClass result;
    result.text = cipher::KeyIsText(keyBytes.data(), keyBytes.size());
    result.apparentlyRandom = !result.text && KeyIsRandom(keyBytes);
    return result;
}

QString UnsuitableKeyfileMessage(const QString& displayPath)
{
    return DisplayName(displayPath) + QStringLiteral(" is not a suitable keyfile.");
}

KeyfileReadOutcome ReadKeyfile(KeyState& keyState, const QString& displayPath, Prompter& prompter)
{
    keyState.newRandomKey = false;
    keyState.choiceAbandoned = false;
    keyState.SetKeyfilePath(displayPath);
    QString errorText;
    if (!ReadKeyfileBytes(displayPath, keyState.rawKeyBytes, errorText)) {
        keyState.source = NotSpecified;
        prompter.Tell(errorText, QStringLiteral("Keyfile error"), MessageIcon::Error);
        return KeyfileReadOutcome::Failed;
    }
    if (!KeyfileBytesSuitable(keyState.rawKeyBytes.View())) {
        keyState.source = NotSpecified;
        keyState.rawKeyBytes.Wipe();
        prompter.Tell(UnsuitableKeyfileMessage(displayPath), QStringLiteral("Unsuitable keyfile"),
                      MessageIcon::None);
        return KeyfileReadOutcome::Unsuitable;
    }
    RepairZeroBytes(keyState.rawKeyBytes);
    const KeyBytesClass kind = ClassifyKeyBytes(keyState.rawKeyBytes.View());
    keyState.isText = kind.text;
    keyState.apparentlyRandom = kind.apparentlyRandom;
    return KeyfileReadOutcome::Read;
}

void InstallKeyfileKey(KeyState& keyState)
{
    keyState.normalizedKey = NormalizeKey(keyState, keyState.rawKeyBytes.View());
    keyState.checksum = KeyChecksum(keyState, keyState.normalizedKey.View());
    keyState.source = Keyfile;
}

}  // namespace kyv
