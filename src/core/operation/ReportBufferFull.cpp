#include "core/operation/ReportBufferFull.h"

#include "core/common/DirectionWord.h"
#include "core/common/LineBreak.h"
#include "core/common/Prompter.h"
#include "core/common/ReportSink.h"

namespace kyv {

namespace {

// What follows goes into the room made; a refused delivery has nowhere else to go.
void Note(ReportSink& sink, const QStringList& lines) { (void)sink.Deliver(ReportTextEvent{lines}); }

}  // namespace

bool HandleReportBufferFull(ReportSink& sink, Prompter& prompter, bool randomnessReport, bool encrypting)
{
    (void)sink.Deliver(
        ReportTextEvent{{QString(), QString(), QString()}, ReportTextEvent::Place::InRoomMade});
    if (randomnessReport) {
        prompter.Tell(QStringLiteral("The output report buffer has been filled.") + kLineBreak +
                          QStringLiteral("This randomness report cannot continue and will now terminate."),
                      QStringLiteral("Report buffer full"), MessageIcon::Exclamation);
        Note(sink, {QStringLiteral("The output report buffer was filled."),
                    QStringLiteral("This randomness report was terminated at this point."), QString()});
        return false;
    }
    const MessageAnswer answer = prompter.Ask(
        Message{QStringLiteral("The output report buffer has been filled, so this report cannot continue.") +
                    kLineBreak + kLineBreak +
                    QStringLiteral("The operation, however, may continue, but without report of results for "
                                   "individual files.") +
                    kLineBreak +
                    QStringLiteral("It is recommended to continue the operation.  Do you wish to continue?"),
                QStringLiteral("Report buffer full"), MessageButtons::YesNo, MessageIcon::None, 1});
    Note(sink, {QStringLiteral("The output report buffer was filled."), QString()});
    if (answer == MessageAnswer::Yes) {
        Note(sink, {QStringLiteral("Subsequent operations on individual files will continue,"),
                    QStringLiteral("but results will not be reported here."), QString(), QString()});
        return true;
    }
    Note(sink, {QStringLiteral("This operation was terminated at the user's request."),
                QStringLiteral("Note: Some files were not ") +
                    DirectionWord(encrypting, QStringLiteral("encrypted")) + QLatin1Char('.'),
                QString()});
    sink.RequestStop();
    return false;
}

}  // namespace kyv
