#pragma once
// Before the plaintext form of a file that antivirus software watches is purged, the user is
// asked whether such software is active and, unless not, told what warnings to expect.

#include <QString>

namespace kyv {

class Clock;
struct RunState;

enum class AntivirusAnswer { Yes, No, DontKnow };

// The two dialogs ("Antivirus software query" and "Purge advice"), shown modally.
class PurgeAdviceDialogs {
public:
    virtual ~PurgeAdviceDialogs() = default;
    virtual AntivirusAnswer AskAntivirusQuery() = 0;
    // Shows the advice for `path`; returns whether "Don't display this advice again during this
    // operation." is checked when the user leaves the dialog.
    virtual bool ShowPurgeWarning(const QString& path, bool encrypting) = 0;
};

// The advice text for a file whose original is about to be purged.
[[nodiscard]] QString PurgeAdviceText(const QString& path, bool encrypting);

class PurgeAdvice {
public:
    explicit PurgeAdvice(PurgeAdviceDialogs* dialogs) : dialogs_(dialogs) {}

    // Shown again from the start of every real run.
    void SwitchOn() { showPurgeWarning = true; }

    // Asks and advises unless the advice is off; the time spent in the dialogs is counted as
    // paused time so that it is not part of the run's elapsed time.
    void ShowPurgeAdvice(const QString& path, bool encrypting, RunState& state, const Clock& clock);

    // The dialogs asked; none: no advice.
    [[nodiscard]] PurgeAdviceDialogs* Dialogs() const { return dialogs_; }

    bool showPurgeWarning = true;

private:
    PurgeAdviceDialogs* dialogs_;
};

}  // namespace kyv
