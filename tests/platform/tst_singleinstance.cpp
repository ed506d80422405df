#include "singleinstance.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace korvelan;
using namespace Qt::StringLiterals;

// Run with KORVELAN_HOLD_LOCK=<path>, this test program holds the lock until it is killed.
static int holdLockForever(const QString &path)
{
    SingleInstance instance(path);
    if (!instance.acquire())
        return 1;
    std::puts("holding");
    std::fflush(stdout);
    QThread::sleep(600);
    return 0;
}

class TestSingleInstance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void secondAcquireFailsUntilTheFirstEnds();
    void lockOfAnotherProcess();
    void lockOfAKilledInstanceIsTakenOver();

private:
    QProcess *startHolder(const QString &path);
    QTemporaryDir m_dir;
};

QProcess *TestSingleInstance::startHolder(const QString &path)
{
    auto *holder = new QProcess(this);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"KORVELAN_HOLD_LOCK"_s, path);
    holder->setProcessEnvironment(environment);
    holder->start(QCoreApplication::applicationFilePath(), {});
    if (!holder->waitForReadyRead(10000))
        return nullptr;
    return holder;
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
    QProcess *holder = startHolder(path);
    QVERIFY(holder);
    SingleInstance second(path);
    QVERIFY(!second.acquire());
    holder->terminate();
    holder->waitForFinished();
}

void TestSingleInstance::lockOfAKilledInstanceIsTakenOver()
{
    const QString path = m_dir.filePath(u"killed.lock"_s);
    QProcess *holder = startHolder(path);
    QVERIFY(holder);
    holder->kill();
    QVERIFY(holder->waitForFinished());
    QVERIFY(QFile::exists(path)); // the killed instance could not clean up
    SingleInstance next(path);
    QVERIFY(next.acquire());
}

int main(int argc, char *argv[])
{
    const QString hold = qEnvironmentVariable("KORVELAN_HOLD_LOCK");
    if (!hold.isEmpty())
        return holdLockForever(hold);
    QCoreApplication app(argc, argv);
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
