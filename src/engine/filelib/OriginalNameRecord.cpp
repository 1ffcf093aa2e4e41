#include "engine/filelib/OriginalNameRecord.h"

#include <sys/xattr.h>

#include <climits>

namespace kyv::filelib {

namespace {

constexpr const char* kAttribute = "user.kyv.original";

}  // namespace

bool RecordOriginalName(int descriptor, std::string_view name)
{
    // A hidden original that `kyv recover` purges keeps the name it was first given.
    return ::fsetxattr(descriptor, kAttribute, name.data(), name.size(), XATTR_CREATE) == 0;
}

void ForgetOriginalName(int descriptor) { ::fremovexattr(descriptor, kAttribute); }

std::optional<std::string> RecordedOriginalName(const std::filesystem::path& path)
{
    char name[NAME_MAX + 1];
    const ssize_t length = ::lgetxattr(path.c_str(), kAttribute, name, sizeof name);
    if (length <= 0 || length > NAME_MAX) return std::nullopt;
    return std::string(name, static_cast<std::size_t>(length));
}

}  // namespace kyv::filelib
