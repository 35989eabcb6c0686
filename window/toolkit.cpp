// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit.h"

#include <QAccessibleWidget>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QVariant>
#include <QWidget>

#include <cmath>

#include "number_text.h"

namespace {

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The selected item's text; empty without a selection.
QString SelectedItem(const QComboBox* list)
{
    return list->currentIndex() < 0 ? QString() : list->currentText();
}

MessageBoxHook& Hook()
{
    static MessageBoxHook hook;
    return hook;
}

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
        return kind == QAccessible::Value ? SelectedItem(List()) : QAccessibleWidget::text(kind);
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
        return SelectedItem(List()).mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(SelectedItem(List()).size()); }
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
};

// Drop-down lists as above; a plain top-level widget, which Qt describes as a
// client area, is a window, so that screen readers announce its title.
QAccessibleInterface* WindowAndListFactory(const QString& className, QObject* object)
{
    if (auto* list = qobject_cast<QComboBox*>(object); list != nullptr && className == QLatin1String("QComboBox")) {
        return new NamedListAccessible(list);
    }
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget != nullptr && widget->isWindow() && className == QLatin1String("QWidget")) {
        return new QAccessibleWidget(widget, QAccessible::Window);
    }
    return nullptr;
}

int ToPixels(float twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

}  // namespace

std::string GetText(const QWidget* control)
{
    if (const auto* box = qobject_cast<const QLineEdit*>(control)) {
        return box->text().toStdString();
    }
    if (const auto* list = qobject_cast<const QComboBox*>(control)) {
        return SelectedItem(list).toStdString();
    }
    return {};
}

bool SetText(QWidget* control, std::string_view text)
{
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        box->setText(ToQString(text));
        return true;
    }
    if (auto* list = qobject_cast<QComboBox*>(control)) {
        const int index = list->findText(ToQString(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0) {
            return false;
        }
        list->setCurrentIndex(index);
        return true;
    }
    return false;
}

void AddItem(QComboBox* list, std::string_view item)
{
    list->addItem(ToQString(item));
}

bool SetListIndex(QWidget* control, int index)
{
    auto* list = qobject_cast<QComboBox*>(control);
    if (list == nullptr || index < -1 || index >= list->count()) {
        return false;
    }
    list->setCurrentIndex(index);
    return true;
}

void SetEnabled(QWidget* control, bool enabled)
{
    control->setEnabled(enabled);
}

void SetFocus(QWidget* control)
{
    control->setFocus(Qt::OtherFocusReason);
}

int ScreenWidth(const QWidget* window)
{
    return window->screen()->geometry().width() * TwipsPerPixel;
}

int ScreenHeight(const QWidget* window)
{
    return window->screen()->geometry().height() * TwipsPerPixel;
}

int WindowWidth(const QWidget* window)
{
    return window->frameGeometry().width() * TwipsPerPixel;
}

int WindowHeight(const QWidget* window)
{
    return window->frameGeometry().height() * TwipsPerPixel;
}

void SetWindowPosition(QWidget* window, float left, float top)
{
    window->move(ToPixels(left), ToPixels(top));
}

std::vector<QWidget*> Controls(const QWidget* window)
{
    // Qt keeps children in the order they were given their parent; message
    // boxes and other windows parented here are not controls.
    std::vector<QWidget*> controls;
    for (QObject* child : window->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && !widget->isWindow()) {
            controls.push_back(widget);
        }
    }
    return controls;
}

bool SetProperty(QWidget* control, std::string_view name, const QVariant& value)
{
    if (name == "Text" && value.canConvert<QString>()) {
        return SetText(control, value.toString().toStdString());
    }
    if (name == "ListIndex" && value.canConvert<int>()) {
        return SetListIndex(control, value.toInt());
    }
    return false;
}

void DoEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

std::vector<int> KeyPressCodes(const QKeyEvent& event)
{
    // The clipboard and undo shortcuts count as the control characters they
    // are typed with, so that a numeric box can refuse them; this covers
    // Shift+Insert and Ctrl+Insert as well as Ctrl+V and Ctrl+C.
    struct Shortcut {
        QKeySequence::StandardKey key;
        int code;
    };
    static const Shortcut shortcuts[] = {
        {QKeySequence::Copy, 3}, {QKeySequence::Paste, 22}, {QKeySequence::Cut, 24},
        {QKeySequence::Undo, 26}, {QKeySequence::Redo, 25}, {QKeySequence::SelectAll, 1},
    };
    for (const Shortcut& shortcut : shortcuts) {
        if (event.matches(shortcut.key)) {
            return {shortcut.code};
        }
    }
    switch (event.key()) {
    case Qt::Key_Backspace:
        return {BackspaceCode};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {EnterCode};
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return {};
    default:
        break;
    }
    if ((event.modifiers() & Qt::ControlModifier) && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z) {
        return {event.key() - Qt::Key_A + 1};
    }
    std::vector<int> codes;
    for (const QChar character : event.text()) {
        codes.push_back(character.unicode());
    }
    return codes;
}

void TypeInto(QLineEdit* box, int code)
{
    if (code == BackspaceCode) {
        box->backspace();
    } else {
        box->insert(QString(QChar(code)));
    }
}

void MsgBox(QWidget* owner, std::string_view text, std::string_view title)
{
    if (Hook()) {
        Hook()(std::string(text), std::string(title));
        return;
    }
    QMessageBox box(QMessageBox::Critical, ToQString(title), ToQString(text), QMessageBox::Ok, owner);
    box.exec();
}

void SetMessageBoxHook(MessageBoxHook hook)
{
    Hook() = std::move(hook);
}

void DescribeForScreenReaders()
{
    QAccessible::installFactory(WindowAndListFactory);  // Qt installs a factory once
}

void Unload(QWidget* window)
{
    window->close();
}
