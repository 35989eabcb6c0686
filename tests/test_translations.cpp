// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts are Brazilian Portuguese under any locale, and numbers still
// follow the regional settings. CTest runs this under several LC_ALL values.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>

#include <memory>

#include "window/qt/form_window.h"

namespace {

// A menu entry as the user reads it: no access-key marker, no shortcut.
QString Shown(const QAction* action)
{
    return action->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
}

TEST(ToolkitTranslations, TextBoxMenuIsBrazilianPortuguese)
{
    ASSERT_TRUE(LoadToolkitTranslations()) << "Qt's translations are missing (bash scripts/deps.sh build)";
    QLineEdit box(QStringLiteral("12,5"));
    const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) entries << Shown(action);
    }
    EXPECT_EQ(entries.join(QStringLiteral(", ")).toStdString(),
              "Desfazer, Refazer, Recortar, Copiar, Colar, Excluir, Selecionar tudo");
}

TEST(ToolkitTranslations, NumbersKeepTheRegionalSettings)
{
    const QLocale regional = QLocale::system();
    ASSERT_TRUE(LoadToolkitTranslations());
    EXPECT_EQ(QLocale().name().toStdString(), regional.name().toStdString());
    EXPECT_EQ(QLocale().decimalPoint().toStdString(), regional.decimalPoint().toStdString());
}

}  // namespace
