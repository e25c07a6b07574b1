#include "widgets/EntryAccessible.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace zirpel {

namespace {

class EntryAccessible : public QAccessibleWidget {
public:
    explicit EntryAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return box()->currentText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = true;
        s.focusable = true;
        // The line edit inside takes the keys, but the focus is the box's.
        s.focused = box()->hasFocus();
        return s;
    }

private:
    [[nodiscard]] QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* EntryFactory(const QString& key, QObject* object) {
    if (key != QLatin1String("QComboBox"))
        return nullptr;
    auto* box = qobject_cast<QComboBox*>(object);
    if (!box || box->accessibleName().isEmpty())
        return nullptr;
    return new EntryAccessible(box);
}

} // namespace

void InstallEntryAccessible() {
    static const bool installed = [] {
        QAccessible::installFactory(EntryFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace zirpel
