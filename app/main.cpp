// SPDX-License-Identifier: GPL-3.0-or-later
// Orvanta: creates the lens calculator's window and runs until it is closed.

#include <QApplication>
#include <QRegularExpression>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "report/report.h"
#include "window/form1.h"
#include "window/toolkit.h"

namespace {

// The name of the desktop entry and of the AppStream file: docks and task
// bars find the running window's entry and icon through it.
constexpr const char* ApplicationId = "br.com.vintoral.orvanta";

// While the toolkit starts, its messages are held back: when it cannot open
// a display it ends with a fatal error, and the user gets one plain line
// saying why instead of the platform-plugin diagnostics.
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

// The display systems Qt can open, with the variable that names the display
// and the Debian package that brings Qt's support for it.
struct DisplaySystem {
    const char* plugin;
    const char* name;
    const char* variable;
    const char* package;
};
constexpr DisplaySystem DisplaySystems[] = {
    {"wayland", "Wayland", "WAYLAND_DISPLAY", "qt6-wayland"},
    {"xcb", "X11", "DISPLAY", "qt6-qpa-plugins"},
};

const DisplaySystem* FindDisplaySystem(const QString& plugin)
{
    for (const DisplaySystem& system : DisplaySystems) {
        if (plugin == QLatin1String(system.plugin)) {
            return &system;
        }
    }
    return nullptr;
}

// The cause, from the session's variables and from Qt's note on each
// platform it tried: "Could not find" when its plugin is not installed,
// "Could not load" when the plugin could not open the display.
QString StartFailure(const QString& fatalText)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return QStringLiteral("nenhuma sessão gráfica disponível (DISPLAY e WAYLAND_DISPLAY não estão definidas)");
    }
    static const QRegularExpression tried(QStringLiteral("^Could not (find|load) the Qt platform plugin \"([^\"]*)\""));
    QStringList causes;   // displays named but not opened, platforms that failed
    QStringList unnamed;  // displays tried but not named
    for (const HeldMessage& message : heldMessages) {
        const QRegularExpressionMatch match = tried.match(message.text);
        if (qstrcmp(message.category, "qt.qpa.plugin") != 0 || !match.hasMatch()) {
            continue;
        }
        const QString plugin = match.captured(2);
        const bool installed = match.captured(1) == QLatin1String("load");
        const DisplaySystem* system = FindDisplaySystem(plugin);
        if (system == nullptr) {
            causes << (installed ? QStringLiteral("a plataforma gráfica \"%1\" não pôde ser iniciada")
                                 : QStringLiteral("a plataforma gráfica \"%1\" não está instalada"))
                          .arg(plugin);
            continue;
        }
        const QString display = qEnvironmentVariable(system->variable);
        if (display.isEmpty()) {
            unnamed << QStringLiteral("nenhuma tela %1 (%2 não está definida)").arg(system->name, system->variable);
        } else if (!installed) {
            causes << QStringLiteral("a tela %1 \"%2\" precisa do suporte do Qt a %1, que não está instalado "
                                     "(instale o pacote %3)")
                          .arg(system->name, display, system->package);
        } else {
            causes << QStringLiteral("a tela %1 \"%2\" recusou a conexão").arg(system->name, display);
        }
    }
    // Qt falls back on X11 when Wayland fails: a display it tried that is
    // not named is the cause only when nothing else is.
    const QStringList& reasons = causes.isEmpty() ? unnamed : causes;
    return reasons.isEmpty() ? fatalText.simplified() : reasons.join(QStringLiteral("; "));
}

void HoldStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        const QString line = QStringLiteral("orvanta: não foi possível abrir a janela: %1.\n").arg(StartFailure(text));
        std::fputs(line.toUtf8().constData(), stderr);
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
