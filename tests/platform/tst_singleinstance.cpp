#include "singleinstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>
#include <optional>

#include <csignal>
#include <cstring>

#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace korvelan;
using namespace Qt::StringLiterals;

// Run with KORVELAN_HOLD_LOCK=<path>, this test program starts as the program does and says how it
// went: "holding" (it then holds the lock until it is killed), "refused" or "unlocked" (started
// without a lock). With KORVELAN_WAIT_FOR_GO set, it first says "ready" and waits for a line on its
// input, so that several can be let go at the same moment. With KORVELAN_START_BROWSER set, once it
// holds the lock it starts a program that outlives it, as a web browser does, and says "browser <pid>".
static int startInChild(const QString &path)
{
    if (qEnvironmentVariableIsSet("KORVELAN_WAIT_FOR_GO")) {
        std::puts("ready");
        std::fflush(stdout);
        char line[8];
        if (!std::fgets(line, sizeof line, stdin))
            return 1;
    }
    SingleInstance instance(path);
    const bool started = instance.acquire();
    if (instance.holdsLock() && qEnvironmentVariableIsSet("KORVELAN_START_BROWSER")) {
        qint64 pid = 0;
        QProcess::startDetached(u"sleep"_s, {u"60"_s}, QString(), &pid);
        std::printf("browser %lld\n", static_cast<long long>(pid));
    }
    std::puts(!started ? "refused" : instance.holdsLock() ? "holding" : "unlocked");
    std::fflush(stdout);
    if (instance.holdsLock())
        QThread::sleep(600);
    return 0;
}

class TestSingleInstance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void secondAcquireFailsUntilTheFirstEnds();
    void lockOfAnotherProcess();
    void lockOfAKilledInstanceIsTakenOver();
    void leftoverLockIsTakenOver_data();
    void leftoverLockIsTakenOver();
    void startsWithoutALockWhenNoneCanBeMade_data();
    void startsWithoutALockWhenNoneCanBeMade();
    void leavesAloneWhatIsNotItsOwnPlainFile_data();
    void leavesAloneWhatIsNotItsOwnPlainFile();
    void simultaneousStartsLetExactlyOneIn_data();
    void simultaneousStartsLetExactlyOneIn();
    void programsStartedByTheInstanceDoNotKeepItsLock();
    void lockIsPerUserWithoutARuntimeFolder_data();
    void lockIsPerUserWithoutARuntimeFolder();

private:
    QProcess *startChild(const QString &path, bool waitForGo = false, bool startBrowser = false);
    static QByteArray nextLine(QProcess *child);
    QTemporaryDir m_dir;
};

QProcess *TestSingleInstance::startChild(const QString &path, bool waitForGo, bool startBrowser)
{
    auto *child = new QProcess(this);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"KORVELAN_HOLD_LOCK"_s, path);
    if (waitForGo)
        environment.insert(u"KORVELAN_WAIT_FOR_GO"_s, u"1"_s);
    if (startBrowser)
        environment.insert(u"KORVELAN_START_BROWSER"_s, u"1"_s);
    child->setProcessEnvironment(environment);
    child->start(QCoreApplication::applicationFilePath(), {});
    return child;
}

QByteArray TestSingleInstance::nextLine(QProcess *child)
{
    while (!child->canReadLine())
        if (!child->waitForReadyRead(20000))
            return "<nothing>";
    return child->readLine().trimmed();
}

void TestSingleInstance::secondAcquireFailsUntilTheFirstEnds()
{
    const QString path = m_dir.filePath(u"in-process.lock"_s);
    {
        SingleInstance first(path);
        QVERIFY(first.acquire());
        SingleInstance second(path);
        QVERIFY(!second.acquire());
    }
    SingleInstance third(path);
    QVERIFY(third.acquire());
}

void TestSingleInstance::lockOfAnotherProcess()
{
    const QString path = m_dir.filePath(u"other-process.lock"_s);
    QProcess *holder = startChild(path);
    QCOMPARE(nextLine(holder), "holding");
    SingleInstance second(path);
    QVERIFY(!second.acquire());
    holder->kill();
    holder->waitForFinished();
}

void TestSingleInstance::lockOfAKilledInstanceIsTakenOver()
{
    const QString path = m_dir.filePath(u"killed.lock"_s);
    QProcess *holder = startChild(path);
    QCOMPARE(nextLine(holder), "holding");
    holder->kill();
    QVERIFY(holder->waitForFinished());
    QVERIFY(QFile::exists(path)); // the killed instance could not clean up
    SingleInstance next(path);
    QVERIFY(next.acquire());
}

// What a full disk or a crash at the wrong moment leaves behind, with no instance running.
void TestSingleInstance::leftoverLockIsTakenOver_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("garbage") << QByteArray("\xff\xfe\x00garbage\n\n\n", 12);
    QTest::newRow("owner gone") << QByteArray("2147483000\nkorvelan\nnowhere\n");
}

void TestSingleInstance::leftoverLockIsTakenOver()
{
    QFETCH(QByteArray, content);
    const QString path = m_dir.filePath(u"leftover-%1.lock"_s.arg(QString::fromLatin1(QTest::currentDataTag())));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    SingleInstance instance(path);
    QVERIFY(instance.acquire());
    QVERIFY(instance.holdsLock());
    SingleInstance second(path);
    QVERIFY(!second.acquire()); // and the lock taken over still refuses a second start
}

void TestSingleInstance::startsWithoutALockWhenNoneCanBeMade_data()
{
    QTest::addColumn<QString>("lockPath");
    QTest::newRow("missing folder") << m_dir.filePath(u"missing/korvelan.lock"_s);
    QTest::newRow("a file in place of the folder") << m_dir.filePath(u"plain-file/korvelan.lock"_s);
}

void TestSingleInstance::startsWithoutALockWhenNoneCanBeMade()
{
    QFETCH(QString, lockPath);
    QFile plain(m_dir.filePath(u"plain-file"_s));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();

    QProcess *child = startChild(lockPath);
    QCOMPARE(nextLine(child), "unlocked");
    QVERIFY(child->waitForFinished());
    const QString error = QString::fromUtf8(child->readAllStandardError());
    QVERIFY2(error.contains(u"Les KORVELAN : le verrou « %1 » ne peut pas être créé"_s.arg(lockPath)),
             qPrintable(error));
}

// What someone (the user by mistake, or another user at the shared fallback path) may leave at the
// lock path: the program must neither wait on it for ever nor write into it, and must start without
// the lock, saying why in French.
void TestSingleInstance::leavesAloneWhatIsNotItsOwnPlainFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("FIFO") << u"fifo 0600"_s << u"le chemin n'est pas un fichier ordinaire"_s;
    QTest::newRow("FIFO readable only by its owner") << u"fifo 0400"_s << u"le chemin n'est pas un fichier ordinaire"_s;
    QTest::newRow("socket") << u"socket"_s << u"le chemin n'est pas un fichier ordinaire"_s;
    QTest::newRow("hard link to another file") << u"hard link"_s << u"le fichier a un autre nom (lien physique)"_s;
    QTest::newRow("symbolic link to another file") << u"symbolic link"_s << u"le chemin est un lien symbolique"_s;
    QTest::newRow("folder") << u"folder"_s << u"le chemin est un dossier"_s;
}

void TestSingleInstance::leavesAloneWhatIsNotItsOwnPlainFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"korvelan.lock"_s);
    const QByteArray encoded = QFile::encodeName(path);
    const QString other = folder.filePath(u"precious.txt"_s);
    const QByteArray precious = "a file the user cares about\n";
    QFile otherFile(other);
    QVERIFY(otherFile.open(QIODevice::WriteOnly));
    otherFile.write(precious);
    otherFile.close();
    int listening = -1;
    if (kind.startsWith(u"fifo")) {
        QCOMPARE(::mkfifo(encoded.constData(), kind.endsWith(u"0400") ? 0400 : 0600), 0);
    } else if (kind == u"socket") {
        listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        QVERIFY(size_t(encoded.size()) < sizeof address.sun_path);
        std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
        QCOMPARE(::bind(listening, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    } else if (kind == u"hard link") {
        QCOMPARE(::link(QFile::encodeName(other).constData(), encoded.constData()), 0);
    } else if (kind == u"symbolic link") {
        QVERIFY(QFile::link(other, path));
    } else {
        QVERIFY(QDir().mkdir(path));
    }

    QProcess *child = startChild(path);
    const QByteArray outcome = nextLine(child);
    child->kill();
    child->waitForFinished();
    if (listening >= 0)
        ::close(listening);
    QCOMPARE(outcome, "unlocked");
    const QString error = QString::fromUtf8(child->readAllStandardError());
    QVERIFY2(error.contains(u"Les KORVELAN : le verrou « %1 » ne peut pas être créé (%2)"_s.arg(path, reason)),
             qPrintable(error));
    QVERIFY(otherFile.open(QIODevice::ReadOnly));
    QCOMPARE(otherFile.readAll(), precious);
}

void TestSingleInstance::simultaneousStartsLetExactlyOneIn_data()
{
    QTest::addColumn<QByteArray>("leftover");
    QTest::newRow("no lock file") << QByteArray();
    QTest::newRow("garbage lock file") << QByteArray("garbage");
}

void TestSingleInstance::simultaneousStartsLetExactlyOneIn()
{
    QFETCH(QByteArray, leftover);
    const QString path = m_dir.filePath(u"race-%1.lock"_s.arg(QString::fromLatin1(QTest::currentDataTag())));
    if (!leftover.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(leftover);
    }
    std::vector<std::unique_ptr<QProcess>> children;
    for (int i = 0; i < 8; ++i) {
        children.emplace_back(startChild(path, true));
        children.back()->setParent(nullptr);
    }
    for (const auto &child : children)
        QCOMPARE(nextLine(child.get()), "ready");
    for (const auto &child : children)
        child->write("go\n");
    QStringList outcomes;
    for (const auto &child : children)
        outcomes << QString::fromLatin1(nextLine(child.get()));
    for (const auto &child : children) {
        child->kill();
        child->waitForFinished();
    }
    outcomes.sort();
    QCOMPARE(outcomes, QStringList{u"holding"_s} + QStringList(7, u"refused"_s));
}

// A web browser opened by the program must not inherit its lock: were the program killed, the
// browser would go on holding the lock and every new start would be refused.
void TestSingleInstance::programsStartedByTheInstanceDoNotKeepItsLock()
{
    const QString path = m_dir.filePath(u"inherited.lock"_s);
    QProcess *killed = startChild(path, false, true);
    const QByteArray browser = nextLine(killed);
    QVERIFY2(browser.startsWith("browser "), browser.constData());
    QCOMPARE(nextLine(killed), "holding");
    killed->kill();
    killed->waitForFinished();

    QProcess *next = startChild(path);
    const QByteArray outcome = nextLine(next);
    next->kill();
    next->waitForFinished();
    ::kill(static_cast<pid_t>(browser.mid(8).toLongLong()), SIGKILL);
    QCOMPARE(outcome, "holding");
}

// Two users of one machine never meet each other's lock: without a runtime folder, the lock is not
// a file of the shared temporary folder that every user would open.
void TestSingleInstance::lockIsPerUserWithoutARuntimeFolder_data()
{
    QTest::addColumn<QString>("runtime");
    QTest::addColumn<bool>("brokenRuntimeFallback");
    QTest::newRow("runtime folder") << u"run"_s << false;
    QTest::newRow("no runtime folder") << QString() << false;
    QTest::newRow("runtime folder gone") << u"gone"_s << false;
    // Someone made the runtime folder that a toolkit would make in the temporary folder, badly.
    QTest::newRow("no runtime folder, fallback taken") << QString() << true;
}

void TestSingleInstance::lockIsPerUserWithoutARuntimeFolder()
{
    QFETCH(QString, runtime);
    QFETCH(bool, brokenRuntimeFallback);
    QTemporaryDir root;
    // A temporary folder shared by every user, as /tmp is.
    const QString shared = root.filePath(u"tmp"_s);
    QVERIFY(QDir().mkpath(shared));
    QCOMPARE(::chmod(QFile::encodeName(shared).constData(), 01777), 0);
    if (brokenRuntimeFallback) {
        const passwd *user = ::getpwuid(::geteuid());
        if (!user)
            QSKIP("this user has no name");
        const QString fallback = shared + u"/runtime-"_s + QString::fromLocal8Bit(user->pw_name);
        QVERIFY(QDir().mkpath(fallback));
        QCOMPARE(::chmod(QFile::encodeName(fallback).constData(), 0755), 0);
    }
    QVERIFY(QDir().mkpath(root.filePath(u"run"_s)));
    QCOMPARE(::chmod(QFile::encodeName(root.filePath(u"run"_s)).constData(), 0700), 0);
    const auto setVariable = [](const char *name, const std::optional<QByteArray> &value) {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    };
    const auto saved = [](const char *name) {
        return qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    };
    const std::optional<QByteArray> savedTmp = saved("TMPDIR"), savedRuntime = saved("XDG_RUNTIME_DIR");
    setVariable("TMPDIR", QFile::encodeName(shared));
    setVariable("XDG_RUNTIME_DIR",
                runtime.isEmpty() ? std::nullopt : std::optional(QFile::encodeName(root.filePath(runtime))));
    const QString path = SingleInstance::defaultLockPath();
    setVariable("TMPDIR", savedTmp);
    setVariable("XDG_RUNTIME_DIR", savedRuntime);

    if (runtime == u"run") {
        QCOMPARE(path, root.filePath(u"run/korvelan.lock"_s));
        return;
    }
    const QFileInfo lock(path);
    const QFileInfo folder(lock.absolutePath());
    const bool privateFolder =
        folder.ownerId() == ::geteuid() && !(folder.permissions() & (QFile::WriteGroup | QFile::WriteOther));
    QVERIFY2(privateFolder || lock.fileName().contains(QString::number(::geteuid())), qPrintable(path));
}

int main(int argc, char *argv[])
{
    const QString lockPath = qEnvironmentVariable("KORVELAN_HOLD_LOCK");
    if (!lockPath.isEmpty())
        return startInChild(lockPath);
    QCoreApplication app(argc, argv);
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
