#include "displaycheck.h"

#include <QTemporaryDir>
#include <QTest>

#include <cstddef>
#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace korvelan;
using namespace Qt::StringLiterals;

namespace {

// A local socket that accepts connections for as long as it lives, as a display server's does.
class Listener {
public:
    // An abstract name (Linux), or a file path.
    Listener(const QByteArray &address, bool abstract) : m_fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_un socketAddress{};
        socketAddress.sun_family = AF_UNIX;
        const std::size_t offset = abstract ? 1 : 0;
        std::memcpy(socketAddress.sun_path + offset, address.constData(), std::size_t(address.size()));
        const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + offset + std::size_t(address.size()));
        m_listening = m_fd >= 0 && ::bind(m_fd, reinterpret_cast<const sockaddr *>(&socketAddress), length) == 0 &&
            ::listen(m_fd, 4) == 0;
    }
    ~Listener()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool listening() const { return m_listening; }

private:
    int m_fd;
    bool m_listening = false;
};

QByteArray x11Socket(int display)
{
    return "/tmp/.X11-unix/X" + QByteArray::number(display);
}

} // namespace

class TestDisplayCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void refusesOnlyWhenNoWindowSystemCanBeReached_data();
    void refusesOnlyWhenNoWindowSystemCanBeReached();

private:
    QTemporaryDir m_runtime;
    std::unique_ptr<Listener> m_x11, m_wayland;
    int m_servedDisplay = 0, m_freeDisplay = 0;
};

void TestDisplayCheck::initTestCase()
{
    // A display number that no server of this machine uses, then one served here.
    int display = 4200 + int(::getpid() % 700);
    const auto taken = [](int number) {
        Listener probe(x11Socket(number), true);
        return !probe.listening() || QFile::exists(QString::fromLatin1(x11Socket(number)));
    };
    while (taken(display))
        ++display;
    m_freeDisplay = display++;
    while (taken(display))
        ++display;
    m_servedDisplay = display;
    m_x11 = std::make_unique<Listener>(x11Socket(m_servedDisplay), true);
    QVERIFY(m_x11->listening());
    m_wayland = std::make_unique<Listener>(QFile::encodeName(m_runtime.filePath(u"wayland-test"_s)), false);
    QVERIFY(m_wayland->listening());
}

void TestDisplayCheck::refusesOnlyWhenNoWindowSystemCanBeReached_data()
{
    // In the variables, %X stands for the display number served here, %N for one that nobody serves
    // and %R for the runtime folder that holds the Wayland socket "wayland-test".
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QString>("reason"); // empty when the start goes on

    QTest::newRow("offscreen, no display")
        << QByteArrayList{} << QStringList{u"QT_QPA_PLATFORM=offscreen"_s} << QString();
    QTest::newRow("minimal with options")
        << QByteArrayList{} << QStringList{u"QT_QPA_PLATFORM=minimal:enable_fonts"_s} << QString();
    QTest::newRow("offscreen by argument over xcb")
        << QByteArrayList{"-platform", "offscreen"} << QStringList{u"QT_QPA_PLATFORM=xcb"_s} << QString();
    QTest::newRow("offscreen by double-dash argument")
        << QByteArrayList{"--platform", "offscreen"} << QStringList{} << QString();
    QTest::newRow("xcb falling back to offscreen")
        << QByteArrayList{} << QStringList{u"QT_QPA_PLATFORM=xcb;offscreen"_s} << QString();
    QTest::newRow("no display at all") << QByteArrayList{} << QStringList{}
                                       << u"la variable DISPLAY n'est pas définie"_s;
    QTest::newRow("xcb by argument over offscreen")
        << QByteArrayList{"-platform", "xcb"} << QStringList{u"QT_QPA_PLATFORM=offscreen"_s}
        << u"la variable DISPLAY n'est pas définie"_s;
    QTest::newRow("X display nobody serves")
        << QByteArrayList{} << QStringList{u"DISPLAY=:%N"_s} << u"l'affichage X « :%N » ne répond pas"_s;
    QTest::newRow("X display served") << QByteArrayList{} << QStringList{u"DISPLAY=:%X"_s} << QString();
    QTest::newRow("X display served, screen named")
        << QByteArrayList{} << QStringList{u"DISPLAY=unix:%X.0"_s} << QString();
    QTest::newRow("X display named by argument")
        << QByteArrayList{"-display", ":%X"} << QStringList{u"DISPLAY=:%N"_s} << QString();
    QTest::newRow("remote X display, left to the toolkit")
        << QByteArrayList{} << QStringList{u"DISPLAY=far.example:0"_s} << QString();
    QTest::newRow("Wayland display of the session")
        << QByteArrayList{} << QStringList{u"XDG_RUNTIME_DIR=%R"_s, u"WAYLAND_DISPLAY=wayland-test"_s} << QString();
    QTest::newRow("Wayland display nobody serves") << QByteArrayList{}
                                                   << QStringList{u"QT_QPA_PLATFORM=wayland"_s, u"XDG_RUNTIME_DIR=%R"_s,
                                                                  u"WAYLAND_DISPLAY=wayland-none"_s, u"DISPLAY=:%X"_s}
                                                   << u"aucun affichage Wayland ne répond"_s;
}

void TestDisplayCheck::refusesOnlyWhenNoWindowSystemCanBeReached()
{
    QFETCH(QByteArrayList, arguments);
    QFETCH(QStringList, variables);
    QFETCH(QString, reason);
    const auto fill = [this](QString text) {
        return text.replace(u"%X"_s, QString::number(m_servedDisplay))
            .replace(u"%N"_s, QString::number(m_freeDisplay))
            .replace(u"%R"_s, m_runtime.path());
    };
    QProcessEnvironment environment;
    for (const QString &variable : std::as_const(variables)) {
        const QString filled = fill(variable);
        environment.insert(filled.section(u'=', 0, 0), filled.section(u'=', 1));
    }
    arguments.prepend("korvelan");
    for (QByteArray &argument : arguments)
        argument = fill(QString::fromLatin1(argument)).toLatin1();

    const QString problem = displayProblem(arguments, environment);
    if (reason.isEmpty()) {
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    } else {
        QCOMPARE(problem,
                 u"Les KORVELAN ne peut pas démarrer : aucun affichage n'est disponible (%1).\n"_s.arg(fill(reason)));
    }
}

QTEST_GUILESS_MAIN(TestDisplayCheck)
#include "tst_displaycheck.moc"
