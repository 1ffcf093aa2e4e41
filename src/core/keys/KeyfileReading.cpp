#include "core/keys/KeyfileReading.h"

#include <QFile>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/common/Prompter.h"
#include "core/keys/KeyChecksum.h"
#include "core/keys/KeyNormalization.h"
#include "engine/cipher/CipherEngine.h"
#include "engine/filelib/Randomness.h"

namespace kyv {

namespace {

QString SystemErrorText(int error) { return QString::fromStdString(std::generic_category().message(error)); }

// Opens the keyfile for reading when it is of `kinds`; -1 with the reason in `errorText` otherwise.
int OpenKeyfile(const std::filesystem::path& name, KeyfileKinds kinds, QString& errorText)
{
    struct stat named {};
    if (::stat(name.c_str(), &named) != 0) {
        errorText = SystemErrorText(errno);
        return -1;
    }
    if (S_ISDIR(named.st_mode)) {
        errorText = QStringLiteral("Is a directory");
        return -1;
    }
    const bool pipe = S_ISFIFO(named.st_mode) && kinds == KeyfileKinds::RegularFileOrPipe;
    const QString notAFile =
        QStringLiteral("Not a regular file: a device or a pipe gives a key that cannot be had again");
    if (!S_ISREG(named.st_mode) && !pipe) {
        errorText = notAFile;
        return -1;
    }
    // A pipe waits for its writer; a file is opened without waiting, so that a name swapped for a
    // pipe or a device in between is not waited on but refused below.
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | (pipe ? 0 : O_NONBLOCK));
    if (fd < 0) {
        errorText = SystemErrorText(errno);
        return -1;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || opened.st_dev != named.st_dev || opened.st_ino != named.st_ino ||
        (opened.st_mode & S_IFMT) != (named.st_mode & S_IFMT)) {
        ::close(fd);
        errorText = notAFile;
        return -1;
    }
    return fd;
}

}  // namespace

bool ReadKeyfileBytes(const platform::FilePath& path, SecureBytes& keyBytes, QString& errorText,
                      KeyfileKinds kinds)
{
    keyBytes.Resize(kKeyfileKeyBytes);
    keyBytes.Wipe();
    errorText.clear();
    // Opened by its bytes, which Qt could not do for a name that is not UTF-8.
    const int fd = OpenKeyfile(path, kinds, errorText);
    if (fd < 0) return false;
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

QString UnsuitableKeyfileMessage(const platform::FilePath& path)
{
    return path.Display() + QStringLiteral(" is not a suitable keyfile.");
}

KeyfileReadOutcome ReadKeyfile(KeyState& keyState, const platform::FilePath& path, Prompter& prompter,
                               KeyfileKinds kinds)
{
    keyState.newRandomKey = false;
    keyState.choiceAbandoned = false;
    keyState.SetKeyfilePath(path);
    QString errorText;
    if (!ReadKeyfileBytes(path, keyState.rawKeyBytes, errorText, kinds)) {
        keyState.source = NotSpecified;
        prompter.Tell(errorText, QStringLiteral("Keyfile error"), MessageIcon::Error);
        return KeyfileReadOutcome::Failed;
    }
    if (!KeyfileBytesSuitable(keyState.rawKeyBytes.View())) {
        keyState.source = NotSpecified;
        keyState.rawKeyBytes.Wipe();
        prompter.Tell(UnsuitableKeyfileMessage(path), QStringLiteral("Unsuitable keyfile"),
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
