// SPDX-License-Identifier: GPL-3.0-or-later
// Faults that the hardening runs and hostile tries found, each kept so that
// it stays fixed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QLineEdit>
#include <QTest>
#include <QWindow>

#include <string>

#include "window/form1.h"
#include "window/qt/form_window.h"

namespace {

// The window shown and active, as a user has it.
class Regression : public testing::Test {
protected:
    void SetUp() override
    {
        form.Window().show();
        QApplication::setActiveWindow(&form.Window());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form.Window()));
    }

    Form1 form{[](const CalcState&) {}};
};

// A key event may carry several characters (key compression, an input
// method or a keyboard layout that types a string): the number boxes must
// filter each of them as a key of its own.
TEST_F(Regression, EveryCharacterOfAKeyEventIsFiltered)
{
    struct Case {
        const char16_t* typed;
        const char* kept;
    } const cases[] = {
        {u"1a", "1"}, {u"a1", "1"}, {u"1-5", "15"}, {u"é.", "."}, {u"2,5", "25"}, {u"12", "12"},
    };
    for (QLineEdit* box : {form.Window().Text1, form.Window().Text2, form.Window().Text3}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(box->objectName().toStdString() + " typing " + QString::fromUtf16(c.typed).toStdString());
            box->setFocus();
            box->clear();
            QTest::sendKeyEvent(QTest::Click, form.Window().windowHandle(), Qt::Key_unknown,
                                QString::fromUtf16(c.typed), Qt::NoModifier);
            EXPECT_EQ(box->text().toStdString(), c.kept);
        }
    }
}

// With IBus or fcitx5 active, an input method drew its preedit letters in a
// number box ("34a"), or turned typed digits into its own script, which the
// key filter then dropped: the boxes tell input methods they take no text,
// and draw nothing an input method composes.
TEST_F(Regression, NumberBoxesTakeNoInputMethod)
{
    for (QLineEdit* box : {form.Window().Text1, form.Window().Text2, form.Window().Text3}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->setFocus();
        box->setText("34");
        QInputMethodQueryEvent query(Qt::ImEnabled | Qt::ImHints);
        QApplication::sendEvent(box, &query);
        EXPECT_FALSE(query.value(Qt::ImEnabled).toBool());
        const QImage before = box->grab().toImage();
        QInputMethodEvent preedit(QStringLiteral("a"), {});
        QApplication::sendEvent(box, &preedit);
        EXPECT_EQ(box->grab().toImage(), before);
        EXPECT_EQ(box->text(), "34");
    }
}

}  // namespace
