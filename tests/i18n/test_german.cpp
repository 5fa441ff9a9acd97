#include "app/NetworkState.h"
#include "app/Startup.h"
#include "app/Translations.h"
#include "base/AppState.h"
#include "script/ScriptRunner.h"
#include "webview/CWebBrowser.h"

#include "tests/formats/FormatPictures.h"
#include "tests/support/WindowDrop.h"
#include "tests/webview/WebTestSupport.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

#include <clocale>

using namespace FormatPictures;

// The program as a German user starts it (CTest sets LANG=de_DE.UTF-8): German menus and
// controls, and positions still typed, read and written with a decimal point.
class TestGerman : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;
    QTemporaryDir m_dir;
    std::unique_ptr<QWidget> m_main;

    template <typename T> T* Find(const char* name) {
        return m_main->findChild<T*>(QString::fromLatin1(name));
    }

private slots:
    void initTestCase() {
        QVERIFY(m_config.isValid() && m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        // The C library reads numbers the German way too, as the program finds it.
        QVERIFY2(QString::fromLatin1(std::localeconv()->decimal_point) == ",",
                 "the de_DE.UTF-8 locale is not generated (tools/install-deps.sh does it)");
        InstallTranslations();
        SetNetworkStateProvider([] { return false; });
        m_main = StartKartavo();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        QVERIFY(WaitForJs(g_app.pPhotoView->View()->page(),
                          "document.getElementById('photo') !== null", true, 20000));
    }

    void cleanupTestCase() {
        if (m_main)
            StopKartavo(std::move(m_main));
    }

    void germanMenusAndControls() {
        QStringList menus;
        for (const QAction* action : Find<QMenuBar>("menuBar")->actions())
            menus << action->text();
        QCOMPARE(menus.mid(0, 2), QStringList({"&Datei", "&Bild"}));
        QVERIFY(menus.contains("&Karte"));
        QCOMPARE(menus.last(), QStringLiteral("&Hilfe"));
        QCOMPARE(Find<QLabel>("latitudeLabel")->text(), QStringLiteral("  Breite"));
        QCOMPARE(Find<QPushButton>("moveToPoint")->text(), QStringLiteral("Zum Punkt"));
    }

    // Pasted, checked and recorded into a RAW file's sidecar: 48.8584 stays 48.8584.
    void fieldsTakeADecimalPoint() {
        const QString raw = m_dir.filePath("paris.nef");
        QVERIFY(WriteFile(raw, RawWithPreview(JpegOf(Drawing(160, 120)))));
        const QPoint at = g_app.wndImage->mapTo(m_main.get(), g_app.wndImage->rect().center());
        g_app.wndInfo->setPlainText("waiting");
        QVERIFY(OfferDrop(m_main.get(), at, {raw}));
        QVERIFY(WaitUntil(
            [] { return g_app.wndInfo->toPlainText() != "waiting" && !g_app.pRunner->IsBusy(); }));

        auto* latitude = Find<QLineEdit>("latitude");
        latitude->setFocus();
        latitude->selectAll();
        QGuiApplication::clipboard()->setText("48.8584, 2.2945");
        QTest::keyClick(latitude, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(latitude->text(), QStringLiteral("48.8584"));
        QCOMPARE(Find<QLineEdit>("longitude")->text(), QStringLiteral("2.2945"));

        g_app.wndInfo->setPlainText("waiting");
        Find<QPushButton>("record")->click();
        QVERIFY(WaitUntil([] { return g_app.wndInfo->toPlainText() != "waiting"; }, 20000));
        QCOMPARE(g_app.wndInfo->toPlainText(), QStringLiteral("GPS information recorded"));
        QCOMPARE(QString::fromUtf8(
                     RunTool("exiftool", {"-s3", "-n", "-XMP-exif:GPSLatitude",
                                          "-XMP-exif:GPSLongitude", m_dir.filePath("paris.xmp")})
                         .out)
                     .split('\n', Qt::SkipEmptyParts),
                 QStringList({"48.8584", "2.2945"}));
    }
};

QTEST_MAIN(TestGerman)
#include "test_german.moc"
