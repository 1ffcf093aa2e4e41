#pragma once
// What happens when the report cannot take more text: the user is told, and for an operation
// chooses between going on without a report and stopping.

namespace kyv {

class Prompter;
class ReportSink;

// Cuts the last 500 characters of the report (room for the closing lines), explains, and either
// suppresses the report (the run goes on) or requests a stop.
void HandleReportBufferFull(ReportSink& sink, Prompter& prompter, bool randomnessReport, bool encrypting);

}  // namespace kyv
