#pragma once
// The credits window's text: the program's authorship notice and the libraries it stands on with
// their licences (data/help/credits.txt, built into the program, with this build's versions).

#include <QString>

namespace kyv {

[[nodiscard]] QString CreditsNotice();

}  // namespace kyv
