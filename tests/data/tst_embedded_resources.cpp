#include "register.h"
#include "resource.h"

#include <QFile>
#include <QTest>

using namespace korvelan;
using namespace Qt::StringLiterals;

// The executable carries the data files exactly as they stand in the source tree.
class TestEmbeddedResources : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void embeddedBytesAreTheDataFiles_data();
    void embeddedBytesAreTheDataFiles();
    void unknownResourcesFail_data();
    void unknownResourcesFail();
};

void TestEmbeddedResources::embeddedBytesAreTheDataFiles_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("file");
    QTest::newRow("database") << kDatabaseResource.type << kDatabaseResource.number << u"korvelan.txt"_s;
    QTest::newRow("keywords") << kKeywordResource.type << kKeywordResource.number << u"motcle.txt"_s;
    QTest::newRow("forced values") << kForcedValuesResource.type << kForcedValuesResource.number
                                   << u"forced-values.tsv"_s;
    QTest::newRow("sources") << kSourcesResource.type << kSourcesResource.number << u"sources.tsv"_s;
}

void TestEmbeddedResources::embeddedBytesAreTheDataFiles()
{
    QFETCH(QString, type);
    QFETCH(int, number);
    QFETCH(QString, file);
    QFile source(QStringLiteral(KORVELAN_RESOURCE_DIR) + u'/' + file);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const std::optional<QByteArray> embedded = readEmbeddedResource({type, number});
    QVERIFY(embedded.has_value());
    QCOMPARE(*embedded, source.readAll());
}

void TestEmbeddedResources::unknownResourcesFail_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("number");
    QTest::newRow("other number") << u"KORVELAN"_s << 102;
    QTest::newRow("other type") << u"MOTCLE"_s << 101;
    QTest::newRow("lower-case type") << u"korvelan"_s << 101;
    QTest::newRow("negative number") << u"KORVELAN"_s << -101;
    QTest::newRow("beyond 16 bits") << u"KORVELAN"_s << 101 + 65536;
    QTest::newRow("empty type") << QString() << 101;
    QTest::newRow("path in the type") << u"KORVELAN/101/.."_s << 101;
}

void TestEmbeddedResources::unknownResourcesFail()
{
    QFETCH(QString, type);
    QFETCH(int, number);
    QCOMPARE(readEmbeddedResource({type, number}), std::nullopt);
}

QTEST_APPLESS_MAIN(TestEmbeddedResources)
#include "tst_embedded_resources.moc"
