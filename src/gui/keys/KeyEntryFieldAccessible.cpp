#include "gui/keys/KeyEntryFieldAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "core/keys/Windows1252.h"
#include "gui/keys/KeyEntryField.h"

namespace kyv::gui {

namespace {

class KeyEntryFieldAccessible final : public QAccessibleWidget {
public:
    explicit KeyEntryFieldAccessible(KeyEntryField* field)
        : QAccessibleWidget(field, QAccessible::EditableText)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.passwordEdit = Field()->IsMasked();
        return state;
    }

    QString text(QAccessible::Text type) const override
    {
        switch (type) {
            case QAccessible::Name:
                return widget()->accessibleName();
            case QAccessible::Description:
                return widget()->accessibleDescription();
            case QAccessible::Value:
                // Asked for by assistive technology only; a hidden key gives nothing, not even "#"s.
                return Field()->IsMasked() ? QString() : DecodeWindows1252(Field()->Bytes().View());
            default:
                return QAccessibleWidget::text(type);
        }
    }

private:
    const KeyEntryField* Field() const { return static_cast<const KeyEntryField*>(widget()); }
};

QAccessibleInterface* KeyEntryFieldFactory(const QString& className, QObject* object)
{
    auto* field = qobject_cast<KeyEntryField*>(object);
    if (field == nullptr || className != QLatin1String(KeyEntryField::staticMetaObject.className()))
        return nullptr;
    return new KeyEntryFieldAccessible(field);
}

}  // namespace

void InstallKeyEntryFieldAccessibility()
{
    static const bool kInstalled = [] {
        QAccessible::installFactory(KeyEntryFieldFactory);
        return true;
    }();
    (void)kInstalled;
}

}  // namespace kyv::gui
