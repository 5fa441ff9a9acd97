// Times pictures end to end in the real window: a dropped picture to its report, a
// record into a 12-megapixel JPEG, and the start to the map page; each against the bare
// perl script or ExifTool's command line on the same file. Run by hand (see README.md).

#include "app/NetworkState.h"
#include "app/Startup.h"
#include "base/AppState.h"
#include "bench/BenchSupport.h"
#include "script/ScriptRunner.h"
#include "webview/CWebBrowser.h"
#include "webview/WebEngineSetup.h"

#include "tests/webview/WebTestSupport.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QWindow>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

const QString kSample = QStringLiteral(KARTAVO_SOURCE_DIR "/res/images/photo.jpg");
// The position the record writes, and what writegps.pl is given for it.
const QString kLatitude = QStringLiteral("37.562159");
const QString kLongitude = QStringLiteral("126.97335");
const QStringList kWriteArguments{"N", "37/33/43.7724", "E", "126/58/24.0600", "50"};

const QStringList kSydney{"-DateTimeOriginal=2024:06:15 18:42:10",
                          "-GPSLatitudeRef=S",
                          "-GPSLatitude=33.8568",
                          "-GPSLongitudeRef=E",
                          "-GPSLongitude=151.2153",
                          "-GPSAltitudeRef=0",
                          "-GPSAltitude=50"};

QString Info() {
    return g_app.wndInfo->toPlainText();
}

bool Fail(const char* what) {
    std::fprintf(stderr, "bench_pictures: %s\n", what);
    return false;
}

// Copies a stored script out of the program's resources, as the program itself runs it.
QString ExtractScript(const char* resource, const QString& path) {
    QFile::remove(path);
    return QFile::copy(QString::fromLatin1(resource), path) ? path : QString();
}

// The window as the user has it, with the map page loaded.
class Window {
public:
    explicit Window(QWidget*& main) : m_main(main) {}

    bool Start(double* startupMs = nullptr) {
        QElapsedTimer timer;
        timer.start();
        m_owned = StartKartavo();
        m_main = m_owned.get();
        double loaded = -1;
        QWebEnginePage* page = g_app.pMapView->View()->page();
        QObject::connect(page, &QWebEnginePage::loadFinished, page, [&](bool ok) {
            if (ok && loaded < 0 && page->url().toString().endsWith("map.htm"))
                loaded = Bench::Milliseconds(timer);
        });
        if (!WaitUntil([&] { return loaded >= 0; }, 30000))
            return Fail("the map page did not load");
        QObject::disconnect(page, &QWebEnginePage::loadFinished, page, nullptr);
        if (startupMs)
            *startupMs = loaded;
        return WaitForJs(page, "typeof map", "object", 10000) || Fail("the map page has no map");
    }

    void Stop() {
        m_main = nullptr;
        if (m_owned)
            StopKartavo(std::move(m_owned));
    }

    // Drops the files on the preview, as the pictures tests do.
    bool Drop(const QString& path) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        const QPoint at = g_app.wndImage->mapTo(m_main, g_app.wndImage->rect().center());
        QWindow* window = m_main->windowHandle();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &drop);
        return drop.isAccepted();
    }

    // Time from action() to the information box's first new text; -1 when it never comes
    // or does not start with expected.
    double TimeToInfo(const std::function<bool()>& action, const QString& expected) {
        g_app.wndInfo->setPlainText(QStringLiteral("waiting"));
        double shown = -1;
        QElapsedTimer timer;
        const auto connection =
            QObject::connect(g_app.wndInfo, &QPlainTextEdit::textChanged, g_app.wndInfo, [&] {
                if (shown < 0 && Info() != QLatin1String("waiting"))
                    shown = Bench::Milliseconds(timer);
            });
        timer.start();
        const bool started = action();
        const bool done =
            started && WaitUntil([&] { return shown >= 0 && !g_app.pRunner->IsBusy(); }, 60000);
        QObject::disconnect(connection);
        if (!done || !Info().startsWith(expected)) {
            std::fprintf(stderr, "bench_pictures: box reads \"%s\"\n", qPrintable(Info()));
            return -1;
        }
        // The map moves and the fields follow; let that finish before the next run.
        Settle(300);
        return shown;
    }

    double TimedRead(const QString& path) {
        return TimeToInfo([&] { return Drop(path); }, QStringLiteral("GPS data : "));
    }

    double TimedRecord() {
        g_app.wndLatitude->setText(kLatitude);
        g_app.wndLongitude->setText(kLongitude);
        auto* record = m_main->findChild<QPushButton*>(QStringLiteral("record"));
        return TimeToInfo(
            [record] {
                if (record)
                    record->click();
                return record != nullptr;
            },
            QStringLiteral("GPS information recorded"));
    }

private:
    QWidget*& m_main;
    std::unique_ptr<QWidget> m_owned;
};

struct Measure {
    QString name;
    std::function<double()> run;
};

// Runs each measure once to warm the caches, then takes turns for the timed runs, so that
// any drift of the machine falls on all of them alike; prints a row for each.
bool Compare(int runs, const std::vector<Measure>& measures) {
    std::vector<std::vector<double>> samples(measures.size());
    for (int i = -1; i < runs; ++i) {
        for (size_t m = 0; m < measures.size(); ++m) {
            const double ms = measures[m].run();
            if (ms < 0) {
                std::fprintf(stderr, "bench_pictures: failed: %s\n", qPrintable(measures[m].name));
                return false;
            }
            if (i >= 0)
                samples[m].push_back(ms);
        }
    }
    for (size_t m = 0; m < measures.size(); ++m)
        Bench::PrintRow(qPrintable(measures[m].name), samples[m]);
    return true;
}

bool MakeBigPicture(const QString& path) {
    return (Bench::MakeTwelveMegapixel(kSample, path) && Bench::Tag(path, kSydney)) ||
           Fail("could not make the 12-megapixel picture");
}

bool RunBenchmarks(Window& window, const QTemporaryDir& work, int runs) {
    double startup = -1;
    if (!window.Start(&startup))
        return false;
    std::printf("StartKartavo() to the map page loaded (this process): %.1f ms\n\n", startup);

    const QString readScript = ExtractScript(":/TEXT/114", work.filePath("readgps.pl"));
    const QString writeScript = ExtractScript(":/TEXT/112", work.filePath("writegps.pl"));
    if (readScript.isEmpty() || writeScript.isEmpty())
        return Fail("could not extract the scripts");

    const QString small = work.filePath("photo.jpg");
    const QString big = work.filePath("big.jpg");
    if (!QFile::copy(kSample, small) || !Bench::Tag(small, kSydney) || !MakeBigPicture(big))
        return Fail("could not make the pictures");
    std::printf("pictures: %s %lld bytes, %s %lld bytes (4000x3000, quality 90)\n\n",
                qPrintable(QFileInfo(small).fileName()), QFileInfo(small).size(),
                qPrintable(QFileInfo(big).fileName()), QFileInfo(big).size());

    for (const QString& picture : {small, big}) {
        const QString name = QFileInfo(picture).fileName();
        if (!Compare(runs, {{"read " + name + ": drop to report in the box",
                             [&] { return window.TimedRead(picture); }},
                            {"read " + name + ": perl readgps.pl alone", [&] {
                                 return Bench::TimeProcess("perl", {readScript, picture});
                             }}}))
            return false;
    }
    std::printf("\n");

    // The record goes into the picture last read; the others get copies of the same file.
    const QString cliCopy = work.filePath("big-exiftool.jpg");
    const QString perlCopy = work.filePath("big-perl.jpg");
    if (!QFile::copy(big, cliCopy) || !QFile::copy(big, perlCopy))
        return Fail("could not copy the picture");
    const QStringList cliArgs{"-q",
                              "-overwrite_original",
                              "-GPSVersionID=2 2 0 0",
                              "-GPSLatitudeRef=N",
                              "-GPSLatitude=" + kLatitude,
                              "-GPSLongitudeRef=E",
                              "-GPSLongitude=" + kLongitude,
                              "-GPSAltitude=50",
                              cliCopy};
    if (window.TimedRead(big) < 0)
        return false;
    return Compare(runs, {{"record big.jpg: \"Record to picture\" to \"recorded\"",
                           [&] { return window.TimedRecord(); }},
                          {"record big.jpg: exiftool command line, same tags",
                           [&] { return Bench::TimeProcess("exiftool", cliArgs); }},
                          {"record big.jpg: perl writegps.pl alone", [&] {
                               return Bench::TimeProcess(
                                   "perl", QStringList{writeScript, perlCopy} + kWriteArguments);
                           }}});
}

// Starts, loads the map and reads picture, then ends: one whole life for the memory script.
bool RunOnce(Window& window, const QString& picture) {
    if (!window.Start())
        return false;
    if (window.TimedRead(picture) < 0)
        return Fail("the read failed");
    Settle(1000);
    std::printf("done\n");
    return true;
}

// The window with a tagged copy of our sample photograph read, cut out of the screen.
bool TakeScreenshot(Window& window, QWidget*& main, const QTemporaryDir& work, const QString& out) {
    const QString picture = work.filePath("photo.jpg");
    if (!QFile::copy(kSample, picture) || !Bench::Tag(picture, kSydney))
        return Fail("could not tag the sample photograph");
    if (!window.Start() || window.TimedRead(picture) < 0)
        return false;
    QWebEnginePage* map = g_app.pMapView->View()->page();
    QWebEnginePage* photo = g_app.pPhotoView->View()->page();
    const bool shown =
        WaitUntil([] { return g_app.pMapView->m_strTitle == "(-33.8568, 151.2153)"; }) &&
        WaitUntil([] { return g_app.wndLatitude->text() == "-33.8568"; }) &&
        WaitForJs(photo,
                  "var p = document.getElementById('photo');"
                  "p.src.startsWith('file:') && p.complete && p.naturalWidth > 0",
                  true) &&
        WaitForJs(map, "map.getZoom() > 0", true);
    if (!shown)
        return Fail("the picture was not shown");
    Settle(1500); // the last paint of both views

    const QString screen = work.filePath("screen.png");
    if (QProcess::execute("import", {"-window", "root", screen}) != 0)
        return Fail("import could not capture the screen");
    const QImage whole(screen);
    const QImage cut = whole.copy(main->frameGeometry().intersected(whole.rect()));
    if (cut.isNull() || !cut.save(out))
        return Fail("could not save the screenshot");
    std::printf("%s: %dx%d\n", qPrintable(out), cut.width(), cut.height());
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    SetUpWebEngineBeforeApplication();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kartavo"));
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription("Times Kartavo's picture roads in its real window.");
    parser.addHelpOption();
    const QCommandLineOption runsOption("runs", "Timed runs of each measurement (default 9).", "N",
                                        "9");
    const QCommandLineOption startupOption(
        "startup", "Only print the time from StartKartavo() to the map page loaded.");
    const QCommandLineOption onceOption(
        "once", "Start, load the map, read PICTURE and end (for the memory script).", "PICTURE");
    const QCommandLineOption makeOption("make-picture",
                                        "Make the tagged 12-megapixel JPEG FILE and end.", "FILE");
    const QCommandLineOption screenshotOption(
        "screenshot", "Save the window with a tagged sample photograph read as FILE.", "FILE");
    parser.addOptions({runsOption, startupOption, onceOption, makeOption, screenshotOption});
    parser.process(app);

    if (parser.isSet(makeOption))
        return MakeBigPicture(parser.value(makeOption)) ? 0 : 1;

    // The program's own settings and temporary files stay out of the user's.
    QTemporaryDir config, temp, work;
    if (!config.isValid() || !temp.isValid() || !work.isValid()) {
        Fail("no temporary folders");
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    qputenv("TMPDIR", temp.path().toUtf8());
    // There is no network here; the map page loads all the same (only its tiles fail).
    SetNetworkStateProvider([] { return true; });

    QWidget* main = nullptr;
    Window window(main);
    bool ok = false;
    if (parser.isSet(startupOption)) {
        double startup = -1;
        ok = window.Start(&startup);
        if (ok)
            std::printf("startup_ms %.1f\n", startup);
    } else if (parser.isSet(onceOption)) {
        ok = RunOnce(window, parser.value(onceOption));
    } else if (parser.isSet(screenshotOption)) {
        ok = TakeScreenshot(window, main, work,
                            QFileInfo(parser.value(screenshotOption)).absoluteFilePath());
    } else {
        const int runs = parser.value(runsOption).toInt();
        ok = RunBenchmarks(window, work, runs > 0 ? runs : 9);
    }
    window.Stop();
    return ok ? 0 : 1;
}
