#pragma once
// The key inspection window, as its callers see it: the typing dialog without display and the
// keyfile commands fill the two caller lines and act on the answer.

#include <QString>

namespace kyv {

struct KeyInspectionRequest {
    QString classificationLine;  // "Key entered at keyboard", "Text key from file", ...
    QString keyfileLine;         // the keyfile's display path, empty for a typed key
    bool newRandomKey = false;   // "Yes" first reminds the user to remember the keyfile's name
    bool placeInCorner = false;  // bottom right corner of the main window (keyfile callers)
    bool typedKey = false;       // the bytes are typed text, whose strength is estimated
};

class KeyInspector {
public:
    virtual ~KeyInspector() = default;
    // Shows rawKeyBytes of the key record and asks "Use this key?"; true for "Yes".
    [[nodiscard]] virtual bool InspectKey(const KeyInspectionRequest& request) = 0;
};

}  // namespace kyv
