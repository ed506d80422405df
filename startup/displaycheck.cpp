#include "displaycheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace korvelan {

namespace {

// Whether something listens on a local socket; `abstract` for Linux's abstract names.
bool socketAnswers(const QByteArray &address, bool abstract)
{
    sockaddr_un socketAddress{};
    socketAddress.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;
    if (address.isEmpty() || std::size_t(address.size()) + offset >= sizeof socketAddress.sun_path)
        return false;
    std::memcpy(socketAddress.sun_path + offset, address.constData(), std::size_t(address.size()));
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + offset + std::size_t(address.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return true; // cannot tell: the toolkit will find out
    const bool answers =
        ::connect(fd, reinterpret_cast<const sockaddr *>(&socketAddress), length) == 0 || errno == EAGAIN;
    ::close(fd);
    return answers;
}

// An X display name is "[protocol/][host]:number[.screen]". Only a display of this machine is
// tried, on the sockets the X library itself would use; a remote one is left to the toolkit.
bool x11DisplayAnswers(const QByteArray &name)
{
    const qsizetype colon = name.lastIndexOf(':');
    if (colon < 0)
        return !name.isEmpty();
    QByteArray host = name.left(colon);
    if (const qsizetype slash = host.indexOf('/'); slash >= 0 && !host.startsWith('/'))
        host = host.mid(slash + 1);
    if (!host.isEmpty() && host != "unix")
        return true;
    bool isNumber = false;
    const uint number = name.mid(colon + 1).split('.').constFirst().toUInt(&isNumber);
    if (!isNumber)
        return true;
    const QByteArray socket = "/tmp/.X11-unix/X" + QByteArray::number(number);
    return socketAnswers(socket, true) || socketAnswers(socket, false);
}

// The Wayland library connects to WAYLAND_SOCKET, else to WAYLAND_DISPLAY ("wayland-0" by default)
// in the runtime folder.
bool waylandDisplayAnswers(const QProcessEnvironment &environment)
{
    if (!environment.value(u"WAYLAND_SOCKET"_s).isEmpty())
        return true;
    QString name = environment.value(u"WAYLAND_DISPLAY"_s);
    if (name.isEmpty())
        name = u"wayland-0"_s;
    if (!QDir::isAbsolutePath(name)) {
        const QString runtime = environment.value(u"XDG_RUNTIME_DIR"_s);
        if (runtime.isEmpty())
            return false;
        name = runtime + u'/' + name;
    }
    return socketAnswers(QFile::encodeName(name), false);
}

// The toolkit's options that take a value, as it reads them from the command line.
bool takesValue(const QByteArray &option)
{
    for (const char *known : {"-platform", "-platformpluginpath", "-platformtheme", "-qwindowgeometry", "-qwindowtitle",
                              "-qwindowicon", "-display", "-geometry", "-title", "-icon"})
        if (option == known)
            return true;
    return false;
}

// The last value of a toolkit option ("-platform" or "--platform"), or `fallback`.
QByteArray optionValue(const QByteArrayList &arguments, const char *wanted, const QByteArray &fallback)
{
    QByteArray value = fallback;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QByteArray option = arguments[i];
        if (!option.startsWith('-'))
            continue;
        if (option.startsWith("--"))
            option.remove(0, 1);
        if (!takesValue(option) || i + 1 >= arguments.size())
            continue;
        ++i;
        if (option == wanted)
            value = arguments[i];
    }
    return value;
}

QString platformFailure;
QtMessageHandler previousHandler = nullptr;
bool guardingStart = false;

// While the application object is being made, the toolkit's fatal error of a window system that
// cannot be opened becomes our message and exit code.
void startMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg && guardingStart) {
        std::fputs(platformFailure.toUtf8().constData(), stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

// Runs once the application object has its window system: from then on, fatal errors are the
// toolkit's again.
void endStartGuard()
{
    if (!guardingStart)
        return;
    guardingStart = false;
    qInstallMessageHandler(previousHandler);
}
Q_COREAPP_STARTUP_FUNCTION(endStartGuard)

} // namespace

QString displayProblem(const QByteArrayList &arguments, const QProcessEnvironment &environment)
{
    const QByteArray platforms =
        optionValue(arguments, "-platform", environment.value(u"QT_QPA_PLATFORM"_s).toLocal8Bit());
    const QByteArray x11Display = optionValue(arguments, "-display", environment.value(u"DISPLAY"_s).toLocal8Bit());
    // Unless told otherwise, the toolkit opens the session's Wayland or X display.
    QByteArrayList names;
    for (const QByteArray &entry : platforms.split(';'))
        if (const QByteArray name = entry.split(':').constFirst().trimmed(); !name.isEmpty())
            names << name;
    if (names.isEmpty())
        names = {"wayland", "xcb"};

    QStringList reasons;
    for (const QByteArray &name : std::as_const(names)) {
        if (name == "xcb") {
            if (x11DisplayAnswers(x11Display))
                return {};
            reasons << (x11Display.isEmpty()
                            ? u"la variable DISPLAY n'est pas définie"_s
                            : u"l'affichage X « %1 » ne répond pas"_s.arg(QString::fromLocal8Bit(x11Display)));
        } else if (name.startsWith("wayland")) {
            if (waylandDisplayAnswers(environment))
                return {};
            if (!platforms.isEmpty())
                reasons << u"aucun affichage Wayland ne répond"_s;
        } else {
            return {}; // offscreen, minimal, a frame buffer...: no display to reach
        }
    }
    reasons.removeDuplicates();
    return u"Les KORVELAN ne peut pas démarrer : aucun affichage n'est disponible (%1).\n"_s.arg(
        reasons.join(u" ; "_s));
}

void requireDisplay(int argc, char *argv[])
{
    QByteArrayList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QByteArray(argv[i]);
    const QString problem = displayProblem(arguments, QProcessEnvironment::systemEnvironment());
    if (!problem.isEmpty()) {
        std::fputs(problem.toUtf8().constData(), stderr);
        std::exit(1);
    }
    platformFailure = u"Les KORVELAN ne peut pas démarrer : l'affichage ne peut pas être ouvert.\n"_s;
    guardingStart = true;
    previousHandler = qInstallMessageHandler(startMessageHandler);
}

} // namespace korvelan
