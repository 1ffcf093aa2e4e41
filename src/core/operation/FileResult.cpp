#include "core/operation/FileResult.h"

namespace kyv {

namespace {

// The engine's codes from -16 down to -99 come after it began writing the output.
constexpr int kFirstCodeAfterOutput = -16;
constexpr int kLastCodeAfterOutput = -99;

}  // namespace

bool FileResult::Is(FileDecision decision) const
{
    const auto* own = std::get_if<FileDecision>(&outcome);
    return own != nullptr && *own == decision;
}

std::optional<cipher::CipherResult> FileResult::EngineFailure() const
{
    if (const auto* code = std::get_if<cipher::CipherResult>(&outcome)) return *code;
    return std::nullopt;
}

bool FileResult::CountsAsDone() const
{
    return Is(FileDecision::Done) || PurgeFellShort() || LeftUnderTemporaryName();
}

bool FileResult::PurgeFellShort() const
{
    return Is(FileDecision::PurgeNotOverwritten) || Is(FileDecision::PurgeNotDeleted);
}

bool FileResult::LeftUnderTemporaryName() const
{
    return Is(FileDecision::RenameFailed) || Is(FileDecision::RenameFailedOnFloppy);
}

bool FileResult::MayLeavePartialPlaintext() const
{
    const std::optional<cipher::CipherResult> failure = EngineFailure();
    if (!failure) return false;
    const int code = static_cast<int>(*failure);
    return code <= kFirstCodeAfterOutput && code >= kLastCodeAfterOutput;
}

FileResult::Outcome EngineOutcome(cipher::CipherResult code)
{
    if (code == cipher::CipherResult::Success) return FileDecision::Done;
    return code;
}

bool IsReadFailure(const FileResult::Outcome& outcome)
{
    const auto* code = std::get_if<cipher::CipherResult>(&outcome);
    return code != nullptr &&
           (*code == cipher::CipherResult::ReadError || *code == cipher::CipherResult::ReadErrorAfterOutput);
}

}  // namespace kyv
