#pragma once
// The user guide: its text (data/help/guide.txt, built into the program), its fourteen section
// headings, and what the help window selects when it opens at a section.

#include <QString>
#include <array>

#include "core/help/HelpTopic.h"

namespace kyv {

inline constexpr int kHelpSectionCount = 14;

class UserGuide {
public:
    // What to select when the guide opens at a topic: `length` characters from `start`. A length
    // of 0 only places the caret.
    struct Selection {
        int start = 0;
        int length = 0;
        bool operator==(const Selection&) const = default;
    };

    // The guide built into the program.
    static const UserGuide& BuiltIn();

    explicit UserGuide(QString text);

    [[nodiscard]] const QString& Text() const { return text_; }
    // The heading of a section, exactly as the guide has it on a line of its own; empty for the
    // beginning.
    [[nodiscard]] static QString Heading(HelpTopic topic);
    // From the heading's first character through the section's last, or the caret at the very start
    // for the beginning. The section about loading a setup is reached from the one about saving,
    // which a command opens; opened by itself it only places the caret at its heading.
    [[nodiscard]] Selection SelectionAt(HelpTopic topic) const;

private:
    QString text_;
    // Where each heading starts in the text, by section number; -1 where it is missing.
    std::array<int, kHelpSectionCount + 1> headingStarts_{};
};

}  // namespace kyv
