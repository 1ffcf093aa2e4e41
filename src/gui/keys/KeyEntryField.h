#pragma once
// A one-line field for typing a key. Unlike a line edit it keeps what is typed only as
// Windows-1252 bytes in guarded memory, keeps no undo history and wipes the bytes when cleared,
// so a typed key leaves no copy behind. Characters the code page cannot hold are refused.

#include <QWidget>

#include "core/keys/SecureBytes.h"

namespace kyv::gui {

class KeyEntryField : public QWidget {
    Q_OBJECT
public:
    explicit KeyEntryField(QWidget* parent = nullptr);

    void SetMaxLength(int length) { maxLength_ = length; }
    [[nodiscard]] int MaxLength() const { return maxLength_; }
    // Shows "#" for every character typed.
    void SetMasked(bool masked);
    [[nodiscard]] bool IsMasked() const { return masked_; }

    [[nodiscard]] const SecureBytes& Bytes() const { return bytes_; }
    [[nodiscard]] int Length() const { return static_cast<int>(bytes_.size()); }
    // Wipes what was typed.
    void Clear();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void Changed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Inserts typed or pasted text at the cursor; false when a character does not fit the code page.
    bool InsertText(const QString& text);
    void Paste();

    SecureBytes bytes_;
    std::size_t cursor_ = 0;
    int maxLength_ = 64;
    bool masked_ = false;
};

}  // namespace kyv::gui
