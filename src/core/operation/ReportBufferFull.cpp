#include "core/operation/ReportBufferFull.h"

#include "core/common/DirectionWord.h"
#include "core/common/LineBreak.h"
#include "core/common/Prompter.h"
#include "core/common/ReportSink.h"

namespace kyv {

namespace {
constexpr int kRoomForClosingLines = 500;
}  // namespace

void HandleReportBufferFull(ReportSink& sink, Prompter& prompter, bool randomnessReport, bool encrypting)
{
    // What follows is appended into the room just made; a failing append has nowhere else to go.
    sink.RemoveReportTail(kRoomForClosingLines);
    (void)sink.AppendReport(kLineBreak + kLineBreak, false);
    if (randomnessReport) {
        prompter.Tell(QStringLiteral("The output report buffer has been filled.") + kLineBreak +
                          QStringLiteral("This randomness report cannot continue and will now terminate."),
                      QStringLiteral("Report buffer full"), MessageIcon::Exclamation);
        (void)sink.AppendReport(QStringLiteral("The output report buffer was filled.") + kLineBreak +
                                    QStringLiteral("This randomness report was terminated at this point.") +
                                    kLineBreak,
                                false);
    } else {
        const MessageAnswer answer = prompter.Ask(Message{
            QStringLiteral("The output report buffer has been filled, so this report cannot continue.") +
                kLineBreak + kLineBreak +
                QStringLiteral("The operation, however, may continue, but without report of results for "
                               "individual files.") +
                kLineBreak +
                QStringLiteral("It is recommended to continue the operation.  Do you wish to continue?"),
            QStringLiteral("Report buffer full"), MessageButtons::YesNo, MessageIcon::None, 1});
        (void)sink.AppendReport(QStringLiteral("The output report buffer was filled.") + kLineBreak, false);
        if (answer == MessageAnswer::Yes) {
            (void)sink.AppendReport(
                QStringLiteral("Subsequent operations on individual files will continue,") + kLineBreak +
                    QStringLiteral("but results will not be reported here.") + kLineBreak + kLineBreak,
                false);
            sink.SetReportSuppressed(true);
        } else {
            (void)sink.AppendReport(QStringLiteral("This operation was terminated at the user's request.") +
                                        kLineBreak + QStringLiteral("Note: Some files were not ") +
                                        DirectionWord(encrypting, QStringLiteral("encrypted")) +
                                        QLatin1Char('.') + kLineBreak,
                                    false);
            sink.RequestStop();
        }
    }
    sink.MoveCaretToEnd();
}

}  // namespace kyv
