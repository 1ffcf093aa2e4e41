#pragma once
// Measures the randomness of the single input file a status line describes.

#include <QString>
#include <QtGlobal>
#include <functional>

#include "platform/FilePath.h"

namespace kyv {

class RandomnessMeasurer {
public:
    using Done = std::function<void(double randomness)>;
    virtual ~RandomnessMeasurer() = default;

    // Measures `path` and calls `done` with the result on the calling thread, at once or later.
    // A newer request replaces an older one still unanswered: the older `done` is never called.
    virtual void Request(const platform::FilePath& path, qint64 minimumSize, Done done) = 0;
    // Forgets the unanswered request, if any.
    virtual void Cancel() = 0;
};

}  // namespace kyv
