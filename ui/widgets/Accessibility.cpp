#include "Accessibility.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QFrame>
#include <QLabel>
#include <QPointer>

namespace kwizmar {

namespace {

// Holds the text of a widget that reads as one text, as a child object.
class TOneText final : public QObject {
public:
    TOneText(QWidget* owner, std::function<QString()> text)
        : QObject(owner), text_(std::move(text)) {
        setObjectName(QStringLiteral("kwizmar_one_text"));
    }
    QString Text(const QWidget& owner) const { return text_ ? text_() : owner.accessibleName(); }

private:
    std::function<QString()> text_;
};

const TOneText* OneTextOf(const QObject* object) {
    return object->findChild<TOneText*>(QStringLiteral("kwizmar_one_text"),
                                        Qt::FindDirectChildrenOnly);
}

class TWindowAccessible final : public QAccessibleWidget {
public:
    explicit TWindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}
};

class TPanelAccessible final : public QAccessibleWidget {
public:
    explicit TPanelAccessible(QWidget* panel) : QAccessibleWidget(panel, QAccessible::Pane) {}
};

class TOneTextAccessible final : public QAccessibleWidget {
public:
    explicit TOneTextAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::StaticText) {}
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const TOneText* one = OneTextOf(widget());
        return one ? one->Text(*widget()) : widget()->accessibleName();
    }
};

// A radio button, exclusive or not: its checked state, its caption (or
// accessible name) and a toggle that clicks it.
class TChoiceAccessible final : public QAccessibleWidget {
public:
    explicit TChoiceAccessible(QAbstractButton* button)
        : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QString text(QAccessible::Text t) const override {
        // Its hint says no more than its name: not read after it.
        if (t == QAccessible::Description)
            return widget()->accessibleDescription();
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const QString name = widget()->accessibleName();
        return name.isEmpty() ? WithoutAccelerator(Button()->text()) : name;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = Button()->isChecked();
        s.pressed = Button()->isDown();
        return s;
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled())
            names.prepend(toggleAction());
        return names;
    }
    void doAction(const QString& action) override {
        if (!widget()->isEnabled())
            return;
        if (action == toggleAction() || action == pressAction())
            Button()->click();
        else
            QAccessibleWidget::doAction(action);
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == toggleAction() || action == pressAction())
            return {QStringLiteral("space")};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (OneTextOf(widget))
        return new TOneTextAccessible(widget);
    if (className == QLatin1String("QRadioButton"))
        return new TChoiceAccessible(static_cast<QAbstractButton*>(widget));
    // Only the class itself, not a subclass the toolkit reads better
    // (a label is a frame too, a main window or a dialog knows its role).
    if (className == QLatin1String("QFrame") && !widget->isWindow())
        return new TPanelAccessible(widget);
    if (className == QLatin1String("QWidget") && widget->isWindow())
        return new TWindowAccessible(widget);
    return nullptr;
}

} // namespace

void InstallAccessibility() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(&Factory);
}

void ReadAsOneText(QWidget* widget, std::function<QString()> text) {
    if (OneTextOf(widget))
        return;
    new TOneText(widget, std::move(text));
    // An interface made for the widget before (a reader already on as it
    // was made) goes: the next one asked for reads it as one text.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget);
        made && !dynamic_cast<TOneTextAccessible*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void TellGroupOnce(std::initializer_list<QAbstractButton*> buttons) {
    for (QAbstractButton* button : buttons) {
        auto* label = new QLabel(button->parentWidget());
        label->setObjectName(QStringLiteral("kwizmar_group_label"));
        label->setBuddy(button);
        // A blank, not an empty name: an empty one is filled in from the group.
        label->setAccessibleName(QStringLiteral(" "));
        label->hide();
    }
}

QString WithoutAccelerator(const QString& caption) {
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

} // namespace kwizmar
