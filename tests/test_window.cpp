// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/window_driver.h"
#include "tests/window_testing.h"
#include "window/form1.h"
#include "window/qt/form_window.h"
#include "window/qt/keys.h"
#include "window/toolkit.h"

namespace {

class WindowTest : public RecordingWindow {
protected:
    // Queues a close, clicks "Limpar" and checks that the window closed only
    // once the clear was complete.
    void ExpectClosesOnlyAfterTheClear(const std::function<void()>& queueClose)
    {
        bool clearedWhenClosed = false;
        const auto connection = QObject::connect(qApp, &QGuiApplication::lastWindowClosed, [&] {
            clearedWhenClosed =
                !form->Window().Command2->isEnabled() && form->Window().Combo4->currentText() == "metros";
        });
        EXPECT_TRUE(RunsUntilTheProgramEnds(*form, [&] {
            queueClose();
            Click(form->Window().Command2);
        }));
        QObject::disconnect(connection);
        EXPECT_TRUE(clearedWhenClosed);
        ExpectStartState(false);
        EXPECT_FALSE(form->Window().isVisible());
    }
    QWidget* Focused() const { return QApplication::focusWidget(); }
    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void Type(QLineEdit* box, const QString& text)
    {
        box->clear();
        QTest::keyClicks(box, text);
    }
};

// Each control of its kind as the layout table names it, in the fonts that
// stand for the table's faces; a few placed where the table's twips put them
// at 96 dpi (the screenshots compare the rest).
TEST_F(WindowTest, ControlsMatchTheLayout)
{
    FormWindow& w = form->Window();
    EXPECT_EQ(w.Label1->geometry(), QRect(24, 64, 777, 81));
    EXPECT_EQ(w.Text1->geometry(), QRect(24, 320, 81, 19));
    EXPECT_EQ(w.Combo2->geometry(), QRect(120, 320, 113, 21));
    EXPECT_EQ(w.Label8->geometry(), QRect(112, 552, 25, 17));
    EXPECT_EQ(w.Command4->geometry(), QRect(504, 472, 81, 33));
    for (const ControlLayout& e : ControlTable) {
        SCOPED_TRACE(e.name);
        QWidget* control = w.Widget(e.id);
        EXPECT_EQ(control->objectName().toStdString(), e.name);
        EXPECT_EQ(control->font().pixelSize(), e.font.pixels);
        EXPECT_EQ(control->font().bold(), e.font.bold);
        EXPECT_FALSE(control->font().italic() || control->font().underline() || control->font().strikeOut());
        EXPECT_EQ(QFontInfo(control->font()).family(), "Liberation Sans");
        EXPECT_EQ(control->isEnabled(),
                  e.id != Control::Command2 && e.id != Control::Command3 && e.id != Control::Text4);
        EXPECT_TRUE(control->isVisible());
        switch (e.kind) {
        case Kind::Label: {
            auto* label = qobject_cast<QLabel*>(control);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text().toStdString(), e.caption);
            EXPECT_TRUE(label->wordWrap());
            EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
            break;
        }
        case Kind::TextBox: {
            auto* box = qobject_cast<QLineEdit*>(control);
            ASSERT_NE(box, nullptr);
            EXPECT_FALSE(box->isReadOnly());
            EXPECT_TRUE(box->hasFrame());
            break;
        }
        case Kind::DropDown: {
            auto* list = qobject_cast<QComboBox*>(control);
            ASSERT_NE(list, nullptr);
            EXPECT_FALSE(list->isEditable());
            break;
        }
        case Kind::Button: {
            auto* button = qobject_cast<QPushButton*>(control);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text().toStdString(), e.caption);
            EXPECT_FALSE(button->isDefault());
            break;
        }
        }
    }
    EXPECT_TRUE(form->Window().Label1->text().startsWith("Para calcular o tamanho focal necessário"));
    EXPECT_TRUE(form->Window().Label1->text().contains("(1/4 \", 1/3 \", 1/2 \", 2/3 \" ou 1 \")"));
    EXPECT_TRUE(form->Window().Label1->text().endsWith("apresentada na caixa \" tamanho focal\"."));
    EXPECT_TRUE(form->Window().Label7->text().startsWith("Nota: É possível utilizar lentes de formato maiores"));
    EXPECT_TRUE(form->Window().Label7->text().endsWith("(lente de 1/3\" em uma câmera de 2/3\" não funcionará)."));
    EXPECT_EQ(form->Window().Label11->toolTip(), "Vintoral");
    EXPECT_EQ(QFontInfo(form->Window().Text1->font()).pixelSize(), 11);
}

TEST_F(WindowTest, EveryCaptionFitsItsBox)
{
    for (QLabel* label : form->Window().findChildren<QLabel*>()) {
        SCOPED_TRACE(label->objectName().toStdString());
        const QFontMetrics metrics(label->font());
        const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 10000),
                                                  Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label->text());
        EXPECT_LE(needed.width(), label->width());
        // The last line needs its glyphs' height, not a full line spacing.
        const int lines = qRound(static_cast<double>(needed.height()) / metrics.lineSpacing());
        EXPECT_LE((lines - 1) * metrics.lineSpacing() + metrics.height(), label->height());
    }
    for (QPushButton* button : form->Window().findChildren<QPushButton*>()) {
        EXPECT_LT(QFontMetrics(button->font()).horizontalAdvance(button->text()), button->width());
    }
}

// The names and reading order are checked over AT-SPI (tests/accessibility.py);
// here what a screen reader can do with a list.
TEST_F(WindowTest, ScreenReadersOpenAListAndReadItsItems)
{
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(form->Window().Combo3);
    EXPECT_EQ(list->role(), QAccessible::ComboBox);
    EXPECT_EQ(list->text(QAccessible::Value), "Largura");
    ASSERT_NE(list->textInterface(), nullptr);
    EXPECT_EQ(list->textInterface()->text(0, list->textInterface()->characterCount()), "Largura");
    EXPECT_TRUE(list->state().expandable);
    ASSERT_NE(list->actionInterface(), nullptr);
    list->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_TRUE(form->Window().Combo3->view()->isVisible());
    EXPECT_TRUE(list->state().expanded);
    form->Window().Combo3->hidePopup();
    ASSERT_EQ(list->childCount(), 1);
    EXPECT_EQ(list->child(0)->childCount(), 3);  // the items of the open list
}

TEST_F(WindowTest, WindowIsFixedWithOnlyTitleMenuAndClose)
{
    EXPECT_EQ(form->Window().windowTitle(), "Cálculo de Lentes");
    EXPECT_EQ(form->Window().size(), QSize(822, 595));
    EXPECT_EQ(form->Window().minimumSize(), form->Window().maximumSize());
    const Qt::WindowFlags flags = form->Window().windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    const QList<QSize> sizes = form->Window().windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    for (const QSize& size : sizes) {
        const QImage image = form->Window().windowIcon().pixmap(size).toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
        EXPECT_LE(colours.size(), 16);
    }
}

TEST_F(WindowTest, NumberBoxesTakeOnlyDigitsFullStopAndEditingKeys)
{
    QApplication::clipboard()->setText("99");
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* after;  // starting from "12" with the cursor at the end
    } const cases[] = {
        // The clipboard shortcuts, which the box would take before its key
        // presses, and keys that make no character code; which codes the
        // other keys make, and what the filter does with them, is tested
        // apart.
        {Qt::Key_V, Qt::ControlModifier, "12"},      {Qt::Key_Insert, Qt::ShiftModifier, "12"},
        {Qt::Key_X, Qt::ControlModifier, "12"},      {Qt::Key_Left, Qt::NoModifier, "12"},
        {Qt::Key_2, Qt::ControlModifier, "12"},       // no code, and no character
        {Qt::Key_Delete, Qt::ControlModifier, "12"},  // no code: the word after the cursor
    };
    for (QLineEdit* box : {form->Window().Text1, form->Window().Text2, form->Window().Text3}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(box->objectName().toStdString() + " key " + std::to_string(c.key));
            box->setFocus();
            box->setText("12");
            QTest::keyClick(box, c.key, c.modifiers);
            EXPECT_EQ(box->text().toStdString(), c.after);
            EXPECT_EQ(Focused(), box);
        }
        // Keys that type no character edit as usual.
        box->setText("123");
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClick(box, Qt::Key_Left);
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), "3");
        // Ctrl+C copies nothing; 1.2.3 can be typed.
        box->selectAll();
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), "99");
        Type(box, "1.2.3");
        EXPECT_EQ(box->text(), "1.2.3");
    }
    EXPECT_EQ(QApplication::clipboard()->text(), "99");
}

// "Fechar" or the close box, queued behind "Limpar".
TEST_F(WindowTest, CloseQueuedBehindLimparClosesAfterTheClear)
{
    for (const bool fechar : {true, false}) {
        SCOPED_TRACE(fechar ? "Fechar" : "the close box");
        if (!fechar) SetUp();  // a new window: Fechar closed the first
        Fill("6", "30", "100");
        Click(form->Window().Command1);
        ExpectClosesOnlyAfterTheClear([this, fechar] {
            if (fechar) return QueueClick(form->Window().Command4);
            QMetaObject::invokeMethod(&form->Window(), &QWidget::close, Qt::QueuedConnection);
        });
    }
}

TEST_F(WindowTest, SecondLimparQueuedBehindTheFirstEndsAsOneClear)
{
    Fill("6", "30", "100");
    Click(form->Window().Command1);
    QueueClick(form->Window().Command2);
    QueueClick(form->Window().Command1);  // a calculation between the two clears
    Click(form->Window().Command2);
    ExpectStartState(false);
    EXPECT_TRUE(form->Window().isVisible());
}

TEST_F(WindowTest, ResultBoxTakesNoFocusAndNoInput)
{
    Click(form->Window().Command1);  // refused: nothing in Text1
    form->Window().Text3->setFocus();
    QTest::mouseClick(form->Window().Text4, Qt::LeftButton);
    EXPECT_NE(Focused(), form->Window().Text4);
    QTest::keyClicks(form->Window().Text4, "5");
    EXPECT_EQ(form->Window().Text4->text(), "");
}

TEST_F(WindowTest, EnterInAListAndEscapeClickNoButton)
{
    form->Window().Combo1->setFocus();
    QTest::keyClick(form->Window().Combo1, Qt::Key_Return);
    QTest::keyClick(form->Window().Combo1, Qt::Key_Escape);
    form->Window().Text3->setFocus();
    QTest::keyClick(form->Window().Text3, Qt::Key_Escape);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(form->Window().isVisible());
    EXPECT_FALSE(form->Window().Command2->isEnabled());
}

// One press, one click, as the behaviour suite holds keys on every toolkit
// and WindowX11 with an X server's unmarked repeats; here the keypad's Enter,
// which only Qt's events tell apart. Two taps at one instant, as a program
// may send them, are two presses.
TEST_F(WindowTest, AHeldKeypadEnterPressesOnceAndTwoTapsTwice)
{
    FormWindow& w = form->Window();
    Fill("6", "30", "100");
    Click(w.Command1);
    w.Command3->setFocus();
    QSignalSpy clicks(w.Command3, &QPushButton::clicked);
    HoldKey(w.windowHandle(), Qt::Key_Enter, Qt::KeypadModifier, "\r", 50);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(printed.size(), 1u);
    EXPECT_EQ(Focused(), w.Command3);
    for (int i = 0; i < 2; ++i) {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent tap(type, Qt::Key_Return, Qt::NoModifier, "\r");
            tap.setTimestamp(5000);
            QCoreApplication::sendEvent(w.windowHandle(), &tap);
        }
    }
    EXPECT_EQ(clicks.count(), 3);
}

TEST_F(WindowTest, RealMessageBoxShowsCriticalIconTitleAndOneOk)
{
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttons = static_cast<int>(box->buttons().size());
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    MsgBox(form->Window(), "Digitação Inválida.", "Mensagem de Erro!");
    EXPECT_EQ(text, "Digitação Inválida.");
    EXPECT_EQ(title, "Mensagem de Erro!");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, 1);
}

// The rules by which keys make the codes the key-press handlers see, as the
// classic desktop makes them, for keys as X11 delivers them (key, modifiers,
// text): Ctrl with a letter, the shortcuts, keys whose code is not their
// text, and keys that make none.
TEST(Toolkit, KeysMakeTheClassicCharacterCodes)
{
    const auto ctrl = Qt::ControlModifier;
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char16_t* text;
        std::vector<int> codes;
    } cases[] = {
        {Qt::Key_7, {}, u"7", {'7'}},
        {Qt::Key_unknown, {}, u"1a", {'1', 'a'}},
        {Qt::Key_Eacute, {}, u"é", {0xe9}},
        {Qt::Key_Backspace, {}, u"\b", {8}},
        {Qt::Key_Backspace, ctrl, u"\b", {127}},
        {Qt::Key_Backspace, Qt::ShiftModifier, u"\b", {8}},
        {Qt::Key_Return, {}, u"\r", {13}},
        {Qt::Key_Return, ctrl, u"\r", {10}},
        {Qt::Key_Enter, ctrl | Qt::KeypadModifier, u"\r", {10}},
        {Qt::Key_M, ctrl, u"\r", {13}},
        {Qt::Key_J, ctrl, u"\n", {10}},
        {Qt::Key_H, ctrl, u"\b", {8}},
        {Qt::Key_A, ctrl | Qt::ShiftModifier, u"\x01", {1}},
        {Qt::Key_Escape, {}, u"\x1b", {27}},
        {Qt::Key_BracketLeft, ctrl, u"\x1b", {27}},
        {Qt::Key_V, ctrl, u"\x16", {22}},
        {Qt::Key_Insert, Qt::ShiftModifier, u"", {22}},
        {Qt::Key_2, ctrl, u"2", {}},
        {Qt::Key_Delete, {}, u"\x7f", {}},
        {Qt::Key_Delete, ctrl, u"", {}},
        {Qt::Key_Tab, {}, u"\t", {}},
        {Qt::Key_Left, ctrl, u"", {}},
        {Qt::Key_Home, {}, u"", {}},
    };
    for (const auto& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, QString::fromUtf16(c.text));
        EXPECT_EQ(KeyPressCodes(event), c.codes)
            << QKeySequence(QKeyCombination(c.modifiers, c.key)).toString().toStdString();
    }
}

}  // namespace
