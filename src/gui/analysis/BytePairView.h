#pragma once
// The graphic window's drawing area: a 258-pixel square with a one-pixel border around the
// 256 x 256 byte-pair picture, white dots on black.

#include <QFrame>
#include <QImage>

namespace kyv {
class BytePairPicture;
}

namespace kyv::gui {

class BytePairView final : public QFrame {
    Q_OBJECT
public:
    static constexpr int kSidePixels = 258;

    explicit BytePairView(QWidget* parent = nullptr);

    void ShowPicture(const BytePairPicture& picture);
    void Clear();
    [[nodiscard]] const QImage& Image() const { return image_; }

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image_;
};

}  // namespace kyv::gui
