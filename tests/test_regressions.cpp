// SPDX-License-Identifier: GPL-3.0-or-later
// Faults that the hardening runs found, each kept as a row so that it stays
// fixed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QWindow>

#include <string>

#include "window/form1.h"

namespace {

// The window shown and active, as a user has it.
class Regression : public testing::Test {
protected:
    void SetUp() override
    {
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
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
    for (QLineEdit* box : {form.Text1, form.Text2, form.Text3}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(box->objectName().toStdString() + " typing " + QString::fromUtf16(c.typed).toStdString());
            box->setFocus();
            box->clear();
            QTest::sendKeyEvent(QTest::Click, form.windowHandle(), Qt::Key_unknown, QString::fromUtf16(c.typed),
                                Qt::NoModifier);
            EXPECT_EQ(box->text().toStdString(), c.kept);
        }
    }
}

// Text composed from a dead key and a letter (the Brazilian ABNT2 layout's
// ´ ~ ^ ` ¨) comes as an input method's commit, past the key presses: each
// of its characters must pass the number boxes' filter too. The compose
// context commits even where input methods are turned off.
TEST_F(Regression, EveryCharacterAnInputMethodCommitsIsFiltered)
{
    struct Case {
        const char16_t* committed;
        const char* kept;
    } const cases[] = {
        {u"é", ""}, {u"´7", "7"}, {u"12", "12"}, {u"ñ", ""}, {u"ç", ""}, {u"~", ""}, {u"7é.5", "7.5"},
    };
    for (QLineEdit* box : {form.Text1, form.Text2, form.Text3}) {
        for (const Case& c : cases) {
            const QString committed = QString::fromUtf16(c.committed);
            SCOPED_TRACE(box->objectName().toStdString() + " committing " + committed.toStdString());
            box->setFocus();
            box->setText("5");
            QInputMethodEvent commit;
            commit.setCommitString(committed);
            QApplication::sendEvent(box, &commit);
            EXPECT_EQ(box->text().toStdString(), std::string("5") + c.kept);
            EXPECT_EQ(box->cursorPosition(), box->text().size());
        }
    }
}

}  // namespace
