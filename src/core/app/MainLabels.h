#pragma once
// The texts of the main window's status labels: computed here, shown by the window.

#include <QString>
#include <array>

namespace kyv {

struct MainLabels {
    QString functionText;
    QString functionExplanation;
    QString keyButtonCaption;  // caption of the key button
    QString singleFileText;
    std::array<QString, 2> folderTexts;
    std::array<QString, 2> specTexts;
    std::array<QString, 2> specExplanations;
    // Left of each description in twips from the left of its specification label.
    std::array<int, 2> specExplanationLefts{};
    QString subfoldersText;
    QString subfoldersExplanation;
    QString inPlaceText;
    QString inPlaceExplanation;
    QString keySourceText;
    QString setupFileText;
};

}  // namespace kyv
