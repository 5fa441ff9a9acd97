#include "BatchRecorder.h"
#include "TestPictures.h"

#include "pictures/BatchJournal.h"
#include "pictures/BatchRunner.h"
#include "pictures/Leftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestPictures;

namespace {

const QStringList WRITTEN_TAGS{"GPS:GPSVersionID",    "GPS:GPSLatitudeRef", "GPS:GPSLatitude",
                               "GPS:GPSLongitudeRef", "GPS:GPSLongitude",   "GPS:GPSAltitudeRef",
                               "GPS:GPSAltitude",     "GPS:GPSDateStamp",   "GPS:GPSTimeStamp"};

QString Name(const QByteArray& path) {
    return QFile::decodeName(path);
}

QByteArray Run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return "(" + program.toUtf8() + " failed)";
    return process.readAllStandardOutput();
}

// ExifTool's tags less those a GPS write may change: the File and System groups, the
// computed ones, the GPS block, and offsets that move when the block grows.
QByteArray EverythingButGps(const QByteArray& path) {
    QByteArray kept;
    for (const QByteArray& line :
         Run("exiftool", {"-a", "-G1", "-s", "-n", Name(path)}).split('\n'))
        if (!line.startsWith("[File]") && !line.startsWith("[System]") &&
            !line.startsWith("[Composite]") && !line.startsWith("[GPS]") &&
            !line.startsWith("[ExifTool]") && !line.contains("ThumbnailOffset") &&
            !line.contains("MPImageStart"))
            kept += line + '\n';
    return kept;
}

QByteArray GpsDump(const QByteArray& path) {
    return Run("exiftool", {"-a", "-G1", "-s", "-n", "-GPS:all", Name(path)});
}

// ExifTool's verbose listing names every directory it finds, empty ones too.
bool HasGpsDirectory(const QByteArray& path) {
    return Run("exiftool", {"-v2", Name(path)}).contains("GPS directory");
}

QByteArray Pixels(const QByteArray& path) {
    return Run("identify", {"-format", "%#", Name(path)});
}

QStringList LeftOvers(const QString& folder) {
    return QDir(folder).entryList({".kartavo-*"}, QDir::Files | QDir::Hidden | QDir::System);
}

// Sets tags with ExifTool's command line, numbers as numbers.
bool Tag(const QByteArray& path, const QStringList& assignments) {
    QProcess process;
    process.start("exiftool", QStringList{"-q", "-n", "-overwrite_original"} + assignments +
                                  QStringList{Name(path)});
    return process.waitForFinished(60000) && process.exitCode() == 0;
}

// A picture of a camera's kind: maker notes (a small Canon block), a date, and an
// embedded JPEG thumbnail, put in by ExifTool as a camera's firmware would.
bool MakeCameraJpeg(const QString& path, const QString& folder) {
    const QString plain = folder + "/plain.jpg", thumb = folder + "/thumb.jpg";
    QImage image(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    if (!image.save(plain, "JPG", 90) || !image.scaled(160, 120).save(thumb, "JPG", 80))
        return false;
    return AddCameraTags(plain, thumb, path);
}

// A bigger picture, so that a write takes long enough to be cancelled in the middle.
bool MakeNoisyJpeg(const QString& path) {
    QImage image(1600, 1200, QImage::Format_RGB32);
    quint32 seed = 7;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1103515245u + 12345u;
            line[x] = qRgb(x % 256, (seed >> 16) % 256, y % 256);
        }
    }
    return image.save(path, "JPG", 92);
}

PictureWrite At(const QByteArray& path, double latitude, double longitude,
                std::optional<double> altitude = std::nullopt, const QDateTime& time = {}) {
    PictureWrite write;
    write.path = path;
    write.latitude = latitude;
    write.longitude = longitude;
    write.altitude = altitude;
    write.utcTime = time;
    return write;
}

// Loads a module into every Perl started meanwhile, through PERL5OPT.
class PerlHook {
public:
    PerlHook(const QString& folder, const QByteArray& name, const QByteArray& source) {
        QFile module(folder + "/" + name + ".pm");
        module.open(QIODevice::WriteOnly);
        module.write("package " + name + ";\n" + source + "\n1;\n");
        module.close();
        qputenv("PERL5OPT", "-I" + QFile::encodeName(folder) + " -M" + name);
    }
    ~PerlHook() { qunsetenv("PERL5OPT"); }
};

// Makes the batch script kill itself with SIGKILL at its rename, before or right after it.
class KillAtRename : PerlHook {
public:
    KillAtRename(const QString& folder, const QByteArray& when)
        : PerlHook(folder, "KillAtRename",
                   "BEGIN {\n"
                   "  *CORE::GLOBAL::rename = sub {\n"
                   "    kill 'KILL', $$ if $ENV{KILL_AT_RENAME} eq 'before';\n"
                   "    my $done = CORE::rename($_[0], $_[1]);\n"
                   "    kill 'KILL', $$;\n"
                   "    return $done;\n"
                   "  };\n"
                   "}") {
        qputenv("KILL_AT_RENAME", when);
    }
    ~KillAtRename() { qunsetenv("KILL_AT_RENAME"); }
};

// Makes the batch script stop for two seconds at its first rename or link (a new sidecar
// is linked into place), after it has made the file "paused" in folder, so that a Cancel
// comes right then.
class PauseAt : PerlHook {
public:
    PauseAt(const QString& folder, const QByteArray& call)
        : PerlHook(folder, "PauseAt",
                   "my $paused;\n"
                   "sub Pause { return if $paused++; open(my $m, '>', $ENV{PAUSE_MARKER});\n"
                   "  close $m; sleep 2; }\n"
                   "BEGIN { *CORE::GLOBAL::" +
                       call + " = sub { Pause(); return CORE::" + call + "($_[0], $_[1]); }; }"),
          m_marker(folder + "/paused") {
        qputenv("PAUSE_MARKER", QFile::encodeName(m_marker));
    }
    ~PauseAt() { qunsetenv("PAUSE_MARKER"); }
    bool Paused() const { return QFile::exists(m_marker); }

private:
    QString m_marker;
};

} // namespace

class BatchRunnerTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanupTestCase();
    void readMany_data();
    void readMany();
    void thumbnailFileGoesWithItsLastThumbnail();
    void writeWithFailureInMiddle();
    void cancelHalfWay();
    void undoAfterRestart();
    void undoTwoWritesInTurn();
    void killedMidWrite_data();
    void killedMidWrite();
    void cancelWhileFilePutInPlace_data();
    void cancelWhileFilePutInPlace();
    void everythingButGpsUnchanged();
    void minorExifToolFaultIsExplained();
    void journalOnDiskBeforeRename();
    void permissionsFlushedWithFile();
    void writeOverBothLanes();
    void preparedScriptsKilled_data();
    void preparedScriptsKilled();
    void pictureOnOtherFileSystem();

private:
    QByteArray Picture(const QByteArray& name);
    QByteArray Folder() const { return QFile::encodeName(m_dir->path()); }
    std::unique_ptr<BatchRunner> Runner();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_journal;
    // The read of all readMany rows at once, made by its first row.
    std::unique_ptr<QTemporaryDir> m_readDir;
    QList<QByteArray> m_readNames;
    QMap<int, PictureRead> m_reads;
};

void BatchRunnerTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_journal = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid() && m_journal->isValid());
}

void BatchRunnerTest::cleanupTestCase() {
    // QDir cannot name a file whose name is not in the locale's encoding.
    if (m_readDir)
        unlink((QFile::encodeName(m_readDir->path()) + "/\xff\xfe.jpg").constData());
}

QByteArray BatchRunnerTest::Picture(const QByteArray& name) {
    const QByteArray path = Folder() + '/' + name;
    const QString plain = m_dir->filePath("made.jpg");
    if (!MakeJpeg(plain) || rename(QFile::encodeName(plain).constData(), path.constData()) != 0)
        return {};
    return path;
}

std::unique_ptr<BatchRunner> BatchRunnerTest::Runner() {
    auto runner = std::make_unique<BatchRunner>();
    runner->SetJournalFolder(m_journal->path());
    return runner;
}

void BatchRunnerTest::readMany_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("ok");
    // Expected position as "lat lon alt" ("" for none), or the reason's start.
    QTest::addColumn<QString>("expected");

    QTest::newRow("position, date, zone, thumbnail")
        << QByteArray("a.jpg") << "camera" << true << "-33.5 151.25 40";
    QTest::newRow("negative altitude")
        << QByteArray("below.jpg") << "below" << true << "10 -20 -12.5";
    QTest::newRow("unknown altitude 0/0")
        << QByteArray("zero.jpg") << "unknown altitude" << true << "10 -20 ";
    QTest::newRow("position in XMP only")
        << QByteArray("xmp.jpg") << "xmp" << true << "-12.5 33.25 ";
    QTest::newRow("position in its sidecars: NAME.xmp, as set, before NAME.EXT.xmp")
        << QByteArray("side.jpg") << "plain, two sidecars" << true << "5 6 ";
    QTest::newRow("no GPS") << QByteArray("none.jpg") << "plain" << true << "";
    QTest::newRow("blank") << QByteArray("with blank.jpg") << "plain" << true << "";
    QTest::newRow("quotes") << QByteArray("it's \"q\".jpg") << "plain" << true << "";
    QTest::newRow("newline, tab, backslash")
        << QByteArray("new\nline\t\\.jpg") << "plain" << true << "";
    QTest::newRow("leading dash") << QByteArray("-n.jpg") << "plain" << true << "";
    QTest::newRow("not UTF-8") << QByteArray("\xff\xfe.jpg") << "plain" << true << "";
    QTest::newRow("link") << QByteArray("link.jpg") << "link to a.jpg" << true << "-33.5 151.25 40";
    QTest::newRow("BMP: read, not writable") << QByteArray("p.bmp") << "bmp" << true << "BMP";
    QTest::newRow("GIF: read, not writable") << QByteArray("p.gif") << "gif" << true << "GIF";
    QTest::newRow("not a picture")
        << QByteArray("text.jpg") << "text" << false << "it is not a picture";
    QTest::newRow("folder") << QByteArray("folder.jpg") << "folder" << false
                            << "it is a folder, not a picture";
    QTest::newRow("dangling link") << QByteArray("gone.jpg") << "dangling link" << false
                                   << "cannot open it: No such file or directory";
}

void BatchRunnerTest::readMany() {
    QFETCH(QByteArray, name);
    QFETCH(QString, kind);
    QFETCH(bool, ok);
    QFETCH(QString, expected);

    if (!m_readDir) {
        // Every row's file in one folder, read by one call.
        m_readDir = std::make_unique<QTemporaryDir>();
        std::swap(m_dir, m_readDir);
        const QList<QByteArray> names{"a.jpg",          "below.jpg",         "zero.jpg",
                                      "xmp.jpg",        "none.jpg",          "with blank.jpg",
                                      "it's \"q\".jpg", "new\nline\t\\.jpg", "-n.jpg",
                                      "\xff\xfe.jpg",   "link.jpg",          "p.bmp",
                                      "p.gif",          "text.jpg",          "folder.jpg",
                                      "gone.jpg",       "side.jpg"};
        for (const QByteArray& each : names)
            QVERIFY(!Picture(each).isEmpty());
        const QByteArray folder = Folder();
        QVERIFY(
            Tag(folder + "/a.jpg", {"-GPSLatitude=33.5", "-GPSLatitudeRef=S",
                                    "-GPSLongitude=151.25", "-GPSLongitudeRef=E", "-GPSAltitude=40",
                                    "-GPSAltitudeRef=0", "-DateTimeOriginal=2024:05:06 07:08:09",
                                    "-SubSecTimeOriginal=5", "-OffsetTimeOriginal=+10:00"}));
        QVERIFY(MakeJpeg(m_dir->filePath("thumb.jpg")));
        QVERIFY(Tag(folder + "/a.jpg", {"-ThumbnailImage<=" + m_dir->filePath("thumb.jpg")}));
        QVERIFY(Tag(folder + "/below.jpg",
                    {"-GPSLatitude=10", "-GPSLatitudeRef=N", "-GPSLongitude=20",
                     "-GPSLongitudeRef=W", "-GPSAltitude=12.5", "-GPSAltitudeRef=1"}));
        QVERIFY(Tag(folder + "/xmp.jpg",
                    {"-XMP-exif:GPSLatitude=-12.5", "-XMP-exif:GPSLongitude=33.25"}));
        QVERIFY(Tag(folder + "/side.xmp", {"-XMP-exif:GPSLatitude=5", "-XMP-exif:GPSLongitude=6"}));
        QVERIFY(
            Tag(folder + "/side.jpg.xmp", {"-XMP-exif:GPSLatitude=7", "-XMP-exif:GPSLongitude=8"}));
        QVERIFY(SetRawTags(Name(folder + "/zero.jpg"), {{"GPS:GPSLatitude", "10/1 0/1 0/1"},
                                                        {"GPS:GPSLatitudeRef", "N"},
                                                        {"GPS:GPSLongitude", "20/1 0/1 0/1"},
                                                        {"GPS:GPSLongitudeRef", "W"},
                                                        {"GPS:GPSAltitudeRef", "0"},
                                                        {"GPS:GPSAltitude", "0/0"}}));
        for (const char* format : {"bmp", "gif"})
            QVERIFY(QProcess::execute("convert", {Name(folder + "/none.jpg"),
                                                  Name(folder + "/p." + format)}) == 0);
        QVERIFY(unlink((folder + "/link.jpg").constData()) == 0);
        QVERIFY(symlink("a.jpg", (folder + "/link.jpg").constData()) == 0);
        QVERIFY(unlink((folder + "/folder.jpg").constData()) == 0);
        QVERIFY(mkdir((folder + "/folder.jpg").constData(), 0700) == 0);
        QVERIFY(unlink((folder + "/gone.jpg").constData()) == 0);
        QVERIFY(symlink("nowhere.jpg", (folder + "/gone.jpg").constData()) == 0);
        {
            QFile text(Name(folder + "/text.jpg"));
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("just some words\n");
        }
        QList<QByteArray> paths;
        for (const QByteArray& each : names)
            paths << folder + '/' + each;
        m_readNames = names;
        auto runner = Runner();
        // Started ahead: the names reach the scripts through their input.
        runner->Prepare(BatchRunner::Next::Read);
        QVERIFY(QTest::qWaitFor([&] { return runner->IsPrepared(); }, 10000));
        BatchRecorder recorder(*runner);
        QVERIFY(runner->Read(paths));
        QVERIFY(!runner->Read(paths)); // busy
        QVERIFY(recorder.Wait());
        QVERIFY(recorder.onOwnThread);
        QCOMPARE(recorder.reads.size(), names.size());
        QCOMPARE(recorder.lastDone, names.size());
        QCOMPARE(recorder.failed, 3);
        m_reads = recorder.reads;
        std::swap(m_dir, m_readDir);
    }
    Q_UNUSED(kind);

    const int index = m_readNames.indexOf(name);
    QVERIFY(index >= 0);
    const PictureRead read = m_reads.value(index);
    QCOMPARE(read.ok, ok);
    if (!ok) {
        QVERIFY2(read.reason.startsWith(expected), qPrintable(read.reason));
        return;
    }
    if (expected == "BMP" || expected == "GIF") {
        QVERIFY(!read.writable);
        QVERIFY2(read.unwritableReason.contains(expected), qPrintable(read.unwritableReason));
        return;
    }
    QVERIFY(read.writable);
    QCOMPARE(read.mimeType, QString("image/jpeg"));
    QString position;
    if (read.latitude)
        position = QString("%1 %2 %3")
                       .arg(*read.latitude)
                       .arg(*read.longitude)
                       .arg(read.altitude ? QString::number(*read.altitude) : QString());
    QCOMPARE(position, expected);
    if (name == "a.jpg") {
        QCOMPARE(read.dateTime, QString("2024:05:06 07:08:09.5"));
        QCOMPARE(read.offset, QString("+10:00"));
        // Kept in the run's thumbnail file, not in memory.
        QVERIFY(read.thumbnail.bytes.isEmpty());
        const QByteArray thumbnail = read.thumbnail.Bytes();
        QVERIFY(thumbnail.startsWith("\xff\xd8"));
        QCOMPARE(QImage::fromData(thumbnail).size(), QSize(64, 48));
    }
}

void BatchRunnerTest::thumbnailFileGoesWithItsLastThumbnail() {
    EmbeddedThumbnail thumbnail;
    thumbnail.store = ThumbnailStore::Make();
    QVERIFY(thumbnail.store);
    const QString path = thumbnail.store->Path();
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("first\xff\xd8second");
    }
    thumbnail.offset = 5;
    thumbnail.length = 8;
    QCOMPARE(thumbnail.Bytes(), QByteArray("\xff\xd8second"));
    thumbnail.length = 9; // past the end
    QVERIFY(thumbnail.Bytes().isEmpty());
    EmbeddedThumbnail copy = thumbnail;
    thumbnail = EmbeddedThumbnail();
    QVERIFY(QFile::exists(path));
    copy = EmbeddedThumbnail();
    QVERIFY(!QFile::exists(path));
}

void BatchRunnerTest::writeWithFailureInMiddle() {
    const QByteArray target = Picture("target.jpg");
    const QByteArray link = Folder() + "/link.jpg";
    QVERIFY(symlink("target.jpg", link.constData()) == 0);
    const QByteArray text = Folder() + "/text.jpg";
    {
        QFile file(Name(text));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture\n");
    }
    const QByteArray textBytes = FileBytes(Name(text));
    const QByteArray blank = Picture("a blank.jpg");
    const QByteArray high = Picture("high.jpg");
    QVERIFY(Tag(high, {"-GPSAltitude=100", "-GPSAltitudeRef=0"}));
    const QByteArray first = Picture("first.jpg");
    const QByteArray bmp = Folder() + "/p.bmp";
    QVERIFY(QImage(Name(first)).save(Name(bmp), "BMP"));
    const QByteArray bmpBytes = FileBytes(Name(bmp));

    auto runner = Runner();
    BatchRecorder recorder(*runner);
    const QDateTime time(QDate(2026, 12, 7), QTime(10, 11, 12, 345), Qt::UTC);
    QVERIFY(runner->Write({At(first, 10.1234567, -20.7654321, 123.4, time), At(link, 1, 2),
                           At(text, 3, 4), At(blank, -45.5, 170.25, -7.25), At(high, 5, 6),
                           At(bmp, 7, 8)}));
    QVERIFY(recorder.Wait());
    QCOMPARE(recorder.succeeded, 4);
    QCOMPARE(recorder.failed, 2);
    QVERIFY(!recorder.writes[2].first);
    QVERIFY2(!recorder.writes[2].second.isEmpty(), "a failure says why");
    QCOMPARE(FileBytes(Name(text)), textBytes);
    QCOMPARE(recorder.writes[5], qMakePair(false, QString("ExifTool cannot write BMP files")));
    QCOMPARE(FileBytes(Name(bmp)), bmpBytes);

    const auto tags = ReadTags(Name(first), WRITTEN_TAGS);
    QCOMPARE(tags["GPS:GPSVersionID"], QString("2 2 0 0"));
    QCOMPARE(tags["GPS:GPSLatitudeRef"], QString("N"));
    QCOMPARE(tags["GPS:GPSLatitude"], QString("10/1 7/1 24444120/1000000"));
    QCOMPARE(tags["GPS:GPSLongitudeRef"], QString("W"));
    QCOMPARE(tags["GPS:GPSLongitude"], QString("20/1 45/1 55555560/1000000"));
    QCOMPARE(tags["GPS:GPSAltitudeRef"], QString("0"));
    QCOMPARE(tags["GPS:GPSAltitude"], QString("1234000/10000"));
    QCOMPARE(tags["GPS:GPSDateStamp"], QString("2026:12:07"));
    QCOMPARE(tags["GPS:GPSTimeStamp"], QString("10/1 11/1 12345/1000"));

    // A link stays a link; its target gets the position.
    QVERIFY(QFileInfo(Name(link)).isSymLink());
    QCOMPARE(ReadTags(Name(target), {"GPS:GPSLatitude"})["GPS:GPSLatitude"],
             QString("1/1 0/1 0/1000000"));
    // Below sea level: the size, with reference 1.
    const auto below = ReadTags(Name(blank), {"GPS:GPSAltitudeRef", "GPS:GPSAltitude"});
    QCOMPARE(below["GPS:GPSAltitudeRef"], QString("1"));
    QCOMPARE(below["GPS:GPSAltitude"], QString("72500/10000"));
    // No altitude given: the picture's own stays.
    QCOMPARE(ReadTags(Name(high), {"GPS:GPSAltitude"})["GPS:GPSAltitude"], QString("100/1"));
    QCOMPARE(LeftOvers(m_dir->path()), QStringList());

    // And they read back signed.
    BatchRecorder reread(*runner);
    QVERIFY(runner->Read({first, blank}));
    QVERIFY(reread.Wait());
    QCOMPARE(*reread.reads[0].latitude, 10.1234567);
    QCOMPARE(*reread.reads[0].longitude, -20.7654321);
    QCOMPARE(*reread.reads[1].altitude, -7.25);
}

void BatchRunnerTest::cancelHalfWay() {
    const QString made = m_dir->filePath("made.jpg");
    QVERIFY(MakeNoisyJpeg(made));
    const QByteArray original = FileBytes(made);
    QList<PictureWrite> writes;
    for (int i = 0; i < 30; ++i) {
        const QString path = m_dir->filePath(QString("p%1.jpg").arg(i));
        QVERIFY(QFile::copy(made, path));
        writes << At(QFile::encodeName(path), 48.1, 11.5);
    }
    auto runner = Runner();
    BatchRecorder recorder(*runner);
    int written = 0;
    recorder.onWritten = [&](int) {
        if (++written == 3)
            runner->Cancel();
    };
    QVERIFY(runner->Write(writes));
    QVERIFY(recorder.Wait());
    QVERIFY(recorder.cancelled);
    QCOMPARE(recorder.writes.size(), 30);
    QCOMPARE(recorder.failed, 0);
    QVERIFY2(recorder.succeeded >= 3 && recorder.succeeded < 20,
             qPrintable(QString::number(recorder.succeeded)));
    for (int i = 0; i < 30; ++i) {
        const QString path = Name(writes[i].path);
        const QString latitude = ReadTags(path, {"GPS:GPSLatitude"})["GPS:GPSLatitude"];
        if (recorder.writes[i].first) {
            QCOMPARE(latitude, QString("48/1 6/1 0/1000000"));
        } else {
            QVERIFY2(recorder.writes[i].second.startsWith("Cancelled"),
                     qPrintable(recorder.writes[i].second));
            QCOMPARE(FileBytes(path), original);
        }
    }
    QCOMPARE(LeftOvers(m_dir->path()), QStringList());
}

void BatchRunnerTest::undoAfterRestart() {
    const QByteArray bare = Picture("bare.jpg");
    QVERIFY(!HasGpsDirectory(bare));
    const QByteArray below = Picture("below.jpg");
    QVERIFY(Tag(below, {"-GPSVersionID=2 3 0 0", "-GPSLatitude=10.5", "-GPSLatitudeRef=S",
                        "-GPSLongitude=20.25", "-GPSLongitudeRef=W", "-GPSAltitude=12.5",
                        "-GPSAltitudeRef=1", "-GPSMapDatum=WGS-84"}));
    const QByteArray changed = Picture("changed.jpg");
    const QByteArray bareRest = EverythingButGps(bare), belowRest = EverythingButGps(below);
    const QByteArray belowGps = GpsDump(below);
    QVERIFY(belowGps.contains("GPSAltitudeRef                  : 1"));

    {
        auto runner = Runner();
        QVERIFY(!runner->CanUndo());
        BatchRecorder recorder(*runner);
        const QDateTime time(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC);
        QVERIFY(
            runner->Write({At(bare, 1, 2, 3, time), At(below, 4, 5, 6, time), At(changed, 7, 8)}));
        QVERIFY(recorder.Wait());
        QCOMPARE(recorder.succeeded, 3);
        QVERIFY(runner->CanUndo());
    }
    QVERIFY(Tag(changed, {"-Artist=Someone else"}));
    const QByteArray changedBytes = FileBytes(Name(changed));

    // A new runner knows the write from its journal alone.
    auto runner = Runner();
    QVERIFY(runner->CanUndo());
    BatchRecorder recorder(*runner);
    QVERIFY(runner->UndoLast());
    QVERIFY(recorder.Wait());
    QCOMPARE(recorder.undone.size(), 3);
    QVERIFY(recorder.UndoneOf(bare) && recorder.UndoneOf(bare)->ok);
    QVERIFY(recorder.UndoneOf(below) && recorder.UndoneOf(below)->ok);
    const auto* notUndone = recorder.UndoneOf(changed);
    QVERIFY(notUndone && !notUndone->ok);
    QVERIFY2(notUndone->reason.contains("changed"), qPrintable(notUndone->reason));
    QCOMPARE(recorder.succeeded, 2);
    QCOMPARE(recorder.failed, 1);

    QVERIFY(!HasGpsDirectory(bare));
    QCOMPARE(GpsDump(below), belowGps);
    QCOMPARE(EverythingButGps(bare), bareRest);
    QCOMPARE(EverythingButGps(below), belowRest);
    QCOMPARE(FileBytes(Name(changed)), changedBytes);
    QVERIFY(!runner->CanUndo());
    QVERIFY(!runner->UndoLast());
}

void BatchRunnerTest::undoTwoWritesInTurn() {
    const QByteArray picture = Picture("twice.jpg");
    auto runner = Runner();
    // Named from the folder the program runs in; undone from another one.
    const QString folder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    for (double latitude : {1.0, 2.0}) {
        BatchRecorder recorder(*runner);
        QVERIFY(runner->Write({At("twice.jpg", latitude, 3)}));
        QVERIFY(recorder.Wait());
        QCOMPARE(recorder.succeeded, 1);
    }
    QVERIFY(QDir::setCurrent(folder));
    // Each undo takes back one write: the first write's journal still knows the
    // picture after the second write was undone.
    for (const QString& expected : {QString("1/1 0/1 0/1000000"), QString()}) {
        BatchRecorder recorder(*runner);
        QVERIFY(runner->UndoLast());
        QVERIFY(recorder.Wait());
        QCOMPARE(recorder.succeeded, 1);
        QCOMPARE(ReadTags(Name(picture), {"GPS:GPSLatitude"})["GPS:GPSLatitude"], expected);
    }
    QVERIFY(!HasGpsDirectory(picture));
    QVERIFY(!runner->CanUndo());
}

void BatchRunnerTest::killedMidWrite_data() {
    QTest::addColumn<QByteArray>("when");
    QTest::newRow("before the rename") << QByteArray("before");
    QTest::newRow("right after the rename: the new file is complete") << QByteArray("after");
}

void BatchRunnerTest::killedMidWrite() {
    QFETCH(QByteArray, when);
    const QByteArray picture = Picture("p.jpg");
    const QByteArray pixels = Pixels(picture);
    QVERIFY(!pixels.isEmpty());
    {
        QTemporaryDir modules;
        KillAtRename kill(modules.path(), when);
        auto runner = Runner();
        BatchRecorder recorder(*runner);
        QVERIFY(runner->Write({At(picture, 12.5, 13.5)}));
        QVERIFY(recorder.Wait());
        QCOMPARE(recorder.failed, 1);
        QVERIFY2(recorder.writes[0].second.contains("killed"),
                 qPrintable(recorder.writes[0].second));
    }
    // Old or new, whole and readable.
    QCOMPARE(Pixels(picture), pixels);
    QVERIFY(EverythingButGps(picture).contains("[IFD0]") || when == "before");
    const QString latitude = ReadTags(Name(picture), {"GPS:GPSLatitude"})["GPS:GPSLatitude"];
    QCOMPARE(latitude, when == "before" ? QString() : QString("12/1 30/1 0/1000000"));
    QCOMPARE(LeftOvers(m_dir->path()).size(), when == "before" ? 1 : 0);

    // At the next start, leftovers of dead runs go; a live run's file stays.
    const QString live = m_dir->filePath(QString(".kartavo-%1-AbCd12.tmp").arg(getpid()));
    QVERIFY(QFile(live).open(QIODevice::WriteOnly));
    QCOMPARE(Leftovers::Remove(m_journal->path()), when == "before" ? 1 : 0);
    QCOMPARE(LeftOvers(m_dir->path()), QStringList(QFileInfo(live).fileName()));
    QVERIFY(QFile::remove(live));

    // Killed before the rename, the picture was never changed: nothing is put back.
    auto runner = Runner();
    BatchRecorder recorder(*runner);
    QVERIFY(runner->UndoLast());
    QVERIFY(recorder.Wait());
    QCOMPARE(recorder.succeeded, when == "before" ? 0 : 1);
    QVERIFY(!HasGpsDirectory(picture));

    // The next write in the folder clears what the killed run left.
    BatchRecorder again(*runner);
    QVERIFY(runner->Write({At(picture, 1, 1)}));
    QVERIFY(again.Wait());
    QCOMPARE(again.succeeded, 1);
    QCOMPARE(LeftOvers(m_dir->path()), QStringList());
}

void BatchRunnerTest::cancelWhileFilePutInPlace_data() {
    QTest::addColumn<QByteArray>("call");
    QTest::addColumn<bool>("sidecar");
    QTest::newRow("picture renamed over") << QByteArray("rename") << false;
    QTest::newRow("new sidecar linked in") << QByteArray("link") << true;
}

// Whatever moment Cancel comes, a file changed is reported written and can be undone.
void BatchRunnerTest::cancelWhileFilePutInPlace() {
    QFETCH(QByteArray, call);
    QFETCH(bool, sidecar);
    const QByteArray picture = Picture("p.jpg");
    const QByteArray side = Folder() + "/p.xmp";
    PictureWrite write = At(picture, 12.5, 13.5);
    if (sidecar)
        write.sidecar = side;
    auto runner = Runner();
    {
        QTemporaryDir modules;
        PauseAt pause(modules.path(), call);
        BatchRecorder recorder(*runner);
        QVERIFY(runner->Write({write}));
        QTRY_VERIFY_WITH_TIMEOUT(pause.Paused(), 30000);
        runner->Cancel();
        QVERIFY(recorder.Wait());
        QVERIFY2(recorder.writes[0].first, qPrintable(recorder.writes[0].second));
    }
    const QString written = Name(sidecar ? side : picture);
    const QString tag = sidecar ? "XMP:GPSLatitude" : "GPS:GPSLatitude";
    QVERIFY(!ReadTags(written, {tag}).value(tag).isEmpty());

    BatchRecorder recorder(*runner);
    QVERIFY(runner->UndoLast());
    QVERIFY(recorder.Wait());
    QCOMPARE(recorder.succeeded, 1);
    QVERIFY(sidecar ? !QFile::exists(written) : !HasGpsDirectory(picture));
}

void BatchRunnerTest::everythingButGpsUnchanged() {
    const QByteArray camera = Folder() + "/camera.jpg";
    QVERIFY(MakeCameraJpeg(Name(camera), m_dir->path()));
    const QByteArray before = EverythingButGps(camera);
    QVERIFY2(before.contains("[Canon]") && before.contains("SerialNumber") &&
                 before.contains("ThumbnailImage"),
             before.constData());
    const QByteArray pixels = Pixels(camera);

    auto runner = Runner();
    BatchRecorder recorder(*runner);
    QVERIFY(runner->Write({At(camera, -1.25, 2.5, -3, QDateTime::currentDateTimeUtc())}));
    QVERIFY(recorder.Wait());
    QCOMPARE(recorder.succeeded, 1);
    QVERIFY(GpsDump(camera).contains("GPSLatitude"));
    QCOMPARE(EverythingButGps(camera), before);
    QCOMPARE(Pixels(camera), pixels);
}

void BatchRunnerTest::minorExifToolFaultIsExplained() {
    const QByteArray picture = Folder() + "/loop.jpg";
    QVERIFY(MakeSelfLinkedJpeg(Name(picture)));
    const QByteArray bytes = FileBytes(Name(picture));

    auto runner = Runner();
    BatchRecorder recorder(*runner);
    QVERIFY(runner->Write({At(picture, 1, 2)}));
    QVERIFY(recorder.Wait());
    const QString reason = recorder.writes[0].second;
    QVERIFY(!recorder.writes[0].first);
    QVERIFY2(reason.contains("so it was left unchanged; a sidecar can hold its position") &&
                 !reason.contains("[minor]"),
             qPrintable(reason));
    QCOMPARE(FileBytes(Name(picture)), bytes);
}

// Power-cut safety: the pictures' records are flushed before the first picture is renamed.
void BatchRunnerTest::journalOnDiskBeforeRename() {
    const QByteArray picture = Picture("p.jpg");
    QTemporaryDir modules;
    const QString log = modules.filePath("flush.log");
    const QProcessEnvironment hook = RenameHookEnvironment(modules.path(), "log", log);
    for (const char* name : {"PERL5LIB", "PERL5OPT", "KARTAVO_RENAME_HOOK", "KARTAVO_RENAME_LOG"})
        qputenv(name, hook.value(name).toUtf8());
    auto runner = Runner();
    BatchRecorder recorder(*runner);
    QVERIFY(runner->Write({At(picture, 1, 2)}));
    const bool finished = recorder.Wait();
    for (const char* name : {"PERL5LIB", "PERL5OPT", "KARTAVO_RENAME_HOOK", "KARTAVO_RENAME_LOG"})
        qunsetenv(name);
    QVERIFY(finished && recorder.succeeded == 1);
    const QStringList journals = QDir(m_journal->path()).entryList({"*.journal"});
    QCOMPARE(journals.size(), 1);
    const QString journal = "sync " + FileId(m_journal->filePath(journals[0]));
    const QStringList lines = QString::fromUtf8(FileBytes(log)).split('\n', Qt::SkipEmptyParts);
    const qsizetype rename = lines.indexOf(QRegularExpression("rename .*"));
    QVERIFY2(rename > 0, qPrintable(lines.join(" / ")));
    // Once when the journal is made, once for the picture's record.
    QCOMPARE(lines.mid(0, rename).count(journal), 2);
}

// A power cut after the rename finds the picture's permissions, not the new file's own:
// they are given before the file is flushed.
void BatchRunnerTest::permissionsFlushedWithFile() {
    const QByteArray picture = Picture("p.jpg");
    QVERIFY(chmod(picture.constData(), 0640) == 0);
    const QString log = m_dir->filePath("modes.log");
    {
        PerlHook hook(
            m_dir->path(), "ModeAtFlush",
            "use IO::Handle ();\n"
            "my $sync = \\&IO::Handle::sync;\n"
            "no warnings 'redefine';\n"
            "*IO::Handle::sync = sub {\n"
            "  my @s = stat $_[0];\n"
            "  if (-f _ and open(my $log, '>>', $ENV{MODE_LOG})) {\n"
            "    printf $log \"%d:%d %o\\n\", $s[0], $s[1], $s[2] & 07777; close $log; }\n"
            "  return $sync->(@_);\n"
            "};");
        qputenv("MODE_LOG", QFile::encodeName(log));
        auto runner = Runner();
        BatchRecorder recorder(*runner);
        QVERIFY(runner->Write({At(picture, 1, 2)}));
        QVERIFY(recorder.Wait());
        qunsetenv("MODE_LOG");
        QCOMPARE(recorder.succeeded, 1);
    }
    const QStringList lines = QString::fromUtf8(FileBytes(log)).split('\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.contains(FileId(Name(picture)) + " 640"), qPrintable(lines.join(" / ")));
}

// Two lanes write side by side: every record has an id of its own, and an undo puts
// each picture back once.
void BatchRunnerTest::writeOverBothLanes() {
    QList<PictureWrite> writes;
    for (int i = 0; i < 4; ++i)
        writes << At(Picture(QByteArray("p") + char('0' + i) + ".jpg"), i + 1, 2);
    auto runner = Runner();
    runner->Prepare(BatchRunner::Next::Write);
    QVERIFY(QTest::qWaitFor([&] { return runner->IsPrepared(); }, 10000));
    {
        BatchRecorder recorder(*runner);
        QVERIFY(runner->Write(writes));
        QVERIFY(recorder.Wait());
        QCOMPARE(recorder.succeeded, 4);
        QVERIFY(!runner->IsPrepared()); // both lanes took theirs
    }
    QList<BatchJournal::Entry> entries;
    QString error;
    const QString journal = QDir(m_journal->path()).entryList({"*.journal"}).value(0);
    QVERIFY(BatchJournal::Read(m_journal->filePath(journal), entries, error));
    QSet<QByteArray> ids;
    for (const BatchJournal::Entry& entry : entries)
        ids.insert(entry.id);
    QCOMPARE(ids.size(), 4);

    BatchRecorder recorder(*runner);
    QVERIFY(runner->UndoLast());
    QVERIFY(recorder.Wait());
    QCOMPARE(recorder.succeeded, 4);
    QCOMPARE(recorder.undone.size(), 4);
    for (const PictureWrite& write : writes) {
        QVERIFY(recorder.UndoneOf(write.path) && recorder.UndoneOf(write.path)->ok);
        QVERIFY(!HasGpsDirectory(write.path));
    }
}

void BatchRunnerTest::preparedScriptsKilled_data() {
    QTest::addColumn<bool>("atHandOff");
    QTest::newRow("while waiting") << false;
    // Given their run, and gone before they read it.
    QTest::newRow("at the hand-off") << true;
}

void BatchRunnerTest::preparedScriptsKilled() {
    QFETCH(bool, atHandOff);
    const QByteArray path = Picture("p.jpg");
    QVERIFY(Tag(path,
                {"-GPSLatitude=5", "-GPSLatitudeRef=N", "-GPSLongitude=6", "-GPSLongitudeRef=E"}));
    auto runner = Runner();
    runner->Prepare(BatchRunner::Next::Read);
    QVERIFY(QTest::qWaitFor([&] { return runner->IsPrepared(); }, 10000));
    QList<int> waiting; // this process's waiting scripts, once they are perl
    QVERIFY(QTest::qWaitFor(
        [&] {
            waiting.clear();
            for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
                QFile command("/proc/" + pid + "/cmdline"), status("/proc/" + pid + "/status");
                if (command.open(QIODevice::ReadOnly) && status.open(QIODevice::ReadOnly) &&
                    command.readAll().contains("batchgps.pl\0wait") &&
                    status.readAll().contains("\nPPid:\t" + QByteArray::number(getpid()) + "\n"))
                    waiting << pid.toInt();
            }
            return waiting.size() == 2;
        },
        10000));
    BatchRecorder recorder(*runner);
    if (atHandOff) {
        for (int pid : waiting)
            QCOMPARE(kill(pid, SIGSTOP), 0);
        QVERIFY(runner->Read({path}));
    }
    for (int pid : waiting)
        QCOMPARE(kill(pid, SIGKILL), 0);
    if (!atHandOff) {
        QVERIFY(QTest::qWaitFor([&] { return !runner->IsPrepared(); }, 10000));
        QVERIFY(runner->Read({path}));
    }
    QVERIFY(recorder.Wait());
    QVERIFY2(recorder.reads[0].ok, qPrintable(recorder.reads[0].reason));
    QCOMPARE(recorder.reads[0].latitude.value_or(0), 5.0);
}

void BatchRunnerTest::pictureOnOtherFileSystem() {
    struct stat shm {
    }, temp{};
    if (stat("/dev/shm", &shm) != 0 || stat(QFile::encodeName(QDir::tempPath()), &temp) != 0 ||
        shm.st_dev == temp.st_dev)
        QSKIP("/dev/shm is missing or on the same file system as the temporary folder");
    QTemporaryDir other("/dev/shm/kartavo-test-XXXXXX");
    QVERIFY(other.isValid());
    const QString path = other.filePath("card.jpg");
    QVERIFY(MakeJpeg(path));

    auto runner = Runner();
    BatchRecorder recorder(*runner);
    QVERIFY(runner->Write({At(QFile::encodeName(path), 21, 22)}));
    QVERIFY(recorder.Wait());
    QVERIFY2(recorder.writes[0].first, qPrintable(recorder.writes[0].second));
    QCOMPARE(ReadTags(path, {"GPS:GPSLatitude"})["GPS:GPSLatitude"], QString("21/1 0/1 0/1000000"));
    QCOMPARE(LeftOvers(other.path()), QStringList());
}

QTEST_GUILESS_MAIN(BatchRunnerTest)
#include "test_batch_runner.moc"
