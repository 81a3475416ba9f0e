#include "platform/toolbaraccessibility.h"

#include <QAccessibleWidget>
#include <QToolBar>
#include <QToolButton>

namespace {

class ToolbarButtonAccessible : public QAccessibleWidget {
public:
    explicit ToolbarButtonAccessible(QToolButton *button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QToolButton *button() const { return static_cast<QToolButton *>(widget()); }

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name:
            if (!button()->accessibleName().isEmpty())
                return button()->accessibleName();
            // The button that shows the buttons a narrow window cannot has no text.
            if (button()->objectName() == QLatin1String("qt_toolbar_ext_button"))
                return QStringLiteral("More buttons");
            return button()->text();
        case QAccessible::Description:
            return button()->toolTip();
        case QAccessible::Accelerator:
            return button()->defaultAction()
                       ? button()->defaultAction()->shortcut().toString(QKeySequence::NativeText)
                       : QString();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = button()->isCheckable();
        state.checked = button()->isChecked();
        state.pressed = button()->isDown();
        return state;
    }

    QStringList actionNames() const override {
        if (!button()->isEnabled())
            return {};
        if (button()->isCheckable())
            return {toggleAction(), pressAction()};
        return {pressAction()};
    }

    void doAction(const QString &actionName) override {
        if (!button()->isEnabled())
            return;
        if (actionName == pressAction() || actionName == toggleAction())
            button()->click();
    }

    QStringList keyBindingsForAction(const QString &actionName) const override {
        const QString keys = text(QAccessible::Accelerator);
        if (keys.isEmpty() || !actionNames().contains(actionName))
            return {};
        return {keys};
    }
};

QAccessibleInterface *toolbarButtonFactory(const QString &className, QObject *object) {
    if (className != QLatin1String("QToolButton"))
        return nullptr;
    auto *button = qobject_cast<QToolButton *>(object);
    if (!button || !qobject_cast<QToolBar *>(button->parentWidget()))
        return nullptr;
    return new ToolbarButtonAccessible(button);
}

} // namespace

void installToolbarAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(toolbarButtonFactory);
        return true;
    }();
    (void)installed;
}
