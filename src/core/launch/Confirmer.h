#pragma once
// The question before an operation starts, asked through an interface: the program shows its
// confirmation dialog, tests answer from a script.

#include <QString>

namespace kyv {

struct OperationConfirmation {
    QString description;  // what will be done to which files, and where the output goes
    QString question;     // "Perform this encryption operation?"
};

class Confirmer {
public:
    virtual ~Confirmer() = default;
    // True when the user answered Yes; closing the question in any other way is No.
    [[nodiscard]] virtual bool Confirm(const OperationConfirmation& confirmation) = 0;
};

}  // namespace kyv
