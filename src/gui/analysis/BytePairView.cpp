#include "gui/analysis/BytePairView.h"

#include <QMouseEvent>
#include <QPainter>

#include "core/analysis/BytePairPicture.h"
#include "image/BytePairImage.h"

namespace kyv::gui {

BytePairView::BytePairView(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Picture1"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFixedSize(kSidePixels, kSidePixels);
    Clear();
}

void BytePairView::ShowPicture(const BytePairPicture& picture)
{
    image_ = BytePairImage(picture);
    update();
}

void BytePairView::Clear()
{
    image_ = QImage(BytePairPicture::kSide, BytePairPicture::kSide, QImage::Format_Grayscale8);
    image_.fill(Qt::black);
    update();
}

void BytePairView::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    // Drawing coordinates start at the inner corner, inside the border.
    painter.drawImage(contentsRect().topLeft(), image_);
}

void BytePairView::mouseReleaseEvent(QMouseEvent* event)
{
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) emit Clicked();
}

}  // namespace kyv::gui
