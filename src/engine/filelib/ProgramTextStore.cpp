#include "engine/filelib/ProgramTextStore.h"

#include <map>
#include <sstream>
#include <system_error>

#include "engine/filelib/RegularFileReader.h"

namespace kyv::filelib {

namespace {

std::map<int, std::string>& Store()
{
    static std::map<int, std::string> store;
    return store;
}

// Number of code points, or -1 when the bytes are not valid UTF-8.
int Utf8Length(const std::string& bytes)
{
    int count = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        if (lead < 0x80)
            extra = 0;
        else if ((lead & 0xE0) == 0xC0 && lead >= 0xC2)
            extra = 1;
        else if ((lead & 0xF0) == 0xE0)
            extra = 2;
        else if ((lead & 0xF8) == 0xF0 && lead <= 0xF4)
            extra = 3;
        else
            return -1;
        if (i + extra >= bytes.size() && extra > 0) return -1;
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return -1;
        }
        i += extra + 1;
        ++count;
    }
    return count;
}

// Undoes the escapes of a text: "\n" is a line break, "\\" a backslash. False on any other escape.
bool Unescape(const std::string& raw, std::string& text)
{
    text.clear();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            text += raw[i];
            continue;
        }
        if (i + 1 == raw.size()) return false;
        const char next = raw[++i];
        if (next == 'n')
            text += "\n";
        else if (next == '\\')
            text += '\\';
        else
            return false;
    }
    return true;
}

}  // namespace

TextLoadResult LoadTexts(const std::filesystem::path& path, int /*language*/)
{
    const auto failed = [](TextLoadError error, int line = 0) { return TextLoadResult{0, error, line}; };
    Store().clear();
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (std::filesystem::is_directory(status)) return failed(TextLoadError::ReadError);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return failed(TextLoadError::NotRegularFile);
    // The reader opens without waiting and refuses anything but a regular file, also one that
    // replaced the checked path in the meantime.
    RegularFileReader reader;
    switch (reader.Open(path)) {
        case RegularFileReader::OpenResult::Opened:
            break;
        case RegularFileReader::OpenResult::NotFound:
            return failed(std::filesystem::exists(path, error) ? TextLoadError::NotRegularFile
                                                               : TextLoadError::CannotOpen);
        case RegularFileReader::OpenResult::Unreadable:
            return failed(TextLoadError::CannotOpen);
    }
    if (reader.Size() > kMaxTextFileBytes) return failed(TextLoadError::TooMuchText);
    std::string content(static_cast<std::size_t>(reader.Size()), '\0');
    if (!reader.ReadExactly(reinterpret_cast<unsigned char*>(content.data()), content.size()))
        return failed(TextLoadError::ReadError);
    if (content.empty()) return failed(TextLoadError::FileEmpty);
    if (Utf8Length(content) < 0) return failed(TextLoadError::TextNotRecovered);

    std::map<int, std::string> texts;
    std::istringstream lines(content);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (lineNumber > kMaxTextFileLines) return failed(TextLoadError::TooMuchText);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::size_t digits = 0;
        while (digits < line.size() && digits < 5 && line[digits] >= '0' && line[digits] <= '9') ++digits;
        if (digits == 0 || digits > 4 || digits >= line.size() || line[digits] != ':')
            return failed(TextLoadError::MalformedLine);
        const int number = std::stoi(line.substr(0, digits));
        if (number < 1) return failed(TextLoadError::MalformedLine);
        std::string raw = line.substr(digits + 1);
        if (!raw.empty() && raw[0] == ' ') raw.erase(0, 1);
        std::string text;
        if (!Unescape(raw, text)) return failed(TextLoadError::MalformedLine);
        if (text.empty()) return failed(TextLoadError::MissingText, lineNumber);
        if (Utf8Length(text) > kMaxTextLength) return failed(TextLoadError::TextTooLong, lineNumber);
        if (!texts.emplace(number, std::move(text)).second)
            return failed(TextLoadError::Duplicate, lineNumber);
    }
    if (texts.empty()) return failed(TextLoadError::NoTextRead);
    Store() = std::move(texts);
    return TextLoadResult{static_cast<int>(Store().size()), std::nullopt, 0};
}

std::optional<std::string> FetchText(int number, int /*language*/)
{
    const auto found = Store().find(number);
    if (found == Store().end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace kyv::filelib
