#pragma once
// What happens when the report cannot take more text: the user is told, and for an operation
// chooses between going on without a report and stopping.

namespace kyv {

class Prompter;
class ReportSink;

// Makes room at the report's end for the closing lines, explains, and either goes on without a
// report or requests a stop. Returns true when the report is to be suppressed from now on.
[[nodiscard]] bool HandleReportBufferFull(ReportSink& sink, Prompter& prompter, bool randomnessReport,
                                          bool encrypting);

}  // namespace kyv
