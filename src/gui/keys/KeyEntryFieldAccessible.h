#pragma once
// What assistive technology learns of a key entry field: an editable text with the name the dialog
// gives it. While the key is hidden the field is a password field, and neither its text nor its
// length is exposed: no value, no text interface, no text events. A shown key reads as its text.

namespace kyv::gui {

// Makes every KeyEntryField answer for itself as above; called before the first field is made.
void InstallKeyEntryFieldAccessibility();

}  // namespace kyv::gui
