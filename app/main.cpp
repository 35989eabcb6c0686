// SPDX-License-Identifier: GPL-3.0-or-later
// Orvanta: creates the lens calculator's window and runs until it is closed.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QStringList>

#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "report/report.h"
#include "window/form1.h"
#include "window/qt/form_window.h"
#include "window/qt/title_bar.h"

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
// the key of Qt's platform for it and the Debian package that brings it.
struct DisplaySystem {
    const char* name;
    const char* variable;
    const char* platform;
    const char* package;
};
constexpr DisplaySystem Wayland{"Wayland", "WAYLAND_DISPLAY", "wayland", "qt6-wayland"};
constexpr DisplaySystem X11{"X11", "DISPLAY", "xcb", "qt6-qpa-plugins"};

// The platform and display that the command line names, read before Qt
// takes its own arguments away: the last -platform and -display, with one
// dash or two, as Qt reads them. Null when not given.
struct StartArguments {
    QString platform;
    QString display;
};
StartArguments startArguments;

StartArguments ReadStartArguments(int argc, char** argv)
{
    StartArguments found;
    for (int i = 1; i + 1 < argc; ++i) {
        std::string_view name = argv[i];
        if (name.starts_with("--")) name.remove_prefix(1);
        if (name == "-platform") found.platform = QString::fromLocal8Bit(argv[++i]);
        if (name == "-display") found.display = QString::fromLocal8Bit(argv[++i]);
    }
    return found;
}

// The keys of the platforms whose plugins Qt has ("xcb", "wayland"...).
QStringList InstalledPlatforms()
{
    QStringList keys;
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    for (const QFileInfo& file : platforms.entryInfoList(QDir::Files)) {
        const QJsonObject metaData =
            QPluginLoader(file.filePath()).metaData().value(QStringLiteral("MetaData")).toObject();
        for (const QJsonValue key : metaData.value(QStringLiteral("Keys")).toArray()) keys << key.toString();
    }
    return keys;
}

// Whether something listens on the Unix socket at path; a name that starts
// with '@' is an abstract socket.
bool Listening(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    path.copy(address.sun_path, path.size());
    if (path.starts_with('@')) address.sun_path[0] = '\0';
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool connected = fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&address),
                                              socklen_t(offsetof(sockaddr_un, sun_path) + path.size())) == 0;
    if (fd >= 0) close(fd);
    return connected;
}

// Whether an X server of this machine listens for display, as libxcb looks
// for it: ":N", "unix:N" or "/path:N", with an optional ".screen". A display
// on another host is taken as answering.
bool XServerAnswers(const QString& display)
{
    const qsizetype colon = display.lastIndexOf(QLatin1Char(':'));
    const QString host = display.left(colon);
    if (colon < 0) return false;
    if (!host.isEmpty() && host != QLatin1String("unix") && !host.startsWith(QLatin1Char('/'))) return true;
    if (host.startsWith(QLatin1Char('/'))) return Listening(host.toStdString());
    const std::string socket =
        "/tmp/.X11-unix/X" + display.mid(colon + 1).section(QLatin1Char('.'), 0, 0).toStdString();
    return Listening('@' + socket) || Listening(socket);
}

// Why a display could not be opened, from what the program can see itself:
// Qt's support for it, whether a server listens there, and for Wayland the
// runtime folder where a display's socket lives.
QString DisplayFailure(const DisplaySystem& system, const QString& display)
{
    const QString name = QString::fromLatin1(system.name);
    if (!InstalledPlatforms().contains(QLatin1String(system.platform))) {
        return QStringLiteral("a tela %1 \"%2\" precisa do suporte do Qt a %1, que não está instalado "
                              "(instale o pacote %3)")
            .arg(name, display, QString::fromLatin1(system.package));
    }
    if (display.isEmpty()) {
        return QStringLiteral("nenhuma tela %1 foi indicada (%2 não está definida)")
            .arg(name, QString::fromLatin1(system.variable));
    }
    if (&system == &X11 && !XServerAnswers(display)) {
        return QStringLiteral("a tela X11 \"%1\" não existe ou não responde").arg(display);
    }
    if (&system == &Wayland) {
        // A display name without a path is a socket in the runtime folder.
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        const bool path = display.startsWith(QLatin1Char('/'));
        if (!path && runtime.isEmpty()) {
            return QStringLiteral("a tela Wayland \"%1\" não pode ser encontrada, porque XDG_RUNTIME_DIR não está "
                                  "definida")
                .arg(display);
        }
        if (!path && !runtime.startsWith(QLatin1Char('/'))) {
            return QStringLiteral("a tela Wayland \"%1\" não pode ser encontrada, porque XDG_RUNTIME_DIR (\"%2\") "
                                  "não é um caminho absoluto")
                .arg(display, runtime);
        }
        const QString socket = path ? display : runtime + QLatin1Char('/') + display;
        if (!QFileInfo::exists(socket)) {
            return QStringLiteral("a tela Wayland \"%1\" não pode ser encontrada (%2 não existe)").arg(display, socket);
        }
    }
    return QStringLiteral("a tela %1 \"%2\" recusou a conexão").arg(name, display);
}

// The display of each system as Qt opens it: X11's from -display, else
// DISPLAY; Wayland's from WAYLAND_DISPLAY, else libwayland's "wayland-0".
QString DisplayOf(const DisplaySystem& system)
{
    if (&system == &X11 && !startArguments.display.isNull()) return startArguments.display;
    const QString display = qEnvironmentVariable(system.variable);
    return display.isEmpty() && &system == &Wayland ? QStringLiteral("wayland-0") : display;
}

// Why a platform that the user chose failed: a display system's, or one of
// Qt's others, or one that Qt does not have.
QString PlatformFailure(const QString& platform)
{
    // Without the plugin's own options; Qt takes the key in any case.
    const QString key = platform.section(QLatin1Char(':'), 0, 0).toLower();
    for (const DisplaySystem* system : {&Wayland, &X11}) {
        if (key == QLatin1String(system->platform) || (system == &Wayland && key.startsWith(QLatin1String("wayland"))))
            return DisplayFailure(*system, DisplayOf(*system));
    }
    return InstalledPlatforms().contains(key)
               ? QStringLiteral("a plataforma \"%1\" do Qt não pôde ser iniciada").arg(key)
               : QStringLiteral("o Qt não tem a plataforma \"%1\"").arg(key);
}

// The platforms chosen for Qt, as it reads them: -platform, else
// QT_QPA_PLATFORM. Empty when Qt chooses.
QString ChosenPlatforms()
{
    return !startArguments.platform.isNull() ? startArguments.platform : qEnvironmentVariable("QT_QPA_PLATFORM");
}

// The cause, read the way Qt chooses: the platforms chosen, in their order;
// else each display the session names (Qt tries Wayland, then X11).
QString StartFailure()
{
    const QString chosen = ChosenPlatforms();
    if (!chosen.isEmpty()) {
        QStringList causes;
        for (const QString& platform : chosen.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            causes << PlatformFailure(platform);
        const QString source = !startArguments.platform.isNull() ? QStringLiteral("-platform ") + chosen
                                                                 : QStringLiteral("QT_QPA_PLATFORM=") + chosen;
        return QStringLiteral("com %1, %2").arg(source, causes.join(QStringLiteral("; ")));
    }
    QStringList causes;
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland")
        causes << DisplayFailure(Wayland, DisplayOf(Wayland));
    if (!DisplayOf(X11).isEmpty()) causes << DisplayFailure(X11, DisplayOf(X11));
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

    startArguments = ReadStartArguments(argc, argv);
    HeldOutput output;
    heldOutput = &output;
    toolkitHandler = qInstallMessageHandler(HoldStartupMessage);
    // Qt tries Wayland when no platform is chosen, or when one chosen is it.
    const QString chosen = ChosenPlatforms();
    if (chosen.isEmpty() || chosen.contains(QLatin1String("wayland"), Qt::CaseInsensitive)) LeaveTitleBarToWindow();
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
