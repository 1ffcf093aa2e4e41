#include "core/keys/TypedKeyEntry.h"

#include "core/common/DirectionWord.h"
#include "core/common/NumberText.h"
#include "core/keys/KeyChecksum.h"
#include "core/keys/KeyNormalization.h"

namespace kyv {

QString KeyPromptWithDisplay(bool encrypting)
{
    return QStringLiteral("Enter the ") + DirectionWord(encrypting, QStringLiteral("encryption")) +
           QStringLiteral(" key (16-64 characters, spaces ignored, case not significant):");
}

QString KeyPromptWithoutDisplay(bool encrypting)
{
    return QStringLiteral("Enter the ") + DirectionWord(encrypting, QStringLiteral("encryption")) +
           QStringLiteral(" key") + QStringLiteral(", ") +
           QStringLiteral("16-64 non-space characters (which will not be displayed)") + QStringLiteral(":");
}

QString RunningChecksumLine(std::span<const unsigned char> text)
{
    return QStringLiteral("Checksum is") + NumberToText(RunningChecksum(text)) + QStringLiteral(".");
}

SecureBytes TrimmedKeyText(std::span<const unsigned char> text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && text[first] == ' ') ++first;
    while (last > first && text[last - 1] == ' ') --last;
    return SecureBytes(text.subspan(first, last - first));
}

bool KeyEntriesMatch(std::span<const unsigned char> first, std::span<const unsigned char> second)
{
    return NormalizedKeyText(first) == NormalizedKeyText(second);
}

TypedKeyAnswer OfferTypedKeyInspection(KeyState& keyState, Prompter& prompter, KeyInspector& inspector,
                                       std::span<const unsigned char> firstEntry)
{
    const MessageAnswer inspect =
        prompter.Ask(Message{QStringLiteral("Inspect the key?"), QStringLiteral("Key specified"),
                             MessageButtons::YesNo, MessageIcon::Question, 1});
    if (inspect != MessageAnswer::Yes) return TypedKeyAnswer::Yes;
    keyState.rawKeyBytes.Assign(firstEntry);
    // A typed key is always inspected as text.
    keyState.isText = true;
    keyState.apparentlyRandom = false;
    KeyInspectionRequest request;
    request.classificationLine = QStringLiteral("Key entered at keyboard");
    request.typedKey = true;
    return inspector.InspectKey(request) ? TypedKeyAnswer::Yes : TypedKeyAnswer::No;
}

void ApplyTypedKey(KeyState& keyState, const TypedKeyResult& result)
{
    switch (result.answer) {
        case TypedKeyAnswer::Yes:
            keyState.normalizedKey = NormalizeKey(keyState, result.text.View());
            keyState.checksum = KeyChecksum(keyState, keyState.normalizedKey.View());
            keyState.source = KeyboardEntry;
            keyState.isText = true;
            keyState.choiceAbandoned = false;
            break;
        case TypedKeyAnswer::No:
            keyState.normalizedKey.Clear();
            keyState.source = NotSpecified;
            keyState.choiceAbandoned = false;
            break;
        case TypedKeyAnswer::Cancel:
            break;
    }
}

TypedKeyResult TakeTypedKeyResult(bool answeredYes, bool answeredNo, SecureBytes& acceptedText)
{
    TypedKeyResult result;
    result.answer = answeredYes  ? TypedKeyAnswer::Yes
                    : answeredNo ? TypedKeyAnswer::No
                                 : TypedKeyAnswer::Cancel;
    result.text = std::move(acceptedText);
    acceptedText.Clear();
    return result;
}

}  // namespace kyv
