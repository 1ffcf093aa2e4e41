// Reads arbitrary bytes as a setup file (kyve.opn, *.opn): the reader must return, with nothing or
// with contents that survive being written and read again.

#include <unistd.h>

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "core/setup/SetupFile.h"

namespace {

[[noreturn]] void Fault(const char* what)
{
    std::fprintf(stderr, "fault: %s\n", what);
    std::abort();
}

// A quoted field ends at the next double quote, and a written field is always quoted: text with
// a double quote, or a line end the writer's local encoding changes, cannot come back unchanged.
bool Writable(const kyv::SetupFileContents& contents)
{
    for (const QString& text :
         {contents.folders[0], contents.folders[1], contents.fileSpecs[0], contents.fileSpecs[1]}) {
        if (text.contains(QLatin1Char('"')) || QString::fromLocal8Bit(text.toLocal8Bit()) != text)
            return false;
    }
    return true;
}

bool Same(const kyv::SetupFileContents& a, const kyv::SetupFileContents& b)
{
    return a.encrypt == b.encrypt && a.confirmEachFile == b.confirmEachFile && a.inPlace == b.inPlace &&
           a.includeSubfolders == b.includeSubfolders && a.folders == b.folders && a.fileSpecs == b.fileSpecs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    static const std::string folder = "/dev/shm/kyv-fuzz-setup-" + std::to_string(::getpid());
    static const QString input = QString::fromStdString(folder + ".opn");
    static const QString again = QString::fromStdString(folder + "-again.opn");
    {
        std::ofstream out(input.toStdString(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const auto contents = kyv::ReadSetupFile(input);
    if (!contents || !Writable(*contents)) return 0;
    if (!kyv::WriteSetupFile(again, *contents)) Fault("a setup that was read cannot be written");
    const auto reread = kyv::ReadSetupFile(again);
    if (!reread) Fault("a written setup cannot be read");
    // Leading and trailing spaces of a quoted field are kept; the writer quotes every field.
    if (!Same(*contents, *reread)) Fault("a setup changed on its way through a file");
    return 0;
}
