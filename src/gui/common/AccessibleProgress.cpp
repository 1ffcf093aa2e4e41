#include "gui/common/AccessibleProgress.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QLabel>

namespace kyv::gui {

namespace {

constexpr const char* kMaximumProperty = "kyvProgressMaximum";
constexpr const char* kValueProperty = "kyvProgressValue";

class ProgressLabelAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ProgressLabelAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Value)
            return QStringLiteral("%1 of %2").arg(Property(kValueProperty)).arg(Property(kMaximumProperty));
        if (type == QAccessible::Name) return widget()->accessibleName();
        return QAccessibleWidget::text(type);
    }

    QVariant currentValue() const override { return Property(kValueProperty); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return Property(kMaximumProperty); }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    int Property(const char* name) const { return widget()->property(name).toInt(); }
};

QAccessibleInterface* ProgressLabelFactory(const QString& className, QObject* object)
{
    auto* label = qobject_cast<QLabel*>(object);
    if (label == nullptr || className != QLatin1String("QLabel") ||
        !label->property(kMaximumProperty).isValid())
        return nullptr;
    return new ProgressLabelAccessible(label);
}

}  // namespace

void ShowAsProgressBar(QLabel* label, const QString& name, int maximum)
{
    static const bool kInstalled = [] {
        QAccessible::installFactory(ProgressLabelFactory);
        return true;
    }();
    (void)kInstalled;
    label->setProperty(kMaximumProperty, maximum);
    label->setProperty(kValueProperty, 0);
    label->setAccessibleName(name);
}

void SetProgressValue(QLabel* label, int value)
{
    label->setProperty(kValueProperty, value);
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(label, value);
        QAccessible::updateAccessibility(&event);
    }
}

}  // namespace kyv::gui
