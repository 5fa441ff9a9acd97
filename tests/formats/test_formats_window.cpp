#include "app/NetworkState.h"
#include "app/Startup.h"
#include "base/AppState.h"
#include "formats/PictureFormats.h"
#include "script/ScriptRunner.h"
#include "webview/CWebBrowser.h"

#include "tests/formats/FormatPictures.h"
#include "tests/support/WindowDrop.h"
#include "tests/webview/WebTestSupport.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

using namespace FormatPictures;

// The main window's preview of pictures its page cannot show, and the setting's menu.
class TestFormatsWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;
    QTemporaryDir m_cache;
    QTemporaryDir m_dir;
    std::unique_ptr<QWidget> m_main;

    QVariant Photo(const QString& expression) {
        return EvalJs(g_app.pPhotoView->View()->page(),
                      "var photo = document.getElementById('photo'); " + expression);
    }

    bool Drop(const QString& path) {
        const QPoint at = g_app.wndImage->mapTo(m_main.get(), g_app.wndImage->rect().center());
        return OfferDrop(m_main.get(), at, {path});
    }

    // The preview shows a picture of that width, from the private cache or the file itself.
    bool Shows(int width, const QString& from) {
        return WaitUntil(
            [&] {
                return Photo("photo.complete && photo.naturalWidth").toInt() == width &&
                       Photo("photo.src").toString().startsWith(from);
            },
            20000);
    }

    // For the README, by hand: KARTAVO_SCREENSHOT=out.png shows a RAW file with a
    // photograph-like preview and saves the screen.
    void ScreenshotOfRaw() {
        const QString out = qEnvironmentVariable("KARTAVO_SCREENSHOT");
        if (out.isEmpty())
            return;
        const QString preview = m_dir.filePath("preview.jpg");
        QCOMPARE(RunTool("convert", {"-size", "640x427", "plasma:steelblue-forestgreen", "-blur",
                                     "0x3", preview})
                     .exitCode,
                 0);
        QFile file(preview);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString raw = m_dir.filePath("DSC_0042.NEF");
        QVERIFY(WriteFile(raw, RawWithPreview(file.readAll())));
        QVERIFY(Drop(raw));
        QVERIFY(Shows(640, QUrl::fromLocalFile(m_cache.path()).toString()));
        QVERIFY(WaitUntil([] { return !g_app.pRunner->IsBusy(); }));
        Settle(1500);
        QCOMPARE(RunTool("import", {"-window", "root", out}).exitCode, 0);
    }

private slots:
    void initTestCase() {
        QVERIFY(m_config.isValid() && m_cache.isValid() && m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        qputenv("XDG_CACHE_HOME", m_cache.path().toUtf8());
        qputenv("XDG_DATA_HOME", m_cache.filePath("data").toUtf8()); // the undo journals
        SetNetworkStateProvider([] { return true; });
        m_main = StartKartavo();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        // Scripts sent before the photo page has loaded are dropped.
        QVERIFY(WaitForJs(g_app.pPhotoView->View()->page(),
                          "document.getElementById('photo') !== null", true, 20000));
    }

    void cleanupTestCase() {
        if (m_main)
            StopKartavo(std::move(m_main));
    }

    void previewOfEveryKind() {
        const QString cache = QUrl::fromLocalFile(m_cache.path()).toString();
        const QString raw = m_dir.filePath("camera.nef");
        QVERIFY(WriteFile(raw, RawWithPreview(JpegOf(Drawing(160, 120)))));
        QVERIFY(Drop(raw));
        QVERIFY2(Shows(160, cache), qPrintable(Photo("photo.src + ' ' + photo.alt").toString()));
        QCOMPARE(Photo("photo.alt").toString(), QString());
        ScreenshotOfRaw();

        const QString tiff = m_dir.filePath("scan.tif");
        QVERIFY(Make(tiff, "tiff"));
        QVERIFY(Drop(tiff));
        QVERIFY(Shows(96, cache));

        // Nothing to show: the preview says so instead of a blank box.
        const QString empty = m_dir.filePath("broken.cr2");
        QVERIFY(WriteFile(empty, "not a picture at all\n"));
        QVERIFY(Drop(empty));
        QVERIFY(WaitUntil(
            [&] { return Photo("photo.alt").toString() == "No preview in this file"; }, 20000));
        QCOMPARE(Photo("photo.hasAttribute('src')").toBool(), false);
        QCOMPARE(Photo("photo.width").toInt(), 240);

        // A picture the page shows itself comes straight from its file.
        const QString png = m_dir.filePath("plain.png");
        QVERIFY(Drawing(80, 60).save(png));
        QVERIFY(Drop(png));
        QVERIFY(Shows(80, QUrl::fromLocalFile(png).toString()));
        QCOMPARE(Photo("photo.alt").toString(), QString());
    }

    // Record to picture on a RAW file: the position goes into its sidecar of the name the
    // setting chose, and the RAW file stays as it was.
    void recordIntoSidecarOfRaw_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("full");
        QTest::addColumn<QString>("sidecar");
        QTest::addColumn<QString>("notWritten");
        QTest::newRow("NAME.xmp, the default") << "record.nef" << false << "record.xmp"
                                               << "record.nef.xmp";
        QTest::newRow("NAME.EXT.xmp") << "full.nef" << true << "full.nef.xmp"
                                      << "full.xmp";
    }

    void recordIntoSidecarOfRaw() {
        QFETCH(QString, name);
        QFETCH(bool, full);
        QFETCH(QString, sidecar);
        QFETCH(QString, notWritten);
        PictureFormats::WriteSetting setting;
        setting.name = full ? PictureFormats::SidecarName::Full : PictureFormats::SidecarName::Base;
        PictureFormats::SaveWriteSetting(setting);
        const auto restore = qScopeGuard([] { PictureFormats::SaveWriteSetting({}); });
        const QString raw = m_dir.filePath(name);
        QVERIFY(WriteFile(raw, RawWithPreview(JpegOf(Drawing(160, 120)))));
        QVERIFY(TagLikeACamera(raw));
        QFile file(raw);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        g_app.wndInfo->setPlainText("waiting");
        QVERIFY(Drop(raw));
        QVERIFY(WaitUntil(
            [] { return g_app.wndInfo->toPlainText() != "waiting" && !g_app.pRunner->IsBusy(); }));
        g_app.wndLatitude->setText("-33.8568");
        g_app.wndLongitude->setText("151.2153");
        g_app.wndInfo->setPlainText("waiting");
        m_main->findChild<QPushButton*>("record")->click();
        QVERIFY(WaitUntil([] { return g_app.wndInfo->toPlainText() != "waiting"; }, 20000));
        QCOMPARE(g_app.wndInfo->toPlainText(), QStringLiteral("GPS information recorded"));
        QCOMPARE(QString::fromUtf8(
                     RunTool("exiftool", {"-s3", "-n", "-XMP-exif:GPSLatitude",
                                          "-XMP-exif:GPSLongitude", m_dir.filePath(sidecar)})
                         .out)
                     .split('\n', Qt::SkipEmptyParts),
                 QStringList({"-33.8568", "151.2153"}));
        QVERIFY(!QFile::exists(m_dir.filePath(notWritten)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        file.close();

        // Opened again, the position comes back from the sidecar.
        g_app.wndLatitude->clear();
        g_app.wndLongitude->clear();
        g_app.wndInfo->setPlainText("waiting");
        QVERIFY(Drop(raw));
        QVERIFY(WaitUntil(
            [] { return g_app.wndInfo->toPlainText() != "waiting" && !g_app.pRunner->IsBusy(); }));
        QCOMPARE(g_app.wndLatitude->text().toDouble(), -33.8568);
        QCOMPARE(g_app.wndLongitude->text().toDouble(), 151.2153);
    }

    void menuChoosesWherePositionsGo() {
        auto* sidecar = m_main->findChild<QAction*>("writeIntoSidecar");
        auto* full = m_main->findChild<QAction*>("sidecarNameFull");
        QVERIFY(sidecar && full);
        QVERIFY(m_main->findChild<QAction*>("writeIntoPictureExceptRaw")->isChecked());
        sidecar->trigger();
        full->trigger();
        const PictureFormats::WriteSetting setting = PictureFormats::ReadWriteSetting();
        QCOMPARE(int(setting.target), int(PictureFormats::WriteTarget::Sidecar));
        QCOMPARE(int(setting.name), int(PictureFormats::SidecarName::Full));
        QVERIFY(!m_main->findChild<QAction*>("writeIntoPictureExceptRaw")->isChecked());
    }
};

QTEST_MAIN(TestFormatsWindow)
#include "test_formats_window.moc"
