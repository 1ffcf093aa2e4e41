#pragma once
// What the two typing dialogs decide, apart from their windows.

#include <QString>
#include <span>

#include "core/common/Prompter.h"
#include "core/keys/KeyInspector.h"
#include "core/keys/KeyState.h"
#include "core/keys/SecureBytes.h"

namespace kyv {

// How a typing dialog ended: answeredYes, answeredNo, or neither (cancelled).
enum class TypedKeyAnswer { Yes, No, Cancel };

struct TypedKeyResult {
    TypedKeyAnswer answer = TypedKeyAnswer::Cancel;
    SecureBytes text;  // the Windows-1252 text typed (the first entry), as typed
};

// A closed typing dialog's answer (both flags clear: cancelled); `acceptedText` moves into the
// result and is left empty.
[[nodiscard]] TypedKeyResult TakeTypedKeyResult(bool answeredYes, bool answeredNo, SecureBytes& acceptedText);

// "Enter the encryption key (16-64 characters, spaces ignored, case not significant):" and the
// wording of the dialog without display; "decryption" while decrypting.
[[nodiscard]] QString KeyPromptWithDisplay(bool encrypting);
[[nodiscard]] QString KeyPromptWithoutDisplay(bool encrypting);

// "Checksum is 4711." for the text typed so far (normalised first).
[[nodiscard]] QString RunningChecksumLine(std::span<const unsigned char> text);

// The text without the spaces at either end.
[[nodiscard]] SecureBytes TrimmedKeyText(std::span<const unsigned char> text);

// Whether the two entries of the dialog without display give the same key.
[[nodiscard]] bool KeyEntriesMatch(std::span<const unsigned char> first,
                                   std::span<const unsigned char> second);

// After matching entries: asks "Inspect the key?" and, on Yes, shows the typed text in the
// inspection window. Yes when the key is to be used, No when it was declined there.
[[nodiscard]] TypedKeyAnswer OfferTypedKeyInspection(KeyState& keyState, Prompter& prompter,
                                                     KeyInspector& inspector,
                                                     std::span<const unsigned char> firstEntry);

// Writes the outcome of a typing dialog into the key record: Yes installs the normalised text as
// a typed key, No leaves no key, Cancel changes nothing.
void ApplyTypedKey(KeyState& keyState, const TypedKeyResult& result);

}  // namespace kyv
