// SPDX-License-Identifier: GPL-3.0-or-later
// Orvanta: creates the lens calculator's window and runs until it is closed.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringList>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "report/report.h"
#include "window/form1.h"
#include "window/qt/form_window.h"

namespace {

// The name of the desktop entry and of the AppStream file: docks and task
// bars find the running window's entry and icon through it.
constexpr const char* ApplicationId = "br.com.vintoral.orvanta";

// While the toolkit starts, its messages are held back: when it cannot open
// a display it ends with a fatal error, and the user gets one plain line
// saying why instead of the platform-plugin diagnostics, whose words are
// not read.
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

// The display libraries under the toolkit write their own diagnostics to
// the standard error while it starts: that output is held in memory too,
// and passed on once the window system is open. userError is the standard
// error itself meanwhile.
struct HeldOutput {
    int userError = dup(STDERR_FILENO);
    int held = memfd_create("orvanta-startup", MFD_CLOEXEC);

    HeldOutput()
    {
        if (held >= 0) dup2(held, STDERR_FILENO);
    }
    // Puts the standard error back and writes out what was held.
    void Release()
    {
        if (held < 0) return;
        dup2(userError, STDERR_FILENO);
        char buffer[4096];
        lseek(held, 0, SEEK_SET);
        for (ssize_t n; (n = read(held, buffer, sizeof buffer)) > 0;) {
            if (write(STDERR_FILENO, buffer, size_t(n)) != n) break;
        }
        close(held);
        held = -1;
    }
};
HeldOutput* heldOutput = nullptr;

// The display systems Qt can open, with the variable that names the display,
// the file name of Qt's plugin for it and the Debian package that brings it.
struct DisplaySystem {
    const char* name;
    const char* variable;
    const char* pluginFiles;
    const char* package;
};
constexpr DisplaySystem DisplaySystems[] = {
    {"Wayland", "WAYLAND_DISPLAY", "libqwayland-*.so", "qt6-wayland"},
    {"X11", "DISPLAY", "libqxcb.so", "qt6-qpa-plugins"},
};

bool PluginInstalled(const DisplaySystem& system)
{
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    return !platforms.entryList({QString::fromLatin1(system.pluginFiles)}, QDir::Files).isEmpty();
}

// Why a named display could not be opened, from what the program can see
// itself: Qt's support for it, and for Wayland the runtime folder where a
// display's socket lives.
QString DisplayFailure(const DisplaySystem& system, const QString& display)
{
    if (!PluginInstalled(system)) {
        return QStringLiteral("a tela %1 \"%2\" precisa do suporte do Qt a %1, que não está instalado "
                              "(instale o pacote %3)")
            .arg(QString::fromLatin1(system.name), display, QString::fromLatin1(system.package));
    }
    if (system.variable == std::string_view("WAYLAND_DISPLAY")) {
        // A display name without a path is a socket in the runtime folder.
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        const bool path = display.startsWith(QLatin1Char('/'));
        if (!path && !runtime.startsWith(QLatin1Char('/'))) {
            return QStringLiteral("a tela Wayland \"%1\" não pode ser encontrada, porque XDG_RUNTIME_DIR não está "
                                  "definida")
                .arg(display);
        }
        const QString socket = path ? display : runtime + QLatin1Char('/') + display;
        if (!QFileInfo::exists(socket)) {
            return QStringLiteral("a tela Wayland \"%1\" não pode ser encontrada (%2 não existe)").arg(display, socket);
        }
    }
    return QStringLiteral("a tela %1 \"%2\" recusou a conexão").arg(QString::fromLatin1(system.name), display);
}

// The cause, for each display the session names (Qt tries Wayland, then
// X11).
QString StartFailure()
{
    QStringList causes;
    for (const DisplaySystem& system : DisplaySystems) {
        const QString display = qEnvironmentVariable(system.variable);
        if (!display.isEmpty()) {
            causes << DisplayFailure(system, display);
        }
    }
    if (causes.isEmpty()) {
        return QStringLiteral("nenhuma sessão gráfica disponível (DISPLAY e WAYLAND_DISPLAY não estão definidas)");
    }
    return causes.join(QStringLiteral("; "));
}

void HoldStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        const QByteArray line =
            QStringLiteral("orvanta: não foi possível abrir a janela: %1.\n").arg(StartFailure()).toUtf8();
        if (write(heldOutput->userError, line.constData(), size_t(line.size())) != line.size()) std::_Exit(2);
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

    HeldOutput output;
    heldOutput = &output;
    toolkitHandler = qInstallMessageHandler(HoldStartupMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(toolkitHandler);
    output.Release();
    for (const HeldMessage& message : std::exchange(heldMessages, {})) {
        const QMessageLogContext context(message.file, message.line, message.function, message.category);
        qt_message_output(message.type, context, message.text);
    }
    LoadToolkitTranslations();

    Form1 form(PrintOnDefaultPrinter);
    form.Show();
    return QApplication::exec();
}
