#include "core/files/EventPacer.h"

#include "core/common/Events.h"

namespace kyv {

void EventPacer::FileExamined() { ProcessPendingEvents(); }

}  // namespace kyv
