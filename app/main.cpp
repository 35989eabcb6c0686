// SPDX-License-Identifier: GPL-3.0-or-later
// Orvanta: creates the lens calculator's window and runs until it is closed.

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "report/report.h"
#include "window/form1.h"
#include "window/translations.h"

namespace {

// The name of the desktop entry and of the AppStream file: docks and task
// bars find the running window's entry and icon through it.
constexpr const char* ApplicationId = "br.com.vintoral.orvanta";

// While the toolkit starts, its messages are held back: when it cannot reach
// a display it ends with a fatal error, and the user gets one plain line
// instead of the platform-plugin diagnostics.
struct HeldMessage {
    QtMsgType type;
    const char* file;
    int line;
    const char* function;
    const char* category;
    QString text;
};
std::vector<HeldMessage> heldMessages;
QtMessageHandler toolkitHandler = nullptr;

void HoldStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        std::fputs("orvanta: é necessária uma sessão gráfica (nenhuma tela disponível; verifique DISPLAY ou "
                   "WAYLAND_DISPLAY).\n",
                   stderr);
        std::_Exit(EXIT_FAILURE);
    }
    heldMessages.push_back({type, context.file, context.line, context.function, context.category, text});
}

}  // namespace

int main(int argc, char** argv)
{
    // Wayland takes the app id from the desktop file name, X11's window
    // class (WM_CLASS) comes from the application name; the window keeps its
    // own title.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(ApplicationId));
    QCoreApplication::setApplicationName(QString::fromLatin1(ApplicationId));

    toolkitHandler = qInstallMessageHandler(HoldStartupMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(toolkitHandler);
    for (const HeldMessage& message : std::exchange(heldMessages, {})) {
        const QMessageLogContext context(message.file, message.line, message.function, message.category);
        qt_message_output(message.type, context, message.text);
    }
    LoadToolkitTranslations();

    Form1 form(PrintOnDefaultPrinter);
    form.show();
    return QApplication::exec();
}
