#include "app/NetworkState.h"
#include "app/Startup.h"
#include "base/AppState.h"
#include "script/ScriptRunner.h"
#include "webview/CWebBrowser.h"

#include "tests/script/TestPictures.h"
#include "tests/support/WindowDrop.h"
#include "tests/webview/WebTestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QWebEngineView>
#include <QtTest>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using TagValues = QMap<QString, QString>;
Q_DECLARE_METATYPE(TagValues)

// Pictures end to end in the real window: real JPEG files, the real scripts with ExifTool,
// the real map page. Only the network answer is the test's own.
class TestPictureRoad : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;
    QTemporaryDir m_temp; // the scripts' temporary files
    QTemporaryDir m_pictures;
    std::unique_ptr<QWidget> m_main;

    template <typename T> T* Find(const char* name) {
        return m_main->findChild<T*>(QString::fromLatin1(name));
    }
    QString Info() { return g_app.wndInfo->toPlainText(); }
    QVariant Map(const QString& script) { return EvalJs(g_app.pMapView->View()->page(), script); }

    // A JPEG with the given tags, set through ExifTool's ordinary conversion ("" deletes);
    // tags ending in "#" are set raw, as they are stored.
    QString MakePicture(const QString& name, const TagValues& tags) {
        const QString path = m_pictures.filePath(name);
        if (!TestPictures::MakeJpeg(path))
            return QString();
        static const char* script = R"(
use Image::ExifTool;
my $file = shift;
my $et = Image::ExifTool->new;
while (@ARGV) {
    my ($tag, $value) = splice(@ARGV, 0, 2);
    my @raw = $tag =~ s/#$// ? (Type => 'Raw') : ();
    my ($n, $e) = $et->SetNewValue($tag, $value eq '' ? undef : $value, @raw);
    die "$tag: $e\n" if $e;
}
$et->WriteInfo($file, "$file.new") or die $et->GetValue('Error'), "\n";
rename "$file.new", $file or die "$!\n";
)";
        QStringList args{"-e", script, path};
        for (auto it = tags.begin(); it != tags.end(); ++it)
            args << it.key() << it.value();
        const TestPictures::PerlResult result = TestPictures::RunPerl(args);
        if (result.exitCode != 0) {
            qWarning("could not tag %s: %s", qPrintable(path), result.err.constData());
            return QString();
        }
        return path;
    }

    static TagValues Sydney() {
        return {{"DateTimeOriginal", "2009:05:01 10:20:30"},
                {"GPSLatitudeRef", "S"},
                {"GPSLatitude", "33.8568"},
                {"GPSLongitudeRef", "E"},
                {"GPSLongitude", "151.2153"},
                {"GPSAltitude", "50"}};
    }

    // The preview's own web view lies under the centre of the image window.
    bool OfferDrop(const QStringList& files) {
        const QPoint at = g_app.wndImage->mapTo(m_main.get(), g_app.wndImage->rect().center());
        return ::OfferDrop(m_main.get(), at, files);
    }

    bool OfferDropUrls(const QList<QUrl>& urls) {
        const QPoint at = g_app.wndImage->mapTo(m_main.get(), g_app.wndImage->rect().center());
        return ::OfferDropUrls(m_main.get(), at, urls);
    }

    // Drops a picture and waits until the report of its read has been shown.
    bool Read(const QString& path) {
        g_app.wndInfo->setPlainText(QStringLiteral("waiting"));
        return OfferDrop({path}) &&
               WaitUntil([this] { return Info() != "waiting" && !g_app.pRunner->IsBusy(); });
    }

    bool Record() {
        g_app.wndInfo->setPlainText(QStringLiteral("waiting"));
        Find<QPushButton>("record")->click();
        return WaitUntil([this] { return Info() != "waiting" && !g_app.pRunner->IsBusy(); });
    }

    void TriggerOpenPicture() {
        for (QAction* action : m_main->findChildren<QAction*>()) {
            if (action->text() == "&Open Picture")
                action->trigger();
        }
    }

    void SetFields(const QString& latitude, const QString& longitude) {
        g_app.wndLatitude->setText(latitude);
        g_app.wndLongitude->setText(longitude);
    }

    // Every script file left anywhere in the temporary folder, the private one included.
    QStringList TempScripts() {
        QStringList left;
        QDirIterator it(m_temp.path(), {"K*.tmp"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            left << it.next();
        return left;
    }

    QDateTime Pickers() {
        return QDateTime(Find<QDateEdit>("date")->date(), Find<QTimeEdit>("time")->time());
    }

private slots:
    void initTestCase() {
        QVERIFY(m_config.isValid() && m_temp.isValid() && m_pictures.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        qputenv("TMPDIR", m_temp.path().toUtf8());
        SetNetworkStateProvider([] { return true; });
        m_main = StartKartavo();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        QVERIFY(WaitForJs(g_app.pMapView->View()->page(), "typeof map", "object"));
    }

    void cleanupTestCase() {
        if (m_main)
            StopKartavo(std::move(m_main));
    }

    void recordWithoutPictureDoesNothing() {
        TraceCapture trace;
        const QString before = Info();
        Find<QPushButton>("record")->click();
        Settle(300);
        QCOMPARE(Info(), before);
        QVERIFY(trace.StartingWith("# WriteGPS").isEmpty());
        QVERIFY(TempScripts().isEmpty());
    }

    void readsPositionDateAndAltitude() {
        const QString path = MakePicture("sydney harbour.jpg", Sydney());
        QVERIFY(!path.isEmpty());
        Find<QComboBox>("zoom")->setCurrentIndex(11);
        QVERIFY(Read(path));

        QCOMPARE(Info(), QStringLiteral("GPS data : sydney harbour.jpg\nAltitude: 50 meter"));
        QCOMPARE(Pickers(), QDateTime(QDate(2009, 5, 1), QTime(10, 20, 30)));
        QCOMPARE(g_app.strAltitude.value_or("absent"), std::string("50"));
        QCOMPARE(QString::fromUtf8(g_app.szPicture), path);
        // The map moves there, and its title then fills the fields in its own form.
        QVERIFY(WaitUntil(
            [] { return g_app.pMapView->m_strTitle.value_or("") == "(-33.8568, 151.2153)"; }));
        QCOMPARE(Map("map.getZoom()").toInt(), 12);
        QVERIFY(WaitUntil([] { return g_app.wndLatitude->text() == "-33.8568"; }));
        QCOMPARE(g_app.wndLongitude->text(), QStringLiteral("151.2153"));
        // The preview shows the picture, and the read script's file is gone.
        QVERIFY(WaitForJs(g_app.pPhotoView->View()->page(),
                          "document.getElementById('photo').naturalWidth", 64));
        QCOMPARE(TempScripts(), QStringList());
    }

    void report_data() {
        QTest::addColumn<TagValues>("tags");
        QTest::addColumn<int>("zoomIndex");
        QTest::addColumn<QString>("info");
        QTest::addColumn<QDateTime>("pickers");
        QTest::addColumn<QString>("latitude"); // empty: the fields keep what they had
        QTest::addColumn<QString>("longitude");
        QTest::addColumn<QString>("altitude"); // strAltitude afterwards
        QTest::addColumn<QString>("title");    // where the map goes

        const QDateTime may(QDate(2009, 5, 1), QTime(10, 20, 30));
        const QString home = "(37.562159, 126.97335)";
        const QString noGps = "This picture has no GPS information\n";

        TagValues sizeOnly{{"DateTimeOriginal", "2009:05:01 10:20:30"},
                           {"ExifImageWidth", "800"},
                           {"ExifImageHeight", "600"}};
        QTest::newRow("width and height, no GPS: default place at zoom 12")
            << sizeOnly << 4 << noGps << may << ""
            << ""
            << "keep" << home;

        TagValues noDate = Sydney();
        noDate["DateTimeOriginal"] = "";
        noDate["GPSAltitude"] = "687.5";
        QTest::newRow("no date, another altitude")
            << noDate << 11 << "GPS data : picture.jpg\nAltitude: 687.5 meter"
            << QDateTime(QDate(2010, 1, 1), QTime(0, 0)) << "-33.8568"
            << "151.2153"
            << "687.5"
            << "(-33.8568, 151.2153)";

        TagValues dateOnly = Sydney();
        dateOnly["DateTimeOriginal#"] = "2009:05:01";
        dateOnly.remove("DateTimeOriginal");
        QTest::newRow("date without time")
            << dateOnly << 11 << "GPS data : picture.jpg\nAltitude: 50 meter"
            << QDateTime(QDate(2009, 5, 1), QTime(0, 0)) << "-33.8568"
            << "151.2153"
            << "50"
            << "(-33.8568, 151.2153)";

        TagValues oddRefs = Sydney();
        oddRefs.remove("GPSLatitudeRef");
        oddRefs.remove("GPSLongitudeRef");
        oddRefs["GPSLatitudeRef#"] = "X";
        oddRefs["GPSLongitudeRef#"] = "e";
        QTest::newRow("references other than N and E, zoom from the list")
            << oddRefs << 6 << "GPS data : picture.jpg\nAltitude: 50 meter" << may << "-33.8568"
            << "-151.2153"
            << "50"
            << "(-33.8568, -151.2153)";

        TagValues noAltitude = Sydney();
        noAltitude["GPSAltitude"] = "";
        noAltitude["ExifImageWidth"] = "800";
        QTest::newRow("position without altitude")
            << noAltitude << 11 << "GPS data : picture.jpg\nAltitude: unknown" << may << "-33.8568"
            << "151.2153"
            << "keep"
            << "(-33.8568, 151.2153)";
    }

    void report() {
        QFETCH(TagValues, tags);
        QFETCH(int, zoomIndex);
        QFETCH(QString, latitude);
        QFETCH(QString, longitude);
        QFETCH(QString, altitude);
        QFETCH(QString, title);

        QFile::remove(m_pictures.filePath("picture.jpg"));
        const QString path = MakePicture("picture.jpg", tags);
        QVERIFY(!path.isEmpty());
        // Start from a place and fields of our own, so that every change is seen.
        QVERIFY(g_app.pMapView->ExecScript("SetCenter(10.5,20.25,3)") == 0);
        QVERIFY(WaitUntil([] { return g_app.pMapView->m_strTitle == "(10.5, 20.25)"; }));
        SetFields("1.5", "2.5");
        g_app.strAltitude = std::string("123");
        Find<QComboBox>("zoom")->setCurrentIndex(zoomIndex);

        QVERIFY(Read(path));
        QTEST(Info(), "info");
        QTEST(Pickers(), "pickers");
        QCOMPARE(QString::fromStdString(g_app.strAltitude.value_or("absent")),
                 altitude == "keep" ? QStringLiteral("123") : altitude);
        QVERIFY2(WaitUntil([&] { return g_app.pMapView->m_strTitle == title; }),
                 qPrintable(g_app.pMapView->m_strTitle.value_or("none")));
        const int expectedZoom = latitude.isEmpty() ? 12 : zoomIndex + 1;
        QVERIFY(WaitUntil([&] { return Map("map.getZoom()").toInt() == expectedZoom; }));
        // The fields follow the map title, which is where the picture put the map.
        const QString shownLat = latitude.isEmpty() ? "37.562159" : latitude;
        const QString shownLng = latitude.isEmpty() ? "126.97335" : longitude;
        QVERIFY(WaitUntil([&] { return g_app.wndLatitude->text() == shownLat; }));
        QCOMPARE(g_app.wndLongitude->text(), shownLng);
        QCOMPARE(TempScripts(), QStringList());
    }

    void unreadableFileSaysSo() {
        const QString path = m_pictures.filePath("notes.jpg");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("just some text\n");
        file.close();
        QVERIFY(Read(path));
        QVERIFY2(Info().startsWith("This picture could not be read\n"), qPrintable(Info()));
        QCOMPARE(TempScripts(), QStringList());
    }

    void unusableTemporaryFolderSaysSo() {
        const QString path = MakePicture("elsewhere.jpg", Sydney());
        qputenv("TMPDIR", m_temp.filePath("no such folder").toUtf8());
        g_app.wndInfo->setPlainText(QStringLiteral("waiting"));
        const bool dropped = OfferDrop({path});
        qputenv("TMPDIR", m_temp.path().toUtf8());
        QVERIFY(dropped);
        QCOMPARE(Info(), QStringLiteral("Could not create a temporary file\n"
                                        "Check the temporary folder"));
        QVERIFY(!g_app.pRunner->IsBusy());
    }

    void recordWritesTheFieldsExactly() {
        const QString path = MakePicture("record.jpg", Sydney());
        QVERIFY(Read(path));
        QCOMPARE(g_app.strAltitude.value_or(""), std::string("50"));
        QVERIFY(WaitUntil([] { return g_app.wndLatitude->text() == "-33.8568"; }));

        TraceCapture trace;
        SetFields("37.562159", "126.97335");
        QVERIFY(Record());
        QCOMPARE(Info(), QStringLiteral("GPS information recorded"));
        QCOMPARE(trace.StartingWith("# WriteGPS"),
                 QStringList("# WriteGPS: " + path + " N 37/33/43.7724 E 126/58/24.0600 50"));

        const TagValues stored = TestPictures::ReadTags(
            path, {"GPS:GPSLatitudeRef", "GPS:GPSLatitude", "GPS:GPSLongitudeRef",
                   "GPS:GPSLongitude", "GPS:GPSAltitude", "ExifIFD:DateTimeOriginal"});
        QCOMPARE(stored["GPS:GPSLatitudeRef"], QStringLiteral("N"));
        QCOMPARE(stored["GPS:GPSLatitude"], QStringLiteral("37/1 33/1 4377240/100000"));
        QCOMPARE(stored["GPS:GPSLongitudeRef"], QStringLiteral("E"));
        QCOMPARE(stored["GPS:GPSLongitude"], QStringLiteral("126/1 58/1 2406000/100000"));
        QCOMPARE(stored["GPS:GPSAltitude"], QStringLiteral("500000/10000"));
        QCOMPARE(stored["ExifIFD:DateTimeOriginal"], QStringLiteral("2009:05:01 10:20:30"));
        QCOMPARE(TempScripts(), QStringList());

        // South-west with the altitude of the last picture read.
        SetFields("-40.7128", "-74.0060");
        QVERIFY(Record());
        QCOMPARE(Info(), QStringLiteral("GPS information recorded"));
        const TagValues west =
            TestPictures::ReadTags(path, {"GPS:GPSLatitudeRef", "GPS:GPSLatitude",
                                          "GPS:GPSLongitudeRef", "GPS:GPSLongitude"});
        QCOMPARE(west["GPS:GPSLatitudeRef"], QStringLiteral("S"));
        QCOMPARE(west["GPS:GPSLatitude"], QStringLiteral("40/1 42/1 4608000/100000"));
        QCOMPARE(west["GPS:GPSLongitudeRef"], QStringLiteral("W"));
        QCOMPARE(west["GPS:GPSLongitude"], QStringLiteral("74/1 0/1 2160000/100000"));
    }

    void unusableFieldsLeaveThePictureAlone_data() {
        QTest::addColumn<QString>("latitude");
        QTest::addColumn<QString>("longitude");
        QTest::addColumn<QString>("problem");
        QTest::newRow("empty") << ""
                               << "126.97335"
                               << "Latitude is empty";
        QTest::newRow("decimal comma") << "37,5"
                                       << "126.97335"
                                       << "Latitude is not a number";
        QTest::newRow("trailing text") << "37.5"
                                       << "12abc"
                                       << "Longitude is not a number";
        QTest::newRow("latitude beyond 90") << "95"
                                            << "126.97335"
                                            << "Latitude must be between -90 and 90";
        QTest::newRow("longitude beyond 180") << "37.5"
                                              << "-180.5"
                                              << "Longitude must be between -180 and 180";
    }

    void unusableFieldsLeaveThePictureAlone() {
        QFETCH(QString, latitude);
        QFETCH(QString, longitude);
        QFETCH(QString, problem);
        const QString path = m_pictures.filePath("record.jpg");
        QVERIFY(QString::fromUtf8(g_app.szPicture) == path);
        const QByteArray before = TestPictures::FileBytes(path);
        SetFields(latitude, longitude);
        Find<QPushButton>("record")->click();
        QCOMPARE(Info(), "GPS information not recorded\n" + problem);
        Settle(300);
        QCOMPARE(TestPictures::FileBytes(path), before);
        QVERIFY(!g_app.pRunner->IsBusy());
    }

    void failedWriteShowsFailure() {
        const QString path = MakePicture("vanishing.jpg", Sydney());
        QVERIFY(Read(path));
        SetFields("37.5", "127");
        QVERIFY(QFile::remove(path)); // nothing left to write into
        QVERIFY(Record());
        QVERIFY2(Info().startsWith("GPS information not recorded\n"), qPrintable(Info()));
        QVERIFY(Info().size() > int(strlen("GPS information not recorded\n")));
        QVERIFY(!QFile::exists(path));
    }

    void readOnlyFolderShowsFailure() {
        const QString folder = m_pictures.filePath("locked");
        QVERIFY(QDir().mkpath(folder));
        const QString path = MakePicture("locked/picture.jpg", Sydney());
        QVERIFY(Read(path));
        const QByteArray before = TestPictures::FileBytes(path);
        // Root ignores permissions; an immutable folder stops root too.
        QProcess lock;
        if (geteuid() == 0) {
            lock.start("chattr", {"+i", folder});
            if (!lock.waitForFinished() || lock.exitCode() != 0)
                QSKIP("cannot make a folder read-only for root here");
        } else {
            QVERIFY(chmod(folder.toUtf8().constData(), 0555) == 0);
        }
        SetFields("37.5", "127");
        const bool recorded = Record();
        if (geteuid() == 0)
            QProcess::execute("chattr", {"-i", folder});
        else
            chmod(folder.toUtf8().constData(), 0755);
        QVERIFY(recorded);
        QVERIFY2(Info().startsWith("GPS information not recorded\n"), qPrintable(Info()));
        QCOMPARE(TestPictures::FileBytes(path), before);
    }

    void dropTakesTheFirstOfSeveral() {
        const QString first = MakePicture("first.jpg", Sydney());
        const QString second = MakePicture("second.jpg", {});
        g_app.wndInfo->setPlainText(QStringLiteral("waiting"));
        QVERIFY(OfferDrop({first, second, m_pictures.filePath("third.jpg")}));
        QVERIFY(WaitUntil([this] { return Info() != "waiting" && !g_app.pRunner->IsBusy(); }));
        QCOMPARE(QString::fromUtf8(g_app.szPicture), first);
        QCOMPARE(Info(), QStringLiteral("GPS data : first.jpg\nAltitude: 50 meter"));
    }

    // Only regular files reach the preview and the scripts: a named pipe would block its
    // reader forever. A refused picture is no longer the one Record writes into.
    void onlyRegularFilesAreRead_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("named pipe") << "fifo"
                                    << "is a named pipe";
        QTest::newRow("folder") << "folder"
                                << "is a folder";
        QTest::newRow("missing") << "missing"
                                 << "No such file or directory";
    }

    void onlyRegularFilesAreRead() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString current = MakePicture("current.jpg", Sydney());
        QVERIFY(Read(current));
        const QByteArray before = TestPictures::FileBytes(current);

        const QString path = m_pictures.filePath("odd-" + kind + ".jpg");
        if (kind == "fifo")
            QCOMPARE(mkfifo(path.toUtf8().constData(), 0600), 0);
        else if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        TraceCapture trace;
        g_app.wndInfo->setPlainText(QStringLiteral("waiting"));
        QVERIFY(OfferDrop({path}));
        QVERIFY2(Info().startsWith("This picture could not be read\n") && Info().contains(reason),
                 qPrintable(Info()));
        QCOMPARE(QByteArray(g_app.szPicture), QByteArray());
        QVERIFY(!g_app.pRunner->IsBusy());

        SetFields("1.5", "2.5");
        Find<QPushButton>("record")->click();
        Settle(300);
        QVERIFY(trace.StartingWith("# WriteGPS").isEmpty());
        QCOMPARE(TestPictures::FileBytes(current), before);
        // Later pictures still show.
        QVERIFY(Read(current));
        QCOMPARE(Info(), QStringLiteral("GPS data : current.jpg\nAltitude: 50 meter"));
    }

    void tooLongPathIsNoLongerCurrent() {
        const QString current = MakePicture("before-long.jpg", Sydney());
        QVERIFY(Read(current));
        QVERIFY(OfferDrop({m_pictures.filePath(QString(600, QLatin1Char('x')) + ".jpg")}));
        QCOMPARE(Info(), QStringLiteral("This picture's path is too long\n"));
        QCOMPARE(QByteArray(g_app.szPicture), QByteArray());
    }

    // Two quick drops: every report names the picture its own run read.
    void eachReportNamesItsOwnPicture() {
        TagValues high = Sydney();
        high["GPSAltitude"] = "900";
        const QString first = MakePicture("first-quick.jpg", high);
        const QString second = MakePicture("second-quick.jpg", Sydney());
        QStringList shown;
        auto connection = connect(g_app.wndInfo, &QPlainTextEdit::textChanged, this,
                                  [&shown] { shown << g_app.wndInfo->toPlainText(); });
        QVERIFY(OfferDrop({first}));
        QVERIFY(OfferDrop({second}));
        QVERIFY(WaitUntil([&] { return shown.size() >= 2 && !g_app.pRunner->IsBusy(); }));
        disconnect(connection);
        QCOMPARE(shown, QStringList({"GPS data : first-quick.jpg\nAltitude: 900 meter",
                                     "GPS data : second-quick.jpg\nAltitude: 50 meter"}));
    }

    // A name that is not UTF-8 keeps its bytes from the drop to the scripts, and shows readably.
    void nameThatIsNotUtf8() {
        const QByteArray name = QFile::encodeName(m_pictures.path()) + "/\xff\xfe bad.jpg";
        const QString made = MakePicture("made-for-bytes.jpg", Sydney());
        QVERIFY(::rename(QFile::encodeName(made).constData(), name.constData()) == 0);
        const QUrl url =
            QUrl::fromEncoded("file://" + name.toPercentEncoding("/"), QUrl::StrictMode);
        g_app.wndInfo->setPlainText(QStringLiteral("waiting"));
        QVERIFY(OfferDropUrls({url}));
        QVERIFY(WaitUntil([this] { return Info() != "waiting" && !g_app.pRunner->IsBusy(); }));
        QCOMPARE(QByteArray(g_app.szPicture), name);
        QCOMPARE(Info(), QStringLiteral("GPS data : \\xff\\xfe bad.jpg\nAltitude: 50 meter"));

        SetFields("10.5", "20.25");
        QVERIFY(Record());
        QCOMPARE(Info(), QStringLiteral("GPS information recorded"));
        const QString back = m_pictures.filePath("back-from-bytes.jpg");
        QVERIFY(::rename(name.constData(), QFile::encodeName(back).constData()) == 0);
        QCOMPARE(TestPictures::ReadTags(back, {"GPS:GPSLatitude"}).value("GPS:GPSLatitude"),
                 QStringLiteral("10/1 30/1 0/100000"));
    }

    void openPictureDialog() {
        const QString upper = MakePicture("CAMERA.JPG", Sydney());
        MakePicture("other.jpeg", {});
        QFile text(m_pictures.filePath("readme.txt"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.close();

        // Cancelled: nothing changes.
        const QByteArray picture = g_app.szPicture;
        const QString info = Info();
        QStringList filters;
        QStringList listed;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            filters = dialog->nameFilters();
            dialog->setDirectory(m_pictures.path());
            auto* view = dialog->findChild<QListView*>("listView");
            WaitUntil([&] { return view && view->model()->rowCount(view->rootIndex()) > 0; });
            Settle(200);
            for (int row = 0; view && row < view->model()->rowCount(view->rootIndex()); ++row)
                listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
            dialog->reject();
        });
        TriggerOpenPicture();
        QCOMPARE(QByteArray(g_app.szPicture), picture);
        QCOMPARE(Info(), info);
        QCOMPARE(filters.size(), 2);
        QVERIFY(filters[0].startsWith("Images(*.jpg,*.bmp)"));
        QVERIFY(filters[1].startsWith("All(*.*)"));
        QVERIFY2(listed.contains("CAMERA.JPG") && listed.contains("other.jpeg"),
                 qPrintable(listed.join(',')));
        QVERIFY2(!listed.contains("readme.txt"), qPrintable(listed.join(',')));

        // Chosen: read like a drop.
        QTimer::singleShot(0, this, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                dialog->selectFile(upper);
                QMetaObject::invokeMethod(dialog, "accept");
            }
        });
        g_app.wndInfo->setPlainText(QStringLiteral("waiting"));
        TriggerOpenPicture();
        QVERIFY(WaitUntil([this] { return Info() != "waiting" && !g_app.pRunner->IsBusy(); }));
        QCOMPARE(QString::fromUtf8(g_app.szPicture), upper);
        QCOMPARE(Info(), QStringLiteral("GPS data : CAMERA.JPG\nAltitude: 50 meter"));
    }
};

QTEST_MAIN(TestPictureRoad)
#include "test_pictures.moc"
