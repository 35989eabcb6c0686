// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/qt/accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QCoreApplication>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Qt on Linux names a drop-down list by its selected item and expects a
// label relation to say what the list is for; lists that share a caption
// label cannot have one. This interface keeps the name for the caption and
// offers the selected item as the list's value and as read-only text, which
// is how screen readers read it; the open list stays its child, and the
// list can be opened by its actions.
class NamedListAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit NamedListAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Value ? SelectedText() : QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = List()->view()->isVisible();
        return state;
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(List()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child != nullptr && child->object() == List()->view() ? 0 : -1;
    }

    QStringList actionNames() const override
    {
        return QAccessibleWidget::actionNames() << showMenuAction() << pressAction();
    }
    void doAction(const QString& action) override
    {
        if (action == showMenuAction() || action == pressAction()) {
            List()->showPopup();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

    // The selected item as text: read-only, no cursor movement, no selection.
    QString text(int startOffset, int endOffset) const override
    {
        return SelectedText().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(SelectedText().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = offset;
        return {};
    }

private:
    QComboBox* List() const { return static_cast<QComboBox*>(widget()); }
    QString SelectedText() const { return List()->currentIndex() < 0 ? QString() : List()->currentText(); }
};

// A window whose controls screen readers get as the eye reads them, top to
// bottom and, within a row, left to right, whatever order they were created
// in. Qt would give them in creation order.
class ReadingOrderWindow : public QAccessibleWidget {
public:
    explicit ReadingOrderWindow(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

    QAccessibleInterface* child(int index) const override
    {
        const std::vector<QAccessibleInterface*> children = ChildrenInReadingOrder();
        return index >= 0 && index < static_cast<int>(children.size()) ? children[index] : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const std::vector<QAccessibleInterface*> children = ChildrenInReadingOrder();
        const auto found = std::find(children.begin(), children.end(), child);
        return found == children.end() ? -1 : static_cast<int>(found - children.begin());
    }

private:
    std::vector<QAccessibleInterface*> ChildrenInReadingOrder() const
    {
        std::vector<QAccessibleInterface*> children;
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
            children.push_back(QAccessibleWidget::child(i));
        }
        // The controls of one row share their top edge.
        std::stable_sort(children.begin(), children.end(), [](QAccessibleInterface* a, QAccessibleInterface* b) {
            return std::pair(a->rect().top(), a->rect().left()) < std::pair(b->rect().top(), b->rect().left());
        });
        return children;
    }
};

// The application as screen readers name it when the user switches to it:
// Qt would give the application name, which is the reverse-DNS id that
// desktops match the window's entry by.
class NamedApplication : public QAccessibleApplication {
public:
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? QStringLiteral("Orvanta") : QAccessibleApplication::text(kind);
    }
};

// The application and drop-down lists as above; a plain top-level widget,
// which Qt describes as a client area, is a window, so that screen readers
// announce its title, with its controls in reading order.
QAccessibleInterface* WindowAndListFactory(const QString& className, QObject* object)
{
    if (object == QCoreApplication::instance() && object->metaObject()->className() == className) {
        return new NamedApplication;
    }
    if (auto* list = qobject_cast<QComboBox*>(object); list != nullptr && className == QLatin1String("QComboBox")) {
        return new NamedListAccessible(list);
    }
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget != nullptr && widget->isWindow() && className == QLatin1String("QWidget")) {
        return new ReadingOrderWindow(widget);
    }
    return nullptr;
}

}  // namespace

void DescribeForScreenReaders()
{
    QAccessible::installFactory(WindowAndListFactory);  // Qt installs a factory once
}
