#include "core/help/UserGuide.h"

#include <QFile>

namespace kyv {

namespace {

constexpr std::array<const char*, kHelpSectionCount + 1> kHeadings = {
    "",
    "1.  Function: encryption or decryption",
    "2.  Single file",
    "3.  Input folder and Input file(s): specifying the input files",
    "4.  Subfolders?: whether to include files in subfolders",
    "5.  Output file(s) same?: whether the output files should be the same as the input files",
    "6.  Output folder and Output file(s): specifying the output files",
    "7.  Encryption key: how to supply it",
    "8.  Do it!: performing the operation",
    "9.  Report screen",
    "10.  Randomness report",
    "11.  Setup:  Saving the setup",
    "12.  Setup:  Loading a setup",
    "13.  Help",
    "14.  Quit:  Exiting",
};

QString ReadBuiltInText()
{
    QFile file(QStringLiteral(":/help/guide.txt"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

}  // namespace

const UserGuide& UserGuide::BuiltIn()
{
    static const UserGuide kGuide(ReadBuiltInText());
    return kGuide;
}

QString UserGuide::Heading(HelpTopic topic)
{
    return QString::fromLatin1(kHeadings[static_cast<int>(topic)]);
}

UserGuide::UserGuide(QString text) : text_(std::move(text))
{
    headingStarts_[0] = 0;
    for (int section = 1; section <= kHelpSectionCount; ++section)
        headingStarts_[section] = static_cast<int>(text_.indexOf(QString::fromLatin1(kHeadings[section])));
}

UserGuide::Selection UserGuide::SelectionAt(HelpTopic topic) const
{
    const int section = static_cast<int>(topic);
    if (section <= 0 || section > kHelpSectionCount || headingStarts_[section] < 0) return {};
    const int start = headingStarts_[section];
    if (topic == HelpTopic::LoadingSetup) return {start, 0};
    // The section runs to the next heading found after it, without the empty lines before that.
    qsizetype end = text_.size();
    for (int next = section + 1; next <= kHelpSectionCount; ++next) {
        if (headingStarts_[next] > start) {
            end = headingStarts_[next];
            break;
        }
    }
    while (end > start && text_[end - 1].isSpace()) --end;
    return {start, static_cast<int>(end - start)};
}

}  // namespace kyv
