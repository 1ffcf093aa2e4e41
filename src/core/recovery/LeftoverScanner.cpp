#include "core/recovery/LeftoverScanner.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "core/recovery/FileAuthenticator.h"
#include "engine/cipher/FileFormat.h"
#include "engine/filelib/OriginalNameRecord.h"
#include "engine/filelib/TempNames.h"

namespace kyv {

namespace fs = std::filesystem;

namespace {

// The purge's meaningless name, and the engine's working-file mark followed by as many digits.
constexpr std::size_t kHiddenNameLength = 12;
constexpr std::string_view kWorkingMark = ".kyvpart-";
// Digits of the largest number a temporary name is given.
constexpr std::size_t kMaxNumberDigits = std::char_traits<char>::length("999999");
static_assert(filelib::kLargestFilepathExtension == 999999);

struct Entry {
    std::string name;
    fs::path path;
    struct stat status {};
};

bool IsLowerHex(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

bool IsHiddenName(std::string_view name) { return name.size() == kHiddenNameLength && IsLowerHex(name); }

// "OUTPUT.kyvpart-0123456789ab" -> "OUTPUT".
std::optional<std::string> WorkingStem(std::string_view name)
{
    const std::size_t mark = name.rfind(kWorkingMark);
    // A working name that would be too long is the mark and digits alone: an empty stem.
    if (mark == std::string_view::npos) return std::nullopt;
    const std::string_view digits = name.substr(mark + kWorkingMark.size());
    if (digits.size() != kHiddenNameLength || !IsLowerHex(digits)) return std::nullopt;
    return std::string(name.substr(0, mark));
}

// The names whose temporary name `name` could be, the most likely first: a temporary name is its
// original's name followed by the smallest free number (1, 2, ...), never with a leading zero.
std::vector<std::string> OriginalNamesOf(std::string_view name)
{
    std::vector<std::string> originals;
    for (std::size_t digits = 1; digits <= kMaxNumberDigits && digits < name.size(); ++digits) {
        const char digit = name[name.size() - digits];
        if (digit < '0' || digit > '9') break;
        if (digit != '0') originals.emplace_back(name.substr(0, name.size() - digits));
    }
    return originals;
}

// A long name's temporary name is cut so that its number (up to 7 bytes) and the engine's working
// suffix (16) still fit the file system's limit, and ends in "~"; the cut steps back up to 3 bytes
// so as not to split a character.
constexpr std::size_t kCutRoom = 7 + 16;
constexpr std::size_t kCutStepBack = 3;

// Only the owner may read and write: how the program creates every output and temporary file.
bool OwnerOnly(const struct stat& status)
{
    return (status.st_mode & 07777 & ~static_cast<mode_t>(S_IRUSR | S_IWUSR)) == 0;
}

// The plaintext length when the file has an encrypted file's header and a length that whole chunks
// make up; none otherwise.
std::optional<std::uint64_t> EncryptedLength(const Entry& entry)
{
    const auto size = static_cast<std::uint64_t>(entry.status.st_size);
    const std::optional<std::uint64_t> length = cipher::format::PlaintextLengthFor(size);
    if (!length) return std::nullopt;
    const int fd = ::open(entry.path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    cipher::format::Header header{};
    const ssize_t got = ::pread(fd, header.data(), header.size(), 0);
    ::close(fd);
    if (got != static_cast<ssize_t>(header.size()) ||
        header[cipher::format::kVersionOffset] != cipher::format::kVersion ||
        !cipher::format::CostIsValid(header[cipher::format::kOpsLimitOffset],
                                     header[cipher::format::kMemLimitOffset]))
        return std::nullopt;
    return length;
}

// A complete result whose original is gone: encrypted, or (when a hidden original pairs with it)
// decrypted.
struct Result {
    const Entry* entry = nullptr;
    std::string original;
    bool encrypted = false;
    std::uint64_t plaintextLength = 0;
    bool authenticated = false;
    bool paired = false;
};

class FolderScan {
public:
    FolderScan(const fs::path& folder, FileAuthenticator* authenticator)
        : folder_(folder), authenticator_(authenticator)
    {
    }

    std::vector<Leftover> Run(std::error_code& error)
    {
        if (!List(error)) return {};
        std::map<std::string, std::vector<Result>> orphans;
        std::vector<Result> plainResults;
        std::vector<const Entry*> hidden;
        std::vector<const Entry*> working;
        for (const Entry& entry : files_) {
            if (IsHiddenName(entry.name)) {
                hidden.push_back(&entry);
            } else if (WorkingStem(entry.name)) {
                working.push_back(&entry);
            } else if (OwnerOnly(entry.status)) {
                ClassifyTemporary(entry, orphans, plainResults);
            }
        }
        std::vector<Result> results = SettleOrphans(orphans);
        results.insert(results.end(), plainResults.begin(), plainResults.end());
        PairHidden(hidden, results);
        for (const Result& result : results) AddResult(result);
        for (const Entry* entry : working) AddWorkingFile(*entry);
        std::sort(found_.begin(), found_.end(),
                  [](const Leftover& a, const Leftover& b) { return a.path < b.path; });
        return std::move(found_);
    }

private:
    bool List(std::error_code& error)
    {
        const long limit = ::pathconf(folder_.c_str(), _PC_NAME_MAX);
        if (limit > 0) nameMax_ = static_cast<std::size_t>(limit);
        fs::directory_iterator it(folder_, error);
        for (; !error && it != fs::directory_iterator(); it.increment(error)) {
            Entry entry{it->path().filename().string(), it->path(), {}};
            names_.insert(entry.name);
            if (::lstat(entry.path.c_str(), &entry.status) == 0 && S_ISREG(entry.status.st_mode))
                files_.push_back(std::move(entry));
        }
        return !error;
    }

    bool Exists(const std::string& name) const { return names_.count(name) != 0; }

    // The file `name` is an encrypted file of a plaintext of `length` bytes.
    bool IsEncryptionOf(const std::string& name, std::uint64_t length) const
    {
        const auto file = std::find_if(files_.begin(), files_.end(),
                                       [&name](const Entry& entry) { return entry.name == name; });
        return file != files_.end() && EncryptedLength(*file) == length;
    }

    bool IsCutName(const std::string& base) const
    {
        return !base.empty() && base.back() == '~' && base.size() + kCutRoom <= nameMax_ &&
               base.size() + kCutRoom + kCutStepBack >= nameMax_;
    }

    // The original that `base` stands for, when it is here: the base itself or, for a cut name,
    // the one longer name that begins with the cut.
    std::optional<std::string> PresentOriginal(const std::string& base) const
    {
        if (Exists(base)) return base;
        if (!IsCutName(base)) return std::nullopt;
        const std::string cut = base.substr(0, base.size() - 1);
        std::optional<std::string> found;
        for (auto it = names_.lower_bound(cut); it != names_.end() && it->compare(0, cut.size(), cut) == 0;
             ++it) {
            // A name that short is never cut; one that goes on with the "~" is a temporary name too.
            if (it->size() + kCutRoom <= nameMax_ || it->compare(0, base.size(), base) == 0) continue;
            if (found) return std::nullopt;
            found = *it;
        }
        return found;
    }

    // The first of `originals` that is here, and whether it is the most likely one.
    std::optional<std::pair<std::string, bool>> FirstPresent(const std::vector<std::string>& originals) const
    {
        for (std::size_t i = 0; i < originals.size(); ++i)
            if (const std::optional<std::string> present = PresentOriginal(originals[i]))
                return std::make_pair(*present, i == 0);
        return std::nullopt;
    }

    Leftover& Add(Leftover::Kind kind, Leftover::Action action, const Entry& entry,
                  const std::string& related)
    {
        Leftover leftover;
        leftover.kind = kind;
        leftover.action = action;
        leftover.path = entry.path;
        leftover.related = related.empty() ? fs::path() : folder_ / related;
        leftover.seen = platform::IdentifyFile(entry.path);
        return found_.emplace_back(std::move(leftover));
    }

    void ClassifyTemporary(const Entry& entry, std::map<std::string, std::vector<Result>>& orphans,
                           std::vector<Result>& plainResults)
    {
        const std::vector<std::string> originals = OriginalNamesOf(entry.name);
        if (originals.empty()) return;
        const auto present = FirstPresent(originals);
        if (entry.status.st_size == 0) {
            // Reserved, and the run ended before its result arrived: nothing in it.
            if (present) Add(Leftover::Kind::Reservation, Leftover::Action::Remove, entry, present->first);
            return;
        }
        // A cut name does not tell the whole name of an original that is gone.
        const bool nameKnown = !IsCutName(originals.front());
        const std::optional<std::uint64_t> length = EncryptedLength(entry);
        if (!length) {
            const auto size = static_cast<std::uint64_t>(entry.status.st_size);
            if (present && present->second && IsEncryptionOf(present->first, size)) {
                // An in-place decryption that ended before it purged the encrypted original.
                Add(Leftover::Kind::ResultBesideOriginal, Leftover::Action::Leave, entry, present->first)
                    .decrypted = true;
                return;
            }
            // Any file of the owner's could look like this; only a hidden original vouches for it.
            if (!present && nameKnown)
                plainResults.push_back(Result{&entry, originals.front(), false,
                                              static_cast<std::uint64_t>(entry.status.st_size), false,
                                              false});
            return;
        }
        if (present && present->second) {
            Add(Leftover::Kind::ResultBesideOriginal, Leftover::Action::Leave, entry, present->first);
        } else if (present) {
            Add(Leftover::Kind::AmbiguousResult, Leftover::Action::Leave, entry, originals.front());
        } else if (!nameKnown) {
            Add(Leftover::Kind::CutNameResult, Leftover::Action::Leave, entry,
                originals.front().substr(0, originals.front().size() - 1));
        } else {
            orphans[originals.front()].push_back(
                Result{&entry, originals.front(), true, *length, false, false});
        }
    }

    // One result per vanished original; with a key, only one that authenticates.
    std::vector<Result> SettleOrphans(const std::map<std::string, std::vector<Result>>& orphans)
    {
        std::vector<Result> settled;
        for (const auto& [original, results] : orphans) {
            if (results.size() > 1) {
                for (const Result& result : results)
                    Add(Leftover::Kind::AmbiguousResult, Leftover::Action::Leave, *result.entry, original);
                continue;
            }
            Result result = results.front();
            if (authenticator_ != nullptr) {
                const FileAuthenticator::Outcome outcome = authenticator_->Authenticate(result.entry->path);
                if (!outcome.Authentic()) {
                    Add(Leftover::Kind::UnauthenticResult, Leftover::Action::Leave, *result.entry, original);
                    continue;
                }
                result.plaintextLength = outcome.plaintextLength;
                result.authenticated = true;
            }
            settled.push_back(result);
        }
        return settled;
    }

    // A hidden original keeps its length until its purge truncates it: an encrypted result of
    // that plaintext length, or a decrypted one whose encryption has it, holds its data. Only the
    // purge's record on the file (its original's name) makes it a hidden original: a file of the
    // user's may have a name of twelve hexadecimal digits and the length of some result too, so
    // without a record nothing is purged or removed on name and length alone.
    void PairHidden(const std::vector<const Entry*>& hidden, std::vector<Result>& results)
    {
        std::vector<std::pair<const Entry*, std::string>> recorded;
        std::vector<const Entry*> unrecorded;
        for (const Entry* entry : hidden) {
            if (std::optional<std::string> record = filelib::RecordedOriginalName(entry->path))
                recorded.emplace_back(entry, std::move(*record));
            else
                unrecorded.push_back(entry);
        }
        for (const auto& [entry, record] : recorded) PairRecorded(*entry, record, results);
        for (const Entry* entry : unrecorded) DescribeUnrecorded(*entry, unrecorded, results);
    }

    static bool HoldsDataOf(const Result& result, std::uint64_t size)
    {
        return result.encrypted ? result.plaintextLength == size
                                : cipher::format::EncryptedSize(result.plaintextLength) == size;
    }

    void PairRecorded(const Entry& entry, const std::string& record, std::vector<Result>& results)
    {
        const auto size = static_cast<std::uint64_t>(entry.status.st_size);
        if (size == 0) {
            // Truncated by its purge: nothing is in it.
            Add(Leftover::Kind::EmptyHidden, Leftover::Action::Remove, entry, record);
            return;
        }
        const auto match = std::find_if(results.begin(), results.end(), [&](const Result& result) {
            return !result.paired && result.original == record && HoldsDataOf(result, size);
        });
        if (match != results.end()) {
            match->paired = true;
            Leftover& leftover = Add(Leftover::Kind::HalfPurged, Leftover::Action::Purge, entry, record);
            leftover.result = match->entry->path;
            leftover.purgeAfterDecryption = !match->encrypted;
            return;
        }
        // A recover cut short during this purge had given the result its name already.
        if (const std::optional<bool> encrypted = ResultInPlace(record, size)) {
            Leftover& leftover = Add(Leftover::Kind::HalfPurged, Leftover::Action::Purge, entry, record);
            leftover.result = folder_ / record;
            leftover.resultInPlace = true;
            leftover.resultSeen = platform::IdentifyFile(leftover.result);
            leftover.purgeAfterDecryption = !*encrypted;
            return;
        }
        Add(Leftover::Kind::UnknownHidden, Leftover::Action::Leave, entry, {});
    }

    // Whether the file `name` holds the data of a hidden original of `size` bytes that records
    // `name`: encrypted with that plaintext length (authenticated, with a key), or plain and of the
    // length whose encryption has that size. Which of the two, when it does.
    std::optional<bool> ResultInPlace(const std::string& name, std::uint64_t size) const
    {
        const auto file = std::find_if(files_.begin(), files_.end(),
                                       [&name](const Entry& entry) { return entry.name == name; });
        if (file == files_.end()) return std::nullopt;
        if (const std::optional<std::uint64_t> length = EncryptedLength(*file)) {
            if (*length != size) return std::nullopt;
            if (authenticator_ != nullptr) {
                const FileAuthenticator::Outcome outcome = authenticator_->Authenticate(file->path);
                if (!outcome.Authentic() || outcome.plaintextLength != size) return std::nullopt;
            }
            return true;
        }
        if (cipher::format::EncryptedSize(static_cast<std::uint64_t>(file->status.st_size)) != size)
            return std::nullopt;
        return false;
    }

    void DescribeUnrecorded(const Entry& entry, const std::vector<const Entry*>& unrecorded,
                            const std::vector<Result>& results)
    {
        const auto size = static_cast<std::uint64_t>(entry.status.st_size);
        if (size == 0) {
            Add(Leftover::Kind::UnrecordedHidden, Leftover::Action::Leave, entry, {});
            return;
        }
        std::vector<fs::path> candidates;
        std::string original;
        for (const Result& result : results)
            if (!result.paired && HoldsDataOf(result, size)) {
                candidates.push_back(result.entry->path);
                original = result.original;
            }
        if (candidates.empty()) {
            Add(Leftover::Kind::UnknownHidden, Leftover::Action::Leave, entry, {});
            return;
        }
        for (const Entry* other : unrecorded)
            if (other != &entry && static_cast<std::uint64_t>(other->status.st_size) == size)
                candidates.push_back(other->path);
        if (candidates.size() > 1) {
            Add(Leftover::Kind::AmbiguousHidden, Leftover::Action::Leave, entry, {}).candidates =
                std::move(candidates);
            return;
        }
        Leftover& leftover = Add(Leftover::Kind::UnrecordedHidden, Leftover::Action::Leave, entry, original);
        leftover.result = candidates.front();
    }

    void AddResult(const Result& result)
    {
        if (result.encrypted) {
            Add(Leftover::Kind::OrphanResult, Leftover::Action::Rename, *result.entry, result.original)
                .authenticated = result.authenticated;
        } else if (result.paired) {
            Add(Leftover::Kind::DecryptedResult, Leftover::Action::Rename, *result.entry, result.original);
        } else {
            Add(Leftover::Kind::UnprovenResult, Leftover::Action::Leave, *result.entry, result.original);
        }
    }

    // The engine removes its working file whenever it fails, and an input is purged only after its
    // output is complete under its name: a working file is a copy of an input that is still there.
    // When the input was an in-place original that is gone, it is kept all the same.
    void AddWorkingFile(const Entry& entry)
    {
        const std::string stem = *WorkingStem(entry.name);
        const std::vector<std::string> originals = OriginalNamesOf(stem);
        if (originals.empty()) {
            Add(Leftover::Kind::WorkingFile, Leftover::Action::Remove, entry, stem);
            return;
        }
        if (const auto present = FirstPresent(originals))
            Add(Leftover::Kind::WorkingFile, Leftover::Action::Remove, entry, present->first);
        else
            Add(Leftover::Kind::WorkingFile, Leftover::Action::Leave, entry, originals.front());
    }

    fs::path folder_;
    FileAuthenticator* authenticator_;
    std::vector<Entry> files_;
    std::set<std::string> names_;
    std::size_t nameMax_ = NAME_MAX;
    std::vector<Leftover> found_;
};

}  // namespace

std::vector<Leftover> ScanForLeftovers(const fs::path& folder, FileAuthenticator* authenticator,
                                       std::error_code& error)
{
    return FolderScan(folder, authenticator).Run(error);
}

}  // namespace kyv
