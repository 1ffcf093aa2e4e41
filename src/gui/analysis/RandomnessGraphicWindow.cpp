#include "gui/analysis/RandomnessGraphicWindow.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <system_error>

#include "core/analysis/ProgressBarText.h"
#include "core/common/FileDialogs.h"
#include "core/common/Prompter.h"
#include "core/files/FolderPath.h"
#include "gui/analysis/BytePairView.h"
#include "gui/common/AccessibleProgress.h"
#include "gui/common/KeyboardCommands.h"
#include "gui/common/Style.h"
#include "gui/common/Twips.h"
#include "image/BytePairImage.h"

namespace kyv::gui {

namespace {
constexpr int kMargin = 16;
constexpr int kLabelHeight = 20;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 8;
// 43 cells of the fixed font fit the width of the drawing area.
constexpr int kBarPixelSize = 10;

const QString kDisplay = QStringLiteral("Display");
const QString kStop = QStringLiteral("Stop");
const QString kClose = QStringLiteral("Close");
}  // namespace

RandomnessGraphicWindow::RandomnessGraphicWindow(Prompter& prompter, FileDialogs& fileDialogs,
                                                 QWidget* parent)
    : QDialog(parent), prompter_(prompter), fileDialogs_(fileDialogs)
{
    setObjectName(QStringLiteral("frmGraphic"));
    setFont(WindowFont());
    SetBackground(this, kDialogBackground);
    const int width = BytePairView::kSidePixels;

    fileSizeLabel_ = new QLabel(this);
    fileSizeLabel_->setObjectName(QStringLiteral("lblFilesize"));
    fileSizeLabel_->setGeometry(kMargin, kMargin / 2, width, kLabelHeight);
    randomnessLabel_ = new QLabel(this);
    randomnessLabel_->setObjectName(QStringLiteral("lblRandomness"));
    randomnessLabel_->setGeometry(kMargin, kMargin / 2 + kLabelHeight, width, kLabelHeight);

    view_ = new BytePairView(this);
    const int viewTop = kMargin / 2 + 2 * kLabelHeight + kButtonGap;
    view_->move(kMargin, viewTop);
    connect(view_, &BytePairView::Clicked, this, [this] { displayButton_->setFocus(Qt::MouseFocusReason); });

    progressBar_ = new QLabel(this);
    progressBar_->setObjectName(QStringLiteral("lblProgressBar"));
    QFont barFont = FixedFont();
    barFont.setPixelSize(kBarPixelSize);
    progressBar_->setFont(barFont);
    const int barTop = viewTop + width + kButtonGap;
    progressBar_->setGeometry(kMargin, barTop, width, kLabelHeight);

    const int buttonTop = barTop + kLabelHeight + kButtonGap;
    const int buttonWidth = (width - kButtonGap) / 2;
    displayButton_ = new QPushButton(kDisplay, this);
    displayButton_->setObjectName(QStringLiteral("cmdDisplay"));
    displayButton_->setAutoDefault(false);
    displayButton_->setGeometry(kMargin, buttonTop, buttonWidth, kButtonHeight);
    connect(displayButton_, &QPushButton::clicked, this, &RandomnessGraphicWindow::DisplayPressed);
    saveButton_ = new QPushButton(QStringLiteral("Save picture"), this);
    saveButton_->setObjectName(QStringLiteral("cmdSavePicture"));
    saveButton_->setAutoDefault(false);
    saveButton_->setGeometry(kMargin + buttonWidth + kButtonGap, buttonTop, buttonWidth, kButtonHeight);
    saveButton_->setEnabled(false);
    connect(saveButton_, &QPushButton::clicked, this, &RandomnessGraphicWindow::SavePicture);

    setFixedSize(width + 2 * kMargin, buttonTop + kButtonHeight + kMargin);

    clock_ = new QTimer(this);
    clock_->setObjectName(QStringLiteral("Clock"));
    clock_->setInterval(kClockMilliseconds);
    connect(clock_, &QTimer::timeout, this, &RandomnessGraphicWindow::ClockTick);
    connect(&drawing_, &BytePairDrawing::Ended, this, &RandomnessGraphicWindow::DrawingEnded);
    PressButtonsOnEnter(this);
    view_->setAccessibleName(QStringLiteral("Picture of the file's byte pairs"));
    ShowAsProgressBar(progressBar_, QStringLiteral("Drawing"), kProgressBarCells);
}

RandomnessGraphicWindow::~RandomnessGraphicWindow() = default;

void RandomnessGraphicWindow::Prepare(const RandomnessGraphicText& text, const FilePath& filePath)
{
    setWindowTitle(text.caption);
    fileSizeLabel_->setText(text.fileSize);
    randomnessLabel_->setText(text.randomness);
    filePath_ = filePath;
    length_ = text.length;
    displayButton_->setText(kDisplay);
}

void RandomnessGraphicWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    UnboldControls(this);
    BecameActive();
}

void RandomnessGraphicWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) BecameActive();
}

void RandomnessGraphicWindow::BecameActive()
{
    // Only a window prepared for a new file starts afresh; a drawing going on or finished stays.
    if (displayButton_->text() != kDisplay) return;
    drawing_.Reset();
    view_->Clear();
    progressBar_->clear();
    clock_->stop();
    saveButton_->setEnabled(false);
    displayButton_->show();
    displayButton_->setFocus(Qt::OtherFocusReason);
    state_ = State::Ready;
}

void RandomnessGraphicWindow::DisplayPressed()
{
    switch (state_) {
        case State::Finished:
            drawing_.Stop();
            done(QDialog::Accepted);
            hide();
            return;
        case State::Drawing:
            displayButton_->setText(kClose);
            state_ = State::Finished;
            // The worker ends within a block; the dots drawn so far are shown when it has.
            drawing_.Stop();
            return;
        case State::Ready:
            clock_->start();
            state_ = State::Drawing;
            progressBar_->setText(ProgressBarText(0));
            SetProgressValue(progressBar_, 0);
            displayButton_->setText(kStop);
            saveButton_->setEnabled(false);
            drawing_.Start(filePath_, length_);
            return;
    }
}

void RandomnessGraphicWindow::ClockTick() { ShowProgress(); }

void RandomnessGraphicWindow::ShowProgress()
{
    const int cells = ProgressCells(drawing_.BytesDrawn(), length_);
    progressBar_->setText(ProgressBarText(cells));
    SetProgressValue(progressBar_, cells);
    BytePairPicture picture;
    drawing_.CopyPicture(picture);
    view_->ShowPicture(picture);
}

void RandomnessGraphicWindow::DrawingEnded(DrawingOutcome outcome)
{
    clock_->stop();
    BytePairPicture picture;
    drawing_.CopyPicture(picture);
    view_->ShowPicture(picture);
    saveButton_->setEnabled(true);
    if (outcome == DrawingOutcome::ReadError) {
        // The button keeps "Stop": one press makes it "Close", the next hides the window.
        prompter_.Tell(QStringLiteral("Error reading file!"), QStringLiteral("Randomness report"),
                       MessageIcon::Exclamation);
        return;
    }
    if (outcome == DrawingOutcome::Complete && state_ == State::Drawing) {
        progressBar_->setText(ProgressBarText(kProgressBarCells));
        SetProgressValue(progressBar_, kProgressBarCells);
        state_ = State::Finished;
        displayButton_->setText(kClose);
    }
}

void RandomnessGraphicWindow::SavePicture()
{
    const std::optional<QString> chosen =
        fileDialogs_.SaveFile({QStringLiteral("Save picture"), QStringLiteral("PNG images (*.png) | *.png"),
                               QFileInfo(filePath_.Text()).completeBaseName() + QStringLiteral(".png"),
                               QFileInfo(filePath_.Text()).absolutePath()});
    if (!chosen) return;
    const FilePath target = FilePath(*chosen);
    std::error_code error;
    if (std::filesystem::exists(target, error) &&
        prompter_.Ask({DisplayName(*chosen) + QStringLiteral(" already exists. Replace it?"),
                       QStringLiteral("Save picture"), MessageButtons::YesNo, MessageIcon::Question, 2}) !=
            MessageAnswer::Yes)
        return;
    BytePairPicture picture;
    drawing_.CopyPicture(picture);
    if (!SaveBytePairImage(picture, target))
        prompter_.Tell(
            QStringLiteral("Cannot save the picture as ") + DisplayName(*chosen) + QLatin1Char('.'),
            QStringLiteral("Error"), MessageIcon::Exclamation);
}

void RandomnessGraphicWindow::CloseFromTitleBar()
{
    state_ = State::Finished;
    DisplayPressed();
}

void RandomnessGraphicWindow::closeEvent(QCloseEvent* event)
{
    CloseFromTitleBar();
    event->accept();
}

void RandomnessGraphicWindow::reject() { CloseFromTitleBar(); }

}  // namespace kyv::gui
