#include "app/NetworkState.h"
#include "app/Startup.h"
#include "app/trip/PicturesBatch.h"
#include "app/trip/PicturesWindow.h"
#include "app/trip/TripMap.h"
#include "base/AppState.h"
#include "pictures/PictureList.h"
#include "script/ScriptRunner.h"
#include "webview/CWebBrowser.h"

#include "tests/script/TestPictures.h"
#include "tests/support/PrivateProgram.h"
#include "tests/support/WindowDrop.h"
#include "tests/webview/WebTestSupport.h"

#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

#include <cstdio>

// The Pictures window in the real program: real JPEG files, the real map page, the real
// settings file.
class TestPicturesWindow : public QObject {
    Q_OBJECT

    PrivateProgram m_program;
    QTemporaryDir m_pictures;
    std::unique_ptr<QWidget>& m_main = m_program.main;

    PicturesWindow* Window() { return PicturesWindowInstance(); }
    PictureList* List() { return Window()->Model(); }
    QTableView* Table() { return Window()->findChild<QTableView*>("pictureTable"); }
    QVariant Map(const QString& script) { return EvalJs(g_app.pMapView->View()->page(), script); }

    QString MakePicture(const QString& relative) {
        const QString path = m_pictures.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        return TestPictures::MakeJpeg(path) ? path : QString();
    }

    QStringList Listed() {
        QStringList paths;
        for (int row = 0; row < List()->Count(); ++row)
            paths << QFile::decodeName(List()->Path(row));
        return paths;
    }

    void Trigger(const char* name) {
        auto* action = m_main->findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(action != nullptr, name);
        action->trigger();
    }

    // Answers the next file dialog from inside its own event loop.
    void AnswerDialog(const std::function<void(QFileDialog*)>& answer) {
        QTimer::singleShot(0, this, [answer] {
            QFileDialog* dialog = nullptr;
            WaitUntil([&] {
                dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                return dialog != nullptr;
            });
            if (dialog)
                answer(dialog);
        });
    }

    void OpenFolder(const char* action, const QString& folder) {
        AnswerDialog([folder](QFileDialog* dialog) {
            dialog->setDirectory(folder);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
        Trigger(action);
        QVERIFY(WaitUntil([this] { return !Window()->IsScanning(); }));
    }

    void SelectRows(const QList<int>& rows) {
        auto* proxy = qobject_cast<QSortFilterProxyModel*>(Table()->model());
        Table()->clearSelection();
        for (int row : rows)
            Table()->selectionModel()->select(proxy->mapFromSource(List()->index(row, 0)),
                                              QItemSelectionModel::Select |
                                                  QItemSelectionModel::Rows);
    }

    // Tags through ExifTool's command line, as a user would set them.
    bool Tag(const QString& path, const QStringList& assignments) {
        QProcess exiftool;
        exiftool.start("exiftool",
                       QStringList{"-q", "-overwrite_original"} + assignments + QStringList{path});
        return exiftool.waitForFinished(60000) && exiftool.exitCode() == 0;
    }

    QList<int> AddAndRead(const QStringList& files) {
        QList<QByteArray> paths;
        for (const QString& file : files)
            paths << QFile::encodeName(file);
        Window()->AddPictures(paths);
        WaitUntil([this] { return Idle(); }, 60000);
        QList<int> rows;
        for (const QByteArray& path : paths)
            rows << List()->RowOf(path);
        return rows;
    }

    bool Idle() {
        for (int row = 0; row < List()->Count(); ++row)
            if (!List()->IsRead(row))
                return false;
        return !Window()->Batch().IsBusy();
    }

    // The signed latitude ExifTool reads from the file, or "" when it has none.
    QString Latitude(const QString& path) {
        QProcess exiftool;
        exiftool.start("exiftool", {"-n", "-s3", "-Composite:GPSLatitude", path});
        exiftool.waitForFinished(60000);
        return QString::fromUtf8(exiftool.readAllStandardOutput()).trimmed();
    }

    void ViewTrip(double lat, double lon) {
        TripMap* map = Window()->Map();
        QVERIFY(WaitUntil([map] { return map->IsReady(); }, 20000));
        EvalJs(map->View()->page(),
               QStringLiteral("TripView(%1, %2, 12)")
                   .arg(QString::number(lat, 'g', 17), QString::number(lon, 'g', 17)));
        QVERIFY(WaitUntil([&] {
            return map->Centre() && map->Centre()->latitude == lat &&
                   map->Centre()->longitude == lon;
        }));
    }

    void Write() {
        auto* write = Window()->findChild<QPushButton*>("writeChanges");
        QVERIFY(write->isEnabled());
        g_app.wndInfo->setPlainText("waiting");
        write->click();
        QVERIFY(WaitUntil([this] { return Idle() && g_app.wndInfo->toPlainText() != "waiting"; },
                          60000));
    }

private slots:
    void initTestCase() {
        QVERIFY(m_pictures.isValid());
        QVERIFY(m_program.Start("PicturesShow"));
    }

    void cleanupTestCase() { m_program.Stop(); }

    void init() {
        if (Window() != nullptr)
            List()->removeRows(0, List()->Count());
    }

    void opensManyByDialog() {
        const QString a = MakePicture("dialog/a.jpg");
        const QString b = MakePicture("dialog/b c.JPG");
        QVERIFY(!a.isEmpty() && !b.isEmpty());
        AnswerDialog([this](QFileDialog* dialog) {
            dialog->setDirectory(m_pictures.filePath("dialog"));
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("\"a.jpg\" \"b c.JPG\"");
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
        Trigger("openPictures");
        QVERIFY(WaitUntil([this] { return Window() && List()->Count() == 2; }));
        QVERIFY(Window()->isVisible());
        QCOMPARE(Window()->windowTitle(), QStringLiteral("Kartavo - Pictures"));
        QCOMPARE(Listed(), (QStringList{a, b}));

        // The next dialog starts where this one was.
        QString shown;
        AnswerDialog([&shown](QFileDialog* dialog) {
            shown = dialog->directory().absolutePath();
            dialog->reject();
        });
        Trigger("openPictures");
        QCOMPARE(shown, QDir(m_pictures.filePath("dialog")).absolutePath());
    }

    // Only pictures, folder by folder; the tree adds what the folder alone did not have,
    // and a link to a listed picture is that picture.
    void opensFolderAndTree() {
        const QString top = MakePicture("folder/x.jpg");
        const QString deep = MakePicture("folder/sub/y.jpeg");
        MakePicture("folder/.hidden.jpg");
        QFile notes(m_pictures.filePath("folder/notes.txt"));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.close();
        QVERIFY(QFile::link(top, m_pictures.filePath("folder/sub/link.jpg")));
        // A name that is not UTF-8 still names its file, and is shown readably.
        const QByteArray latin1 =
            QFile::encodeName(m_pictures.filePath("folder/sub/")) + "caf\xe9.jpg";
        QVERIFY(QFile::copy(top, QFile::decodeName(QFile::encodeName(top) + ".tmp")));
        QCOMPARE(::rename((QFile::encodeName(top) + ".tmp").constData(), latin1.constData()), 0);

        OpenFolder("openFolder", m_pictures.filePath("folder"));
        QCOMPARE(Listed(), QStringList{top});
        OpenFolder("openFolderTree", m_pictures.filePath("folder"));
        QCOMPARE(List()->Count(), 3);
        QCOMPARE(List()->Path(1), latin1);
        QCOMPARE(QFile::decodeName(List()->Path(2)), deep);
        QCOMPARE(List()->index(1, PictureList::Name).data().toString(),
                 QStringLiteral("caf\\xe9.jpg"));
        QCOMPARE(List()->RowOf(QFile::encodeName(m_pictures.filePath("folder/sub/link.jpg"))), 0);
    }

    void dropListsAllAndKeepsFirstCurrent() {
        const QStringList files{MakePicture("drop/first.jpg"), MakePicture("drop/second.jpg"),
                                MakePicture("drop/third.jpg")};
        List()->Add({QFile::encodeName(files[1])}); // listed already: not twice
        const QPoint at = g_app.wndImage->mapTo(m_main.get(), g_app.wndImage->rect().center());
        QVERIFY(OfferDrop(m_main.get(), at, files));
        QCOMPARE(QString::fromUtf8(g_app.szPicture), files[0]);
        QCOMPARE(Listed(), (QStringList{files[1], files[0], files[2]}));
    }

    void deleteRemovesFromListOnly() {
        const QStringList files{MakePicture("delete/1.jpg"), MakePicture("delete/2.jpg"),
                                MakePicture("delete/3.jpg")};
        for (const QString& file : files)
            Window()->AddPictures({QFile::encodeName(file)});
        SelectRows({0, 2});
        Table()->setFocus();
        QTest::keyClick(Table(), Qt::Key_Delete);
        QCOMPARE(Listed(), QStringList{files[1]});
        for (const QString& file : files)
            QVERIFY(QFile::exists(file));
    }

    // Ctrl+M gives the selected pictures the centre of the trip window's map.
    void usesMapCentreForSelection() {
        for (const char* name : {"a", "b", "c"})
            Window()->AddPictures(
                {QFile::encodeName(MakePicture(QString("use/%1.jpg").arg(name)))});
        SelectRows({0, 2});
        ViewTrip(-33.8568, -151.2153);
        QTest::keyClick(Window(), Qt::Key_M, Qt::ControlModifier);

        QCOMPARE(List()->HasNewPosition(0), true);
        QCOMPARE(List()->HasNewPosition(1), false);
        auto* write = Window()->findChild<QPushButton*>("writeChanges");
        QCOMPARE(write->text(), QStringLiteral("Write 2 changes"));
        const auto place = List()->NewPositionOf(2);
        QCOMPARE(place->latitude, -33.8568);
        QCOMPARE(place->longitude, -151.2153);
        QVERIFY(!place->altitude);
    }

    // New positions are markers of their own colour; a click on one selects its row.
    void markersOnTheMap() {
        for (const char* name : {"a", "b", "c"})
            Window()->AddPictures(
                {QFile::encodeName(MakePicture(QString("map/%1.jpg").arg(name)))});
        SelectRows({1, 2});
        ViewTrip(10.5, 20.25);
        QVERIFY(Window()->UseMapPosition());
        QVERIFY(WaitForJs(g_app.pMapView->View()->page(), "PicturesOnMain().length", 2));
        // The circles as drawn, in the colour of a new position; a click where both lie,
        // as the pointer makes one, is the one drawn last's.
        Map("map.setView([picturesDots._lat[0], picturesDots._lng[0]], 12, {animate: false})");
        QVERIFY(WaitUntil([this] {
            return Map("(function () { var d = picturesDots; "
                       "var x = Math.round(d._x[0] - d._bounds.min.x); "
                       "var y = Math.round(d._y[0] - d._bounds.min.y); "
                       "var p = d._ctx.getImageData(x, y, 1, 1).data; "
                       "return p[0] + ',' + p[1] + ',' + p[2]; })()")
                       .toString() == QStringLiteral("232,89,12");
        }));
        Map("(function () { var d = picturesDots; "
            "var p = map.layerPointToContainerPoint([d._x[0], d._y[0]]); "
            "var r = map.getContainer().getBoundingClientRect(); "
            "d._container.dispatchEvent(new MouseEvent('click', {bubbles: true, "
            "clientX: r.left + p.x, clientY: r.top + p.y})); })()");
        QVERIFY(WaitUntil([this] { return Window()->SelectedRows() == QList<int>{2}; }));
        // A map title comes back: it is what the settings keep.
        QVERIFY(WaitUntil([] { return g_app.pMapView->m_strTitle.value_or("").startsWith("("); }));
        // A single selected row is opened as Open Picture opens it.
        QVERIFY(
            WaitUntil([this] { return QFile::encodeName(g_app.szPicture) == List()->Path(2); }));
    }

    // Both maps follow each change by row: a marker moves, goes with its position, and
    // rows after a removed one carry their markers under their new numbers.
    void markersFollowChanges() {
        ShowPicturesWindow();
        QVERIFY(WaitUntil([this] { return Window()->Map()->IsReady(); }, 20000));
        QStringList files;
        for (const char* name : {"a", "b", "c"})
            files << MakePicture(QString("follow/%1.jpg").arg(name));
        AddAndRead(files);
        const auto shown = [this](const QString& expected) {
            const QString markers = QStringLiteral(
                "%1().sort(function (a, b) { return a[0] - b[0]; }).map(function (m) { "
                "return m[0] + ':' + m.slice(1).join(','); }).join(' ')");
            return WaitUntil([&] {
                return Map(markers.arg("PicturesOnMain")).toString() == expected &&
                       EvalJs(Window()->Map()->View()->page(), markers.arg("PicturesOnTrip"))
                               .toString() == expected;
            });
        };
        for (int row = 0; row < 3; ++row)
            List()->SetNewPosition(row, 10 + row, 20, std::nullopt, QDateTime(), "map");
        QVERIFY(shown("0:10,20,1 1:11,20,1 2:12,20,1"));
        List()->ClearNewPosition(1, "discarded");
        List()->SetNewPosition(2, -5.5, 7.25, std::nullopt, QDateTime(), "map");
        QVERIFY(shown("0:10,20,1 2:-5.5,7.25,1"));
        List()->removeRows(0, 1);
        QVERIFY(shown("1:-5.5,7.25,1"));
        List()->removeRows(0, List()->Count());
        QVERIFY(shown(""));
    }

    // Name sorts as people count, time by when it was taken, with the picture's own zone;
    // a visible row gets its thumbnail, decoded from the picture when it embeds none.
    void sortsAndShowsTheRows() {
        const QStringList files{MakePicture("sort/IMG 10.jpg"), MakePicture("sort/IMG 9.jpg"),
                                MakePicture("sort/IMG 100.jpg")};
        QVERIFY(Tag(files[0], {"-DateTimeOriginal=2024:06:15 09:00:00"}));
        QVERIFY(
            Tag(files[1], {"-DateTimeOriginal=2024:06:15 11:00:00", "-OffsetTimeOriginal=+02:00"}));
        QVERIFY(Tag(files[2], {"-DateTimeOriginal=2023:12:31 23:59:59"}));
        const QList<int> rows = AddAndRead(files);
        QCOMPARE(List()->index(rows[1], PictureList::Time).data().toString(),
                 QStringLiteral("2024-06-15 11:00:00 +02:00"));
        const auto order = [this](int column) {
            Table()->sortByColumn(column, Qt::AscendingOrder);
            QStringList names;
            for (int row = 0; row < Table()->model()->rowCount(); ++row)
                names << Table()->model()->index(row, PictureList::Name).data().toString();
            return names;
        };
        QCOMPARE(order(PictureList::Name), (QStringList{"IMG 9.jpg", "IMG 10.jpg", "IMG 100.jpg"}));
        QCOMPARE(order(PictureList::Time), (QStringList{"IMG 100.jpg", "IMG 10.jpg", "IMG 9.jpg"}));
        Table()->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        QVERIFY(WaitUntil([this] {
            return !List()->index(0, PictureList::Thumbnail).data(Qt::DecorationRole).isNull();
        }));
    }

    // A name that is not UTF-8 is read and opened by its own bytes.
    void opensNamesThatAreNotUtf8() {
        const QByteArray name = QFile::encodeName(m_pictures.filePath("bytes/")) + "f\xf6to.jpg";
        const QString made = MakePicture("bytes/made.jpg");
        QCOMPARE(::rename(QFile::encodeName(made).constData(), name.constData()), 0);
        Window()->AddPictures({name});
        QVERIFY(WaitUntil([this] { return Idle(); }, 60000));
        QVERIFY(List()->Info(0).ok);
        g_app.wndInfo->setPlainText("waiting");
        SelectRows({0});
        QVERIFY(WaitUntil([] { return g_app.wndInfo->toPlainText() != "waiting"; }));
        QCOMPARE(QByteArray(g_app.szPicture), name);
        QVERIFY2(g_app.wndInfo->toPlainText().startsWith("This picture has no GPS"),
                 qPrintable(g_app.wndInfo->toPlainText()));
    }

    // A file that is no picture fails with its reason and stays as it was; the others are
    // written, and read again so that "position now" is what the files hold.
    void writesAllButTheFailure() {
        QStringList files;
        for (const char* name : {"a", "b", "c", "d", "e"})
            files << MakePicture(QString("write/%1.jpg").arg(name));
        QFile broken(files[2]);
        QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("not a picture at all\n");
        broken.close();
        const QByteArray brokenBefore = TestPictures::FileBytes(files[2]);
        const QList<int> rows = AddAndRead(files);
        SelectRows(rows);
        ViewTrip(-33.5, 151.25);
        QVERIFY(Window()->UseMapPosition());
        Write();

        QCOMPARE(g_app.wndInfo->toPlainText(),
                 QStringLiteral("GPS information recorded in 4 pictures\n1 failed"));
        QCOMPARE(TestPictures::FileBytes(files[2]), brokenBefore);
        QCOMPARE(List()->StateOf(rows[2]), PictureList::WriteState::Failed);
        QVERIFY(!List()->index(rows[2], PictureList::State).data().toString().endsWith(": "));
        for (int i : {0, 1, 3, 4}) {
            QCOMPARE(List()->StateOf(rows[i]), PictureList::WriteState::Written);
            QCOMPARE(Latitude(files[i]), QStringLiteral("-33.5"));
            QCOMPARE(List()->Info(rows[i]).latitude.value_or(0), -33.5);
        }
    }

    // A format ExifTool cannot write says where its position can go; a match that then finds
    // no place for it leaves it unchanged, not failed with the match's reason.
    void unwritableFormatSaysWhereItCanGo() {
        const QString bmp = m_pictures.filePath("plain.bmp");
        QImage image(16, 12, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(bmp, "BMP"));
        const QList<int> rows = AddAndRead({bmp});
        SelectRows(rows);
        ViewTrip(10.5, 20.25);
        QVERIFY(Window()->UseMapPosition());
        Write();
        QCOMPARE(List()->StateOf(rows[0]), PictureList::WriteState::Failed);
        const QString failed = List()->index(rows[0], PictureList::State).data().toString();
        QVERIFY2(failed.contains("Picture > Write Positions Into"), qPrintable(failed));

        List()->ClearNewPosition(rows[0], "the picture gives no time taken");
        QCOMPARE(List()->StateOf(rows[0]), PictureList::WriteState::Unchanged);
        const QString state = List()->index(rows[0], PictureList::State).data().toString();
        QVERIFY2(!state.contains("no time taken"), qPrintable(state));
    }

    // Cancel stops after the pictures in hand: the rest keep waiting, untouched.
    void cancelsHalfWay() {
        QStringList files;
        QList<QByteArray> before;
        for (int i = 0; i < 60; ++i) {
            files << MakePicture(QString("cancel/%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
            before << TestPictures::FileBytes(files.last());
        }
        const QList<int> rows = AddAndRead(files);
        SelectRows(rows);
        ViewTrip(12.25, -7.5);
        QVERIFY(Window()->UseMapPosition());
        auto* cancel = Window()->findChild<QPushButton*>("cancelBatch");
        QMetaObject::Connection first = connect(
            &Window()->Batch().Runner(), &BatchRunner::pictureWritten, cancel,
            [cancel] { cancel->click(); }, Qt::QueuedConnection);
        Write();
        disconnect(first);

        int written = 0;
        for (int i = 0; i < files.size(); ++i) {
            if (List()->StateOf(rows[i]) == PictureList::WriteState::Written) {
                ++written;
                QCOMPARE(Latitude(files[i]), QStringLiteral("12.25"));
            } else {
                QCOMPARE(List()->StateOf(rows[i]), PictureList::WriteState::Waiting);
                QCOMPARE(TestPictures::FileBytes(files[i]), before[i]);
            }
        }
        QVERIFY2(written > 0 && written < files.size(), qPrintable(QString::number(written)));
        QVERIFY(g_app.wndInfo->toPlainText().contains("Cancelled"));
    }

    // Undo puts back what each picture had: no GPS at all, or its own position.
    void undoesTheLastWrite() {
        const QString bare = MakePicture("undo/bare.jpg");
        const QString placed = MakePicture("undo/placed.jpg");
        QVERIFY(Tag(placed, {"-GPSLatitude=48.5", "-GPSLatitudeRef=N", "-GPSLongitude=2.25",
                             "-GPSLongitudeRef=E"}));
        const QList<int> rows = AddAndRead({bare, placed});
        SelectRows(rows);
        ViewTrip(1.5, 2.5);
        QVERIFY(Window()->UseMapPosition());
        Write();
        QCOMPARE(Latitude(bare), QStringLiteral("1.5"));

        auto* undo = m_main->findChild<QAction*>("undoLastWrite");
        emit qobject_cast<QMenu*>(undo->parent())->aboutToShow();
        QVERIFY(undo->isEnabled());
        g_app.wndInfo->setPlainText("waiting");
        undo->trigger();
        QVERIFY(WaitUntil([this] { return Idle() && g_app.wndInfo->toPlainText() != "waiting"; },
                          60000));
        QCOMPARE(g_app.wndInfo->toPlainText(),
                 QStringLiteral("GPS information put back in 2 pictures"));
        QCOMPARE(Latitude(bare), QString());
        QCOMPARE(Latitude(placed), QStringLiteral("48.5"));
        QVERIFY(!List()->Info(rows[0]).latitude);
        QCOMPARE(List()->Info(rows[1]).latitude.value_or(0), 48.5);
    }

    void remembersPlaceInItsOwnGroup() {
        ShowPicturesWindow();
        Window()->setGeometry(QRect(300, 200, 640, 420));
        Settle(100);
        Window()->hide();
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Kartavo", "Kartavo");
        settings.beginGroup("PicturesWindow");
        QVERIFY(settings.contains("geometry"));
        settings.endGroup();
        settings.beginGroup("Kartavo");
        for (const QString& key : settings.childKeys())
            QVERIFY2(QStringList({"xPos", "yPos", "Position"}).contains(key), qPrintable(key));
        settings.endGroup();
        const QRect place = Window()->geometry();
        delete Window();
        ShowPicturesWindow();
        QVERIFY(QTest::qWaitForWindowExposed(Window()));
        QCOMPARE(Window()->geometry(), place);
    }

    // Closing during a write stops after the pictures in hand: none is killed half way, and
    // no new file is left beside them. Runs last: it ends the program.
    void closingMidWriteLeavesEveryPictureWhole() {
        QStringList files;
        QList<QByteArray> before;
        for (int i = 0; i < 40; ++i) {
            files << MakePicture(QString("closing/%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
            before << TestPictures::FileBytes(files.last());
        }
        SelectRows(AddAndRead(files));
        ViewTrip(-3.75, 8.5);
        QVERIFY(Window()->UseMapPosition());
        bool closed = false;
        connect(
            &Window()->Batch().Runner(), &BatchRunner::pictureWritten, this,
            [this, &closed] {
                if (!closed) {
                    closed = true;
                    StopKartavo(std::move(m_main));
                }
            },
            Qt::QueuedConnection);
        Window()->findChild<QPushButton*>("writeChanges")->click();
        QVERIFY(WaitUntil([&] { return closed; }, 60000));

        const QStringList left =
            QDir(m_pictures.filePath("closing")).entryList(QDir::Hidden | QDir::Files);
        QCOMPARE(left.size(), files.size());
        int written = 0;
        for (int i = 0; i < files.size(); ++i) {
            if (TestPictures::FileBytes(files[i]) == before[i])
                continue;
            QCOMPARE(Latitude(files[i]), QStringLiteral("-3.75"));
            ++written;
        }
        QVERIFY2(written > 0 && written < files.size(), qPrintable(QString::number(written)));
    }
};

QTEST_MAIN(TestPicturesWindow)
#include "test_pictures_window.moc"
