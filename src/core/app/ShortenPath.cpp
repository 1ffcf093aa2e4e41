#include "core/app/ShortenPath.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStringList>
#include <vector>

namespace kyv {

namespace {

const QString kEllipsis = QStringLiteral("...");

QString Join(const QStringList& components, const std::vector<bool>& replaced, bool trailingSeparator)
{
    const QChar separator = QDir::separator();
    QString shown;
    for (qsizetype i = 0; i < components.size(); ++i) {
        if (i > 0) shown += separator;
        shown += replaced[static_cast<std::size_t>(i)] ? kEllipsis : components[i];
    }
    if (trailingSeparator) shown += separator;
    return shown;
}

}  // namespace

QString ShortenPath(const QString& path, int maximum)
{
    return ShortenPath(path, maximum, *QRandomGenerator::global());
}

QString ShortenPath(const QString& path, int maximum, QRandomGenerator& random)
{
    if (path.size() <= maximum || maximum < 5) return path;
    const QChar separator = QDir::separator();
    QStringList components = path.split(separator);
    const bool trailingSeparator = path.endsWith(separator);
    if (trailingSeparator) components.removeLast();

    // Components are replaced whole, by position: a short folder name that also occurs inside an
    // earlier name ("a" in "/data/a/") must not mangle that earlier name.
    const int count = static_cast<int>(components.size());
    std::vector<bool> replaced(static_cast<std::size_t>(count), false);
    QString shown = path;
    if (count > 2) {
        int attempts = 0;
        for (;;) {
            const int index = 1 + static_cast<int>(random.bounded(count - 2));
            ++attempts;
            if (replaced[static_cast<std::size_t>(index)]) {
                if (attempts > 3 * count) break;
                continue;
            }
            replaced[static_cast<std::size_t>(index)] = true;
            shown = Join(components, replaced, trailingSeparator);
            if (shown.size() <= maximum) break;
        }
    }
    // Also a path of one or two components is kept within the limit.
    if (shown.size() > maximum - 3) shown = shown.left(maximum - 3) + kEllipsis;
    return shown;
}

}  // namespace kyv
