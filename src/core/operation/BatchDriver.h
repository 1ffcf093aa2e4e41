#pragma once
// The one entry through which every run that writes into the report window is carried out: an
// operation, the randomness report's listing, and the re-display of the last report.

#include <QString>
#include <cstdint>

namespace kyv {

struct OperationContext;

// Callers set the run state's request (its kind and the folder and specification strings) and read
// the run state's result afterwards. Returns when the run is over, stopped or refused; a call while another run is
// in progress does nothing. With a run controller in the context the run works on the
// controller's worker thread.
void ProcessFiles(OperationContext& context);

// The run itself, on the calling thread; the caller has marked the run in progress.
void ProcessFilesOnThisThread(OperationContext& context);

}  // namespace kyv
