#include "cli/TypedKeyReader.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "cli/Interrupt.h"
#include "cli/TerminalOutput.h"
#include "core/keys/KeyNormalization.h"
#include "core/keys/KeyState.h"
#include "core/keys/TypedKeyEntry.h"
#include "core/keys/Windows1252.h"

namespace kyv::cli {

namespace {

// The longest line worth keeping: 64 characters of up to three UTF-8 bytes each, and a CR.
constexpr std::size_t kLongestKeyLine = KeyState::kMaxKeyLength * 3 + 1;

// Echo off while the key is typed on a terminal, and back on however the reading ends.
class EchoOff {
public:
    explicit EchoOff(int fd) : fd_(fd)
    {
        if (tcgetattr(fd, &saved_) != 0) return;
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        active_ = tcsetattr(fd, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff()
    {
        if (active_) tcsetattr(fd_, TCSAFLUSH, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    int fd_;
    termios saved_{};
    bool active_ = false;
};

KeyTextStatus ReadSecretLine(int fd, SecureBytes& line)
{
    line.Clear();
    bool tooLong = false;
    bool any = false;
    unsigned char byte = 0;
    std::size_t count = 0;
    while (true) {
        const ssize_t n = ::read(fd, &byte, 1);
        if (n < 0 && errno == EINTR) {
            if (InterruptRequested()) return KeyTextStatus::Interrupted;
            continue;
        }
        if (n <= 0) break;
        any = true;
        if (byte == '\n') break;
        if (++count == kKeyLineLimit) {
            line.Clear();
            return KeyTextStatus::LineTooLong;
        }
        if (line.size() < kLongestKeyLine)
            line.Append(byte);
        else
            tooLong = true;
        byte = 0;
    }
    if (!any) return KeyTextStatus::NoKey;
    if (!line.empty() && line[line.size() - 1] == '\r') line.Resize(line.size() - 1);
    return tooLong ? KeyTextStatus::TooLong : KeyTextStatus::Read;
}

// One code point of UTF-8 at `text[i]`; advances `i`. Nothing for a malformed sequence.
std::optional<char32_t> NextCodePoint(std::span<const unsigned char> text, std::size_t& i)
{
    const unsigned char lead = text[i++];
    if (lead < 0x80) return lead;
    int following = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        following = 1;
        value = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        following = 2;
        value = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        following = 3;
        value = lead & 0x07;
        smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    for (int k = 0; k < following; ++k) {
        if (i >= text.size() || (text[i] & 0xC0) != 0x80) return std::nullopt;
        value = (value << 6) | (text[i++] & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
    return value;
}

KeyTextStatus ReadOneEntry(TerminalOutput& output, const QString& prompt, bool terminal, SecureBytes& bytes)
{
    SecureBytes line;
    KeyTextStatus status = KeyTextStatus::Read;
    if (terminal) {
        // Echo goes off before the prompt shows, so that nothing typed after it is ever echoed.
        EchoOff quiet(STDIN_FILENO);
        output.WritePrompt(prompt + QLatin1Char(' '));
        status = ReadSecretLine(STDIN_FILENO, line);
        output.WriteMessage(QString());
    } else {
        status = ReadSecretLine(STDIN_FILENO, line);
    }
    if (status != KeyTextStatus::Read) return status;
    status = Utf8ToWindows1252(line.View(), bytes);
    if (status != KeyTextStatus::Read) return status;
    return CheckTypedKeyLength(bytes.View());
}

}  // namespace

KeyTextStatus Utf8ToWindows1252(std::span<const unsigned char> text, SecureBytes& bytes)
{
    bytes.Clear();
    std::size_t i = 0;
    while (i < text.size()) {
        const std::optional<char32_t> codePoint = NextCodePoint(text, i);
        if (!codePoint) {
            bytes.Clear();
            return KeyTextStatus::NotUtf8;
        }
        const std::optional<unsigned char> byte =
            *codePoint > 0xFFFF ? std::nullopt : ToWindows1252(static_cast<char16_t>(*codePoint));
        if (!byte) {
            bytes.Clear();
            return KeyTextStatus::NotSingleByte;
        }
        bytes.Append(*byte);
    }
    return KeyTextStatus::Read;
}

KeyTextStatus CheckTypedKeyLength(std::span<const unsigned char> windows1252)
{
    if (windows1252.size() > static_cast<std::size_t>(KeyState::kMaxKeyLength)) return KeyTextStatus::TooLong;
    if (NormalizedLength(windows1252) < static_cast<std::size_t>(KeyState::kMinKeyLength))
        return KeyTextStatus::TooShort;
    return KeyTextStatus::Read;
}

KeyTextStatus ReadTypedKey(TerminalOutput& output, bool encrypting, bool typeTwice, SecureBytes& bytes)
{
    const bool terminal = isatty(STDIN_FILENO) != 0;
    KeyTextStatus status = ReadOneEntry(output, KeyPromptWithoutDisplay(encrypting), terminal, bytes);
    if (status != KeyTextStatus::Read || !terminal || !typeTwice) return status;
    // A mistyped encryption key that nobody saw would lock the files away for good.
    SecureBytes again;
    status = ReadOneEntry(output, QStringLiteral("When done, re-enter the key exactly as above:"), terminal,
                          again);
    if (status != KeyTextStatus::Read) return status;
    if (!KeyEntriesMatch(bytes.View(), again.View())) {
        bytes.Clear();
        return KeyTextStatus::EntriesDiffer;
    }
    return KeyTextStatus::Read;
}

QString KeyTextMessage(KeyTextStatus status)
{
    switch (status) {
        case KeyTextStatus::Read:
            return QString();
        case KeyTextStatus::NoKey:
            return QStringLiteral("No key on standard input.");
        case KeyTextStatus::Interrupted:
            return QStringLiteral("Stopped.");
        case KeyTextStatus::NotUtf8:
            return QStringLiteral("The key is not UTF-8 text.");
        case KeyTextStatus::NotSingleByte:
            return QStringLiteral(
                "The key holds a character that a Kyv key cannot hold (Windows-1252 characters only).");
        case KeyTextStatus::TooLong:
            return QStringLiteral("The key has more than 64 characters.");
        case KeyTextStatus::LineTooLong:
            return QStringLiteral(
                "No key line ends within the first 4096 bytes of standard input; a key "
                "has at most 64 characters.");
        case KeyTextStatus::TooShort:
            return QStringLiteral(
                "The key has fewer than 16 characters (spaces and control characters do not count).");
        case KeyTextStatus::EntriesDiffer:
            return QStringLiteral("The key entries do not match!");
    }
    return QString();
}

}  // namespace kyv::cli
