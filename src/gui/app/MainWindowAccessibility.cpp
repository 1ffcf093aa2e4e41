// What assistive technology reads of the main window beyond the captions: each command of the
// setup is described by the status line beside it, so that "Function" reads with "Encryption" and
// its explanation.

#include <QFrame>
#include <QLabel>

#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"

namespace kyv::gui {

namespace {

QString LineOf(std::initializer_list<const QLabel*> labels)
{
    QStringList parts;
    for (const QLabel* label : labels) {
        if (label != nullptr && !label->text().trimmed().isEmpty()) parts << label->text().trimmed();
    }
    return parts.join(QLatin1Char(' '));
}

}  // namespace

void MainWindow::DescribeCommands()
{
    const std::pair<MainCommand, QString> lines[] = {
        {MainCommand::Function, LineOf({functionLabel_, functionExplanationLabel_})},
        {MainCommand::SingleFile, LineOf({singleFileLabel_})},
        {MainCommand::InputFolder, LineOf({folderLabels_[kInputSide]})},
        {MainCommand::InputFiles, LineOf({specLabels_[kInputSide], specExplanationLabels_[kInputSide]})},
        {MainCommand::Subdirectories, LineOf({subfoldersLabel_, subfoldersExplanationLabel_})},
        {MainCommand::OutputFilesSame, LineOf({inPlaceLabel_, inPlaceExplanationLabel_})},
        {MainCommand::OutputFolder, LineOf({folderLabels_[kOutputSide]})},
        {MainCommand::OutputFiles, LineOf({specLabels_[kOutputSide], specExplanationLabels_[kOutputSide]})},
        {MainCommand::KeyFrom, LineOf({keySourceLabel_})},
        {MainCommand::Setup, LineOf({setupFileLabel_})},
    };
    for (const auto& [command, line] : lines) Button(command)->setAccessibleDescription(line);
}

}  // namespace kyv::gui
