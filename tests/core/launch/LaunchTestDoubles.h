#pragma once
// Stand-ins for what a launch talks to: a report window that records, free space given exactly,
// a confirmation answered from a script, and a typed key. Shared by the core and window tests.

#include <QByteArray>
#include <QStringList>
#include <optional>
#include <span>
#include <vector>

#include "core/keys/KeyState.h"
#include "core/keys/TypedKeyEntry.h"
#include "core/launch/Confirmer.h"
#include "core/launch/FreeSpaceSource.h"
#include "core/launch/LaunchReportWindow.h"
#include "core/operation/RunState.h"
#include "support/RecordingReportSink.h"

namespace kyv::test {

class RecordingReportWindow final : public LaunchReportWindow {
public:
    RunState& State() override { return state; }
    ReportSink& Sink() override { return sink; }
    void SetCaption(const QString& text) override { caption = text; }
    void ShowModeless() override
    {
        ++shows;
        kindWhenShown = state.request.kind;
    }
    void Hide() override { sink.hidden = true; }
    void RestoreCopyButton() override { ++copyButtonRestores; }

    RunState state;
    RecordingReportSink sink;
    QString caption;
    int shows = 0;
    RunKind kindWhenShown = RunKind::Redisplay;
    int copyButtonRestores = 0;
};

// Gives `bytes` free for every drive (none: the drive cannot be read) and notes what was asked.
class FixedFreeSpace final : public FreeSpaceSource {
public:
    std::optional<quint64> FreeBytes(const QString& path) override
    {
        askedPaths.append(path);
        return bytes;
    }
    std::optional<quint64> bytes = quint64(1) << 40;
    QStringList askedPaths;
};

class ScriptedConfirmer final : public Confirmer {
public:
    bool Confirm(const OperationConfirmation& confirmation) override
    {
        asked.push_back(confirmation);
        return answer;
    }
    bool answer = true;
    std::vector<OperationConfirmation> asked;
};

// The key record after `text` was typed and accepted.
inline void TypeKey(KeyState& key, const QByteArray& text)
{
    TypedKeyResult result;
    result.answer = TypedKeyAnswer::Yes;
    result.text = SecureBytes(std::span(reinterpret_cast<const unsigned char*>(text.constData()),
                                        static_cast<std::size_t>(text.size())));
    ApplyTypedKey(key, result);
}

}  // namespace kyv::test
