#include "app/ControlPanel.h"
#include "app/MapCommands.h"
#include "app/NetworkState.h"
#include "app/Settings.h"
#include "app/StartIcons.h"
#include "app/Startup.h"
#include "base/AppState.h"

#include "tests/support/WindowDrop.h"
#include "tests/webview/WebTestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QtTest>

#include <memory>

// Drives the real window: the settings file lives in a temporary configuration folder
// and the network answer is the test's own.
class TestMainWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;
    std::unique_ptr<QWidget> m_main;
    int m_nNetworkAsked = 0;
    bool m_bNetwork = false;

    QSettings Raw() {
        return QSettings(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
    }

    void Start() {
        m_nNetworkAsked = 0;
        m_main = StartKartavo();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    }

    template <typename T> T* Find(const char* name) {
        T* found = m_main->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr)
            qWarning("no control named %s", name);
        return found;
    }

    QAction* Action(const QString& text) {
        for (QAction* action : m_main->findChildren<QAction*>()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }

    // Runs the event loop until something ends it, or gives up after five seconds.
    int RunLoop(const std::function<void()>& whileRunning) {
        QTimer::singleShot(200, m_main.get(), whileRunning);
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        watchdog.start(5000);
        return QCoreApplication::exec();
    }

    QPoint CentreInWindow(const char* name) {
        auto* widget = Find<QWidget>(name);
        return widget->mapTo(m_main.get(), widget->rect().center());
    }

private slots:
    void initTestCase() {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        SetNetworkStateProvider([this] {
            ++m_nNetworkAsked;
            return m_bNetwork;
        });
        UseStartIcons();
    }

    void cleanup() {
        if (m_main)
            StopKartavo(std::move(m_main));
        QFile::remove(QString::fromStdString(SettingsFilePath()));
    }

    void windowTitleSizeAndMenu() {
        Start();
        QCOMPARE(m_main->windowTitle(), QStringLiteral("Kartavo 1.0.0"));
        QCOMPARE(m_main->size(), QSize(900, 550));
        QCOMPARE(m_main->pos(), QPoint(0, 0)); // no settings yet
        QCOMPARE(m_main->windowState(), Qt::WindowNoState);
        // Its icons, and the style's for its menu bar, are read without the image format
        // plug-ins: those load only for the first picture. Drawn in software, the map page
        // loads with no OpenGL driver either.
        QTRY_COMPARE(m_main->windowIcon().availableSizes(),
                     (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
        QVERIFY(!m_main->style()
                     ->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton)
                     .availableSizes()
                     .isEmpty());
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        QVERIFY(!mapped.contains("/imageformats/"));
        QVERIFY(!mapped.contains("/libGLX_"));

        auto* menuBar = Find<QMenuBar>("menuBar");
        QVERIFY(menuBar);
        QStringList menus;
        for (QAction* action : menuBar->actions())
            menus << action->text();
        // The areas beside the main window add their menus after these two.
        QCOMPARE(menus.mid(0, 2), QStringList({"&File", "&Picture"}));

        const QList<std::pair<QString, int>> commands = {
            {"&Exit", 40002}, {"&Open Picture", 40001}, {"&Record GPS to Picture", 40009}};
        for (const auto& [text, id] : commands) {
            QAction* action = Action(text);
            QVERIFY2(action, qPrintable(text));
            QCOMPARE(action->data().toInt(), id);
        }
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("latitude label") << "latitudeLabel"
                                        << "  Latitude" << QRect(0, 410, 80, 20);
        QTest::newRow("longitude label") << "longitudeLabel"
                                         << "  Longitude" << QRect(240, 410, 80, 20);
        QTest::newRow("latitude") << "latitude"
                                  << "37.562159" << QRect(80, 410, 160, 20);
        QTest::newRow("longitude") << "longitude"
                                   << "126.97335" << QRect(320, 410, 160, 20);
        QTest::newRow("zoom label") << "zoomLabel"
                                    << "     Zoom" << QRect(480, 410, 80, 20);
        QTest::newRow("zoom") << "zoom"
                              << "12" << QRect(560, 410, 44, 20);
        QTest::newRow("move") << "moveToPoint"
                              << "Move to point" << QRect(614, 410, 120, 20);
        QTest::newRow("record") << "record"
                                << "Record to picture" << QRect(750, 410, 120, 20);
        QTest::newRow("date label") << "dateTimeLabel"
                                    << "  Date,Time" << QRect(0, 440, 80, 20);
        QTest::newRow("date") << "date" << QString() << QRect(80, 440, 100, 20);
        QTest::newRow("time") << "time" << QString() << QRect(188, 440, 100, 20);
        QTest::newRow("info") << "info"
                              << "\n Drag-drop a picture bellow window" << QRect(610, 0, 260, 40);
        QTest::newRow("image") << "image" << QString() << QRect(610, 50, 260, 200);
        QTest::newRow("map host") << "mapHost" << QString() << QRect(0, 0, 600, 400);
    }

    void controls() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        if (!m_main)
            Start();
        auto* control = Find<QWidget>(name.toLatin1().constData());
        QVERIFY(control);
        QCOMPARE(control->geometry(), geometry);
        QVERIFY(control->isVisible());
        // Client coordinates: everything sits directly below the menu bar.
        QCOMPARE(control->parentWidget()->objectName(), QStringLiteral("client"));
        if (auto* label = qobject_cast<QLabel*>(control))
            QCOMPARE(label->text(), text);
        if (auto* field = qobject_cast<QLineEdit*>(control))
            QCOMPARE(field->text(), text);
        if (auto* button = qobject_cast<QPushButton*>(control))
            QCOMPARE(button->text(), text);
        if (auto* combo = qobject_cast<QComboBox*>(control))
            QCOMPARE(combo->currentText(), text);
        if (auto* box = qobject_cast<QPlainTextEdit*>(control)) {
            QCOMPARE(box->toPlainText(), text);
            QVERIFY(box->isReadOnly());
        }
    }

    void zoomListHoldsOneToEighteen() {
        Start();
        auto* zoom = Find<QComboBox>("zoom");
        QVERIFY(zoom);
        QVERIFY(!zoom->isEditable());
        QCOMPARE(zoom->count(), 18);
        for (int i = 0; i < 18; ++i) {
            QCOMPARE(zoom->itemText(i), QString::number(i + 1));
            QCOMPARE(zoom->itemData(i).toInt(), i + 1);
        }
        QCOMPARE(zoom->currentIndex(), 11);
    }

    void pickersShowNow() {
        const QDateTime before = QDateTime::currentDateTime();
        Start();
        const QDateTime after = QDateTime::currentDateTime();
        auto* date = Find<QDateEdit>("date");
        auto* time = Find<QTimeEdit>("time");
        QVERIFY(date && time);
        QVERIFY(date->date() >= before.date() && date->date() <= after.date());
        QVERIFY(time->time().secsTo(before.time()) <= 1 || before.date() != after.date());
        QVERIFY(time->time().secsTo(after.time()) >= 0 || before.date() != after.date());
    }

    void onlyTheImageWindowTakesDrops_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("taken");
        QTest::newRow("image window") << "image" << true;
        QTest::newRow("latitude") << "latitude" << false;
        QTest::newRow("longitude") << "longitude" << false;
        QTest::newRow("info") << "info" << false;
        QTest::newRow("date") << "date" << false;
        QTest::newRow("time") << "time" << false;
        QTest::newRow("zoom") << "zoom" << false;
        QTest::newRow("map host") << "mapHost" << false;
        QTest::newRow("record button") << "record" << false;
    }

    void onlyTheImageWindowTakesDrops() {
        QFETCH(QString, control);
        QFETCH(bool, taken);
        if (!m_main)
            Start();
        g_app.szPicture[0] = '\0';
        // Only files that are there are taken as the picture.
        QStringList files;
        for (const char* name : {"first.jpg", "second.jpg", "third.jpg"}) {
            files << m_config.filePath(QString::fromLatin1(name));
            QFile file(files.last());
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(OfferDrop(m_main.get(), CentreInWindow(control.toLatin1().constData()), files),
                 taken);
        QCOMPARE(QString::fromUtf8(g_app.szPicture), taken ? files.first() : QString());
    }

    void startsAtTheStoredPosition_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("stored") << 100 << 120 << QPoint(100, 120);
        QTest::newRow("negative") << -5 << 200 << QPoint(30, 30);
        // Between the screen's height and its width (1280 x 1024): kept only if x is
        // checked against the width.
        QTest::newRow("wide screen") << 1100 << 120 << QPoint(1100, 120);
    }

    void startsAtTheStoredPosition() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QPoint, expected);
        SaveSettings(x, y, std::nullopt);
        Start();
        QCOMPARE(m_main->pos(), expected);
        QCOMPARE(m_main->size(), QSize(900, 550));
    }

    // A pasted pair fills both fields; nothing typed is cut before the record check sees it.
    void coordinateFields_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("how"); // paste over all, paste at the end, or type
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("latitude");
        QTest::addColumn<QString>("longitude");
        QTest::newRow("pasted pair") << "latitude"
                                     << "paste"
                                     << "48.8584, 2.2945"
                                     << "48.8584"
                                     << "2.2945";
        QTest::newRow("pasted degrees, minutes, seconds") << "latitude"
                                                          << "paste"
                                                          << "48°51'30.2\"N 2°17'40.2\"E"
                                                          << "48.85838889"
                                                          << "2.2945";
        QTest::newRow("pasted map link, longer than the check sees")
            << "longitude"
            << "paste"
            << "https://www.openstreetmap.org/?mlat=-33.8568&mlon=151.2153#map=15/-33.8568/151.2153"
            << "-33.8568"
            << "151.2153";
        QTest::newRow("pasted beside the text there") << "longitude"
                                                      << "paste at the end"
                                                      << "geo:-12.5,130.25"
                                                      << "-12.5"
                                                      << "130.25";
        QTest::newRow("pasted long text that is no pair") << "latitude"
                                                          << "paste"
                                                          << "37.5621590000000000000000000000 junk"
                                                          << "37.562159"
                                                          << "126.97335";
        QTest::newRow("typed past the limit") << "latitude"
                                              << "type"
                                              << "37.5621590000000000000000000000 junk"
                                              << "37.5621590000000000000000000000"
                                              << "126.97335";
        QTest::newRow("typed letters of two bytes")
            << "longitude"
            << "type" << QString(20, QChar(0xe9)) << "37.562159" << QString(15, QChar(0xe9));
        QTest::newRow("typed pair, read on Enter") << "latitude"
                                                   << "type"
                                                   << "-12.5 130.25"
                                                   << "-12.5"
                                                   << "130.25";
    }

    void coordinateFields() {
        QFETCH(QString, field);
        QFETCH(QString, how);
        QFETCH(QString, text);
        QFETCH(QString, latitude);
        QFETCH(QString, longitude);
        Start();
        auto* edit = Find<QLineEdit>(field.toLatin1().constData());
        QVERIFY(edit);
        edit->setFocus();
        edit->selectAll();
        if (how.startsWith("paste")) {
            if (how == "paste at the end")
                edit->end(false);
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::keyClick(edit, Qt::Key_Delete);
            for (const QChar c : text) // also letters that keyClicks cannot type
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), {});
            QTest::keyClick(edit, Qt::Key_Return);
        }
        QCOMPARE(Find<QLineEdit>("latitude")->text(), latitude);
        QCOMPARE(Find<QLineEdit>("longitude")->text(), longitude);
        // What the record check reads is the whole text the field shows.
        char read[kFieldTextSize];
        ReadField(edit, read);
        QCOMPARE(QString::fromUtf8(read), edit->text());
    }

    void startupTimerAsksTheNetworkOnce_data() {
        QTest::addColumn<bool>("network");
        QTest::newRow("online") << true;
        QTest::newRow("offline") << false;
    }

    void startupTimerAsksTheNetworkOnce() {
        QFETCH(bool, network);
        m_bNetwork = network;
        // Asked from the event loop as soon as the window is up, with no fixed wait.
        m_nNetworkAsked = 0;
        m_main = StartKartavo();
        QCOMPARE(m_nNetworkAsked, 0);
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        QTRY_COMPARE(m_nNetworkAsked, 1);
        QCOMPARE(g_app.bOnline, network ? 1 : 0);
        QTest::qWait(300);
        QCOMPARE(m_nNetworkAsked, 1);
        g_app.bOnline = 0;
    }

    void leavingSavesOnce_data() {
        QTest::addColumn<bool>("throughMenu");
        QTest::newRow("menu Exit") << true;
        QTest::newRow("close button") << false;
    }

    void leavingSavesOnce() {
        QFETCH(bool, throughMenu);
        SaveSettings(200, 150, std::string("(1, 2)"));
        Start();
        std::optional<std::string> titleAtClose;
        const int result = RunLoop([this, throughMenu, &titleAtClose] {
            titleAtClose = MapTitle();
            if (throughMenu)
                Action(QStringLiteral("&Exit"))->trigger();
            else
                m_main->close();
        });
        QCOMPARE(result, 0);
        QSettings raw = Raw();
        QCOMPARE(raw.value("Kartavo/xPos").toString(), QStringLiteral("200"));
        QCOMPARE(raw.value("Kartavo/yPos").toString(), QStringLiteral("150"));
        // Position is the map view's title; with no title yet the key goes.
        if (titleAtClose)
            QCOMPARE(raw.value("Kartavo/Position").toString(),
                     QString::fromStdString(*titleAtClose));
        else
            QVERIFY(!raw.contains("Kartavo/Position"));

        // A second close must not save again.
        raw.setValue("Kartavo/xPos", "7");
        raw.sync();
        m_main->close();
        QCOMPARE(Raw().value("Kartavo/xPos").toString(), QStringLiteral("7"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
