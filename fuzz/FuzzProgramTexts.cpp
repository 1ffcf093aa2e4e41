// Loads arbitrary bytes as the program-text file and checks that the loader either refuses them
// with one of its numbers or keeps only texts the file format allows.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/filelib/ProgramTextStore.h"

namespace {

namespace fs = std::filesystem;
namespace filelib = kyv::filelib;

[[noreturn]] void Fault(const char* what, int number)
{
    std::fprintf(stderr, "fault: %s (result %d)\n", what, number);
    std::abort();
}

bool IsLoaderNumber(int number)
{
    using filelib::TextLoadError;
    for (const TextLoadError error :
         {TextLoadError::NoTextRead, TextLoadError::CannotOpen, TextLoadError::TooMuchText,
          TextLoadError::TextNotRecovered, TextLoadError::MalformedLine, TextLoadError::FileEmpty,
          TextLoadError::ReadError, TextLoadError::NotRegularFile}) {
        if (number == static_cast<int>(error)) return true;
    }
    // The errors that name a line: -500 - line, -1000 - line, -1500 - line, for lines 1 to 500.
    const int line = filelib::kMaxTextFileLines;
    return (number < -500 && number >= -500 - line) || (number < -1000 && number >= -1000 - line) ||
           (number < -1500 && number >= -1500 - line);
}

// Code points of UTF-8 text that the loader accepted as valid.
int CodePoints(const std::string& text)
{
    int count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    static const fs::path path = fs::path("/dev/shm") / ("kyv-fuzz-texts-" + std::to_string(::getpid()));
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    static int lastKept = 0;  // a number the last successful load kept
    const filelib::TextLoadResult result = filelib::LoadTexts(path, 0);
    const int number = result.Number();
    if (result.error) {
        if (!IsLoaderNumber(number)) Fault("unknown result", number);
        if (size == 0 && *result.error != filelib::TextLoadError::FileEmpty) Fault("empty file", number);
        // A failed load keeps nothing, not even what an earlier load kept.
        if (lastKept > 0 && filelib::FetchText(lastKept, 0)) Fault("text kept after a failed load", number);
        return 0;
    }
    if (number < 1 || number > filelib::kMaxTextFileLines) Fault("count out of range", number);
    int found = 0;
    for (int n = 1; n <= 9999; ++n) {
        const auto text = filelib::FetchText(n, 0);
        if (!text) continue;
        ++found;
        lastKept = n;
        const int length = CodePoints(*text);
        if (length < 1 || length > filelib::kMaxTextLength) Fault("text length out of range", length);
    }
    if (found != number) Fault("count differs from the texts kept", found);
    return 0;
}
