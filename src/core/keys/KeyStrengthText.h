#pragma once
// A key's strength in plain words, for the typing dialogs, the inspection window and kyv.

#include <QString>

#include "core/keys/KeyStrength.h"

namespace kyv {

// "very weak" ... "very strong".
[[nodiscard]] QString KeyStrengthWord(KeyStrengthLevel level);

// A duration as a person says it: "less than a second", "about 3 hours", "about 40 thousand
// years", "far longer than the age of the universe".
[[nodiscard]] QString PlainDuration(double seconds);

// "Strength: weak, one GPU needs about 3 months to guess it.", "Strength: very strong, a random
// key of 256 bits.", or, for a keyfile that is not random, that it is as strong as it is secret.
[[nodiscard]] QString KeyStrengthLine(const KeyStrength& strength);

}  // namespace kyv
