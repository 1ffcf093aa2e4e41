#include "gui/keys/KeyStrengthIndicator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <array>

#include "core/keys/KeyNormalization.h"
#include "core/keys/KeyStrengthText.h"
#include "gui/common/Twips.h"

namespace kyv::gui {

namespace {

constexpr int kBarWidth = 1200;  // twips
constexpr int kBarHeight = 150;

// From red for a key found within a day to green for one beyond any attacker.
const std::array<QColor, kKeyStrengthLevels> kLevelColours{
    QColor(192, 0, 0), QColor(224, 112, 0), QColor(208, 176, 0), QColor(96, 160, 0), QColor(0, 128, 0)};

}  // namespace

KeyStrengthIndicator::KeyStrengthIndicator(QWidget* parent)
    : QWidget(parent), bar_(new QProgressBar(this)), line_(new QLabel(this))
{
    setObjectName(QStringLiteral("keyStrength"));
    bar_->setObjectName(QStringLiteral("keyStrengthBar"));
    line_->setObjectName(QStringLiteral("keyStrengthLine"));
    line_->setTextFormat(Qt::PlainText);
    bar_->setRange(0, kKeyStrengthLevels);
    bar_->setTextVisible(false);
    bar_->setFixedSize(Twips(kBarWidth), Twips(kBarHeight));
    bar_->setAccessibleName(QStringLiteral("Key strength"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar_, 0, Qt::AlignVCenter);
    layout->addWidget(line_, 1);
    Clear();
}

void KeyStrengthIndicator::Show(const KeyStrength& strength)
{
    line_->setText(KeyStrengthLine(strength));
    bar_->setAccessibleDescription(line_->text());
    const bool counted = strength.basis != KeyStrengthBasis::SecretFile;
    const int level = static_cast<int>(strength.level);
    bar_->setValue(counted ? level + 1 : 0);
    QPalette palette = bar_->palette();
    palette.setColor(QPalette::Highlight, kLevelColours[static_cast<std::size_t>(level)]);
    bar_->setPalette(palette);
    bar_->setVisible(counted);
    show();
}

void KeyStrengthIndicator::ShowTyped(std::span<const unsigned char> text)
{
    if (NormalizedLength(text) == 0) {
        Clear();
        return;
    }
    Show(TypedKeyStrength(text));
}

void KeyStrengthIndicator::Clear()
{
    line_->clear();
    bar_->setAccessibleDescription(QString());
    bar_->setValue(0);
    hide();
}

QString KeyStrengthIndicator::Line() const { return isHidden() ? QString() : line_->text(); }

int KeyStrengthIndicator::Steps() const { return isHidden() || bar_->isHidden() ? 0 : bar_->value(); }

QSize KeyStrengthIndicator::sizeHint() const
{
    return {Twips(kBarWidth) + line_->sizeHint().width(),
            std::max(line_->sizeHint().height(), Twips(kBarHeight))};
}

}  // namespace kyv::gui
