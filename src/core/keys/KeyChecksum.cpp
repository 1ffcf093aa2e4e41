#include "core/keys/KeyChecksum.h"

#include <QByteArrayView>
#include <QCryptographicHash>
#include <algorithm>
#include <cstdint>

#include "core/keys/KeyNormalization.h"

namespace kyv {

SecureBytes MD5Digest(std::span<const unsigned char> bytes, std::size_t length)
{
    QCryptographicHash hash(QCryptographicHash::Md5);
    hash.addData(QByteArrayView(bytes.data(), static_cast<qsizetype>(std::min(length, bytes.size()))));
    const QByteArrayView result = hash.resultView();
    SecureBytes digest(
        {reinterpret_cast<const unsigned char*>(result.data()), static_cast<std::size_t>(result.size())});
    hash.reset();
    return digest;
}

int ChecksumFromDigest(std::span<const unsigned char> digest)
{
    // At most 8 × (255 × 65536 + 255): the sum never leaves the 32-bit range.
    std::int32_t sum = 0;
    for (std::size_t k = 0; k + 1 < kMD5DigestLength && k + 1 < digest.size(); k += 2)
        sum += static_cast<std::int32_t>(digest[k]) * 65536 + static_cast<std::int32_t>(digest[k + 1]);
    return sum % (kHighestChecksum - kLowestChecksum + 1) + kLowestChecksum;
}

int KeyChecksum(KeyState& keyState, std::span<const unsigned char> key)
{
    keyState.digest = MD5Digest(key, key.size());
    return ChecksumFromDigest(keyState.digest.View());
}

int RunningChecksum(std::span<const unsigned char> text)
{
    const SecureBytes key = NormalizedKeyText(text);
    const SecureBytes digest = MD5Digest(key.View(), key.size());
    return ChecksumFromDigest(digest.View());
}

}  // namespace kyv
