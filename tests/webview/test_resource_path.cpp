#include "webview/ResourcePath.h"

#include <QFile>
#include <QtTest>

// How res addresses find the program's own pages and images.
class TestResourcePath : public QObject {
    Q_OBJECT

private slots:
    void findsResourcesWithoutRegardToCase_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QByteArray>("mimeType");
        QTest::newRow("map page") << "/map.htm"
                                  << ":/web/map.htm" << QByteArray("text/html");
        QTest::newRow("upper-case page") << "/MAP.HTM"
                                         << ":/web/map.htm" << QByteArray("text/html");
        QTest::newRow("offline page") << "/default.htm"
                                      << ":/web/default.htm" << QByteArray("text/html");
        QTest::newRow("photo page") << "/Photo.Htm"
                                    << ":/web/photo.htm" << QByteArray("text/html");
        QTest::newRow("sample photo") << "/JPGS/PHOTO.JPG"
                                      << ":/web/JPGS/photo.jpg" << QByteArray("image/jpeg");
        QTest::newRow("offline picture") << "/jpgs/default.jpg"
                                         << ":/web/JPGS/default.jpg" << QByteArray("image/jpeg");
        QTest::newRow("crosshair") << "/JPGS/CENTER.GIF"
                                   << ":/web/JPGS/center.gif" << QByteArray("image/gif");
        QTest::newRow("leaflet script")
            << "/leaflet/leaflet.js"
            << ":/web/leaflet/leaflet.js" << QByteArray("application/javascript");
        QTest::newRow("leaflet style") << "/leaflet/leaflet.css"
                                       << ":/web/leaflet/leaflet.css" << QByteArray("text/css");
        QTest::newRow("marker beside the style")
            << "/leaflet/images/marker-icon.png"
            << ":/web/leaflet/images/marker-icon.png" << QByteArray("image/png");
    }

    void findsResourcesWithoutRegardToCase() {
        QFETCH(QString, path);
        QFETCH(QString, resource);
        QFETCH(QByteArray, mimeType);
        QCOMPARE(FindWebResource(path), resource);
        QVERIFY(QFile::exists(resource));
        QCOMPARE(WebResourceMimeType(FindWebResource(path)), mimeType);
    }

    void unknownNamesAreNotFound_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("no such page") << "/nosuch.htm";
        QTest::newRow("no path") << "/";
        QTest::newRow("a folder") << "/JPGS";
        QTest::newRow("image without its type") << "/photo.jpg";
        QTest::newRow("type as a page") << "/JPGS/";
        QTest::newRow("out of the pages") << "/../icons/kartavo-16.png";
        QTest::newRow("up and back") << "/JPGS/../map.htm";
    }

    void unknownNamesAreNotFound() {
        QFETCH(QString, path);
        QCOMPARE(FindWebResource(path), QString());
    }

    void hostIsValidWhateverTheProgramIsCalled_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("host");
        QTest::newRow("plain") << "kartavo"
                               << "kartavo";
        QTest::newRow("blank") << "kar tavo"
                               << "kar-tavo";
        QTest::newRow("hash and percent") << "k#a%rtavo"
                                          << "k-a-rtavo";
        QTest::newRow("not ascii") << QString::fromUtf8("картаво") << "kartavo";
        QTest::newRow("dash at the ends") << "-kar tavo-"
                                          << "kar-tavo";
        QTest::newRow("dots") << ".kartavo..bin."
                              << "kartavo.bin";
    }

    void hostIsValidWhateverTheProgramIsCalled() {
        QFETCH(QString, fileName);
        QFETCH(QString, host);
        QCOMPARE(ProgramHostFor(fileName), host);
        const QUrl address(QStringLiteral("res://%1/map.htm").arg(ProgramHostFor(fileName)));
        QVERIFY2(address.isValid() && !address.host().isEmpty(), qPrintable(address.errorString()));
    }

    void addressNamesTheProgramFile() {
        QCOMPARE(ProgramFileName(), QStringLiteral("test_resource_path"));
        QCOMPARE(ResourceAddress(QStringLiteral("map.htm")),
                 QStringLiteral("res://test_resource_path/map.htm"));
        QVERIFY(IsProgramHost(QStringLiteral("test_resource_path")));
        QVERIFY(IsProgramHost(QStringLiteral("TEST_RESOURCE_PATH")));
        QVERIFY(!IsProgramHost(QStringLiteral("kartavo")));
        QVERIFY(!IsProgramHost(QString()));
    }
};

QTEST_GUILESS_MAIN(TestResourcePath)
#include "test_resource_path.moc"
