#include "core/operation/FileRefusal.h"

#include <cerrno>

#include "core/files/NameText.h"

namespace kyv {

namespace {

// The program's own file or the current keyfile: never replaced.
Refusal ProgramFileRefusal(const RefusalSetup& setup, const platform::FilePath& path,
                           const platform::FileIdentity& file)
{
    const QString lowerPath = LowerCaseText(path.Text());
    if (setup.executable.Is(lowerPath, file)) return Refusal::OwnExecutable;
    if (setup.keyfile.Is(lowerPath, file)) return Refusal::CurrentKeyfile;
    return Refusal::None;
}

// A file that in-place work would change: besides the program's files, the types that are never
// changed where they are.
Refusal InPlaceRefusal(const RefusalSetup& setup, const platform::FilePath& path,
                       const platform::FileIdentity& file)
{
    const Refusal programFile = ProgramFileRefusal(setup, path, file);
    if (programFile != Refusal::None) return programFile;
    if (setup.extensions.Contains(LowerCaseText(GetFileExtension(path.Text(), false))))
        return Refusal::ProtectedExtension;
    return Refusal::None;
}

}  // namespace

bool ProtectedFile::Is(const QString& otherLowerPath, const platform::FileIdentity& other) const
{
    return !lowerPath.isEmpty() && (lowerPath == otherLowerPath || platform::SameFile(identity, other));
}

Refusal RefusalOf(const FileFacts& file, const RefusalSetup& setup)
{
    const platform::FileIdentity& input = file.input;
    if (!input.Seen() || !input.regular)
        return input.error == ENOENT ? Refusal::Gone : Refusal::CannotBeOpened;
    if (input.size == 0) return Refusal::Empty;
    if (!setup.encrypting && input.size < 3) return Refusal::TooSmallToDecrypt;
    if (file.inPlace) return InPlaceRefusal(setup, file.inputPath, input);
    // Writing over the program or the current keyfile would lose it just the same; and an output
    // name that maps back onto the input in an in-place run is in-place work too.
    const Refusal output = ProgramFileRefusal(setup, file.outputPath, file.output);
    if (output != Refusal::None || !setup.inPlaceRun) return output;
    return InPlaceRefusal(setup, file.inputPath, input);
}

bool RefusedBeforeLength(Refusal refusal)
{
    switch (refusal) {
        case Refusal::Gone:
        case Refusal::CannotBeOpened:
        case Refusal::Empty:
        case Refusal::TooSmallToDecrypt:
            return true;
        default:
            return false;
    }
}

FileResult::Outcome RefusalOutcome(Refusal refusal)
{
    switch (refusal) {
        case Refusal::Gone:
            return cipher::CipherResult::InputNotFound;
        case Refusal::CannotBeOpened:
            return cipher::CipherResult::InputCannotBeOpened;
        case Refusal::Empty:
            return FileDecision::EmptyFile;
        case Refusal::TooSmallToDecrypt:
            return FileDecision::TooSmallToDecrypt;
        case Refusal::OwnExecutable:
            return FileDecision::OwnExecutable;
        case Refusal::CurrentKeyfile:
            return FileDecision::CurrentKeyfile;
        case Refusal::ProtectedExtension:
            return FileDecision::ProtectedExtension;
        case Refusal::None:
            break;
    }
    return FileDecision::Done;
}

}  // namespace kyv
