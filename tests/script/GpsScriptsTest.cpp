#include "TestPictures.h"
#include "tests/formats/FormatPictures.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestPictures;

namespace {

const QStringList GPS_TAGS{"GPS:GPSVersionID",    "GPS:GPSLatitudeRef", "GPS:GPSLatitude",
                           "GPS:GPSLongitudeRef", "GPS:GPSLongitude",   "GPS:GPSAltitude",
                           "GPS:GPSAltitudeRef"};

QByteArray Crlf(const QStringList& lines) {
    QByteArray text;
    for (const QString& line : lines)
        text += line.toUtf8() + "\r\n";
    return text;
}

using RawTags = QMap<QString, QByteArray>;

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

} // namespace

class GpsScriptsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void writeThenRead_data();
    void writeThenRead();
    void read_data();
    void read();
    void sidecarPosition_data();
    void sidecarPosition();
    void keepsEverythingElse();
    void readOnlyPicture();
    void recordsWherever_data();
    void recordsWherever();
    void wholeBeforeItTakesTheName();
    void flushesFileThenFolder();
    void stopsWithoutLeftovers_data();
    void stopsWithoutLeftovers();
    void writeFailures_data();
    void writeFailures();
    void readFailures_data();
    void readFailures();
    void noArgument_data();
    void noArgument();
    void withoutExifTool_data();
    void withoutExifTool();

private:
    QString Picture(const QString& name = "a.jpg");
    void MakeOddFiles();
    PerlResult Write(const QString& picture, const QString& arguments);
    PerlResult Read(const QString& picture);

    QTemporaryDir m_scripts;
    QString m_write, m_read;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void GpsScriptsTest::initTestCase() {
    QVERIFY(m_scripts.isValid());
    // The scripts as the program carries them.
    m_write = m_scripts.filePath("writegps.pl");
    m_read = m_scripts.filePath("readgps.pl");
    QVERIFY(QFile::copy(":/TEXT/112", m_write));
    QVERIFY(QFile::copy(":/TEXT/114", m_read));
}

void GpsScriptsTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QString GpsScriptsTest::Picture(const QString& name) {
    const QString path = m_dir->filePath(name);
    return MakeJpeg(path) ? path : QString();
}

PerlResult GpsScriptsTest::Write(const QString& picture, const QString& arguments) {
    return RunPerl(QStringList{m_write, picture} + arguments.split(' ', Qt::SkipEmptyParts));
}

PerlResult GpsScriptsTest::Read(const QString& picture) {
    return RunPerl({m_read, picture});
}

void GpsScriptsTest::writeThenRead_data() {
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("latitude");
    QTest::addColumn<QString>("longitude");
    QTest::addColumn<QString>("altitude");
    QTest::addColumn<QString>("altitudeRef");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("north east") << "N 37/33/43.7724 E 126/58/24.0600 50"
                                << "37/1 33/1 4377240/100000"
                                << "126/1 58/1 2406000/100000"
                                << "500000/10000"
                                << "0" << QStringList{"N", "37; 33; 43.7724", "37.562159",
                                                      "E", "126; 58; 24.06",  "126.97335",
                                                      "50"};
    QTest::newRow("south west, unsigned degrees")
        << "S 33/51/24.4800 W 151/12/55.0800 12.5"
        << "33/1 51/1 2448000/100000"
        << "151/1 12/1 5508000/100000"
        << "125000/10000"
        << "0"
        << QStringList{"S", "33; 51; 24.48", "33.8568", "W", "151; 12; 55.08", "151.2153", "12.5"};
    QTest::newRow("sixty seconds are not carried")
        << "N 10/20/60.0000 E 0/0/0.0000 0"
        << "10/1 20/1 6000000/100000"
        << "0/1 0/1 0/100000"
        << "0/10000"
        << "0" << QStringList{"N", "10; 20; 60", "10.35", "E", "0; 0; 0", "0", "0"};
    QTest::newRow("altitude to four decimals")
        << "N 1/2/3 E 4/5/6 687.893921334923"
        << "1/1 2/1 300000/100000"
        << "4/1 5/1 600000/100000"
        << "6878939/10000"
        << "0"
        << QStringList{"N", "1; 2; 3", "1.03416666666667", "E", "4; 5; 6", "4.085", "687.8939"};
    QTest::newRow("halves to even") << "N 36.5/2.5/0.5 E 37.5/3.5/0 0.5"
                                    << "36/1 2/1 50000/100000"
                                    << "38/1 4/1 0/100000"
                                    << "5000/10000"
                                    << "0" << QStringList{"N",  "36; 2; 0.5", "36.0334722222222",
                                                          "E",  "38; 4; 0",   "38.0666666666667",
                                                          "0.5"};
    QTest::newRow("below sea level")
        << "N 31/30/0 E 35/30/0 -430.5"
        << "31/1 30/1 0/100000"
        << "35/1 30/1 0/100000"
        << "4305000/10000"
        << "1" << QStringList{"N", "31; 30; 0", "31.5", "E", "35; 30; 0", "35.5", "-430.5"};
    QTest::newRow("a minus that rounds away is sea level")
        << "N 1/0/0 E 1/0/0 -0.00001"
        << "1/1 0/1 0/100000"
        << "1/1 0/1 0/100000"
        << "0/10000"
        << "0" << QStringList{"N", "1; 0; 0", "1", "E", "1; 0; 0", "1", "0"};
}

void GpsScriptsTest::writeThenRead() {
    QFETCH(QString, arguments);
    QFETCH(QString, latitude);
    QFETCH(QString, longitude);
    QFETCH(QString, altitude);
    QFETCH(QString, altitudeRef);
    QFETCH(QStringList, lines);

    const QString picture = Picture();
    // A reference already there must not turn the new altitude around.
    QVERIFY(SetRawTags(picture, {{"GPS:GPSAltitudeRef", altitudeRef == "0" ? "1" : "0"}}));
    const PerlResult written = Write(picture, arguments);
    QCOMPARE(written.err, QByteArray());
    QCOMPARE(written.exitCode, 0);
    QCOMPARE(written.out, Crlf({picture, "empty", "empty", "empty"}));

    const QStringList words = arguments.split(' ');
    const QMap<QString, QString> tags = ReadTags(picture, GPS_TAGS);
    QCOMPARE(tags.value("GPS:GPSVersionID"), QString("2 2 0 0"));
    QCOMPARE(tags.value("GPS:GPSLatitudeRef"), words[0]);
    QCOMPARE(tags.value("GPS:GPSLatitude"), latitude);
    QCOMPARE(tags.value("GPS:GPSLongitudeRef"), words[2]);
    QCOMPARE(tags.value("GPS:GPSLongitude"), longitude);
    QCOMPARE(tags.value("GPS:GPSAltitude"), altitude);
    QCOMPARE(tags.value("GPS:GPSAltitudeRef"), altitudeRef);

    const PerlResult read = Read(picture);
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(read.err, QByteArray());
    QCOMPARE(read.out,
             Crlf(QStringList{"2010:01:01 00:00:00"} + lines + QStringList{"", "", "", "", ""}));
}

void GpsScriptsTest::read_data() {
    QTest::addColumn<RawTags>("tags");
    QTest::addColumn<bool>("signedRationals"); // the GPS rationals stored signed
    QTest::addColumn<QStringList>("lines");

    const QStringList none{"", "", "", "", "", "", ""};
    QTest::newRow("no tags") << RawTags() << false
                             << QStringList{"2010:01:01 00:00:00"} + none +
                                    QStringList{"", "", "", ""};
    QTest::newRow("date, size, title, no position")
        << RawTags{{"ExifIFD:DateTimeOriginal", "2009:05:01 10:20:30"},
                   {"ExifIFD:ExifImageWidth", "800"},
                   {"ExifIFD:ExifImageHeight", "600"},
                   {"IFD0:XPTitle", QByteArray("H\0i\0\0\0", 6)},
                   {"IFD0:XPComment", QByteArray("A\0B\0", 4)}}
        << false
        << QStringList{"2009:05:01 10:20:30"} + none + QStringList{"800", "600", "Hi", "AB"};
    // UTF-16 with a character outside the basic plane and a doubled terminator.
    const QString text = QString::fromUtf8("Größe 日本 \xF0\x9F\x97\xBA");
    QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QTest::newRow("non-ASCII title and description")
        << RawTags{{"IFD0:XPTitle", utf16 + QByteArray(4, '\0')}, {"IFD0:XPComment", utf16}}
        << false << QStringList{"2010:01:01 00:00:00"} + none + QStringList{"", "", text, text};
    QTest::newRow("line break inside a title")
        << RawTags{{"IFD0:XPTitle", QByteArray("a\0\n\0b\0\0\0", 8)}} << false
        << QStringList{"2010:01:01 00:00:00"} + none + QStringList{"", "", "a b", ""};
    QTest::newRow("empty date") << RawTags{{"ExifIFD:DateTimeOriginal", ""}} << false
                                << QStringList{"2010:01:01 00:00:00"} + none +
                                       QStringList{"", "", "", ""};
    QTest::newRow("position without altitude") << RawTags{{"GPS:GPSLatitudeRef", "N"},
                                                          {"GPS:GPSLatitude", "1 0 0"},
                                                          {"GPS:GPSLongitudeRef", "E"},
                                                          {"GPS:GPSLongitude", "2 30 0"}}
                                               << false << QStringList{"2010:01:01 00:00:00",
                                                                       "N",
                                                                       "1; 0; 0",
                                                                       "1",
                                                                       "E",
                                                                       "2; 30; 0",
                                                                       "2.5",
                                                                       "",
                                                                       "",
                                                                       "",
                                                                       "",
                                                                       ""};

    const RawTags position{{"GPS:GPSLatitudeRef", "S"},
                           {"GPS:GPSLatitude", "32 6 0"},
                           {"GPS:GPSLongitudeRef", "W"},
                           {"GPS:GPSLongitude", "71 30 0"}};
    const QStringList positionLines{"S", "32; 6; 0", "32.1", "W", "71; 30; 0", "71.5"};
    const QStringList noMore{"", "", "", ""};
    const QString noDate = "2010:01:01 00:00:00";
    RawTags below = position;
    below.insert({{"GPS:GPSAltitude", "430"}, {"GPS:GPSAltitudeRef", "1"}});
    QTest::newRow("below sea level reads negative")
        << below << false << QStringList{noDate} + positionLines + QStringList{"-430"} + noMore;
    RawTags unknown = position;
    unknown.insert({{"GPS:GPSAltitude", "0/0"}, {"GPS:GPSAltitudeRef", "0"}});
    QTest::newRow("unknown altitude 0/0")
        << unknown << false << QStringList{noDate} + positionLines + QStringList{""} + noMore;
    RawTags signedRationals{{"GPS:GPSLatitudeRef", "S"},  {"GPS:GPSLatitude", "-32 -6 0"},
                            {"GPS:GPSLongitudeRef", "W"}, {"GPS:GPSLongitude", "-71 30 0"},
                            {"GPS:GPSAltitude", "-430"},  {"GPS:GPSAltitudeRef", "0"}};
    QTest::newRow("signed rationals read as sizes")
        << signedRationals << true
        << QStringList{noDate} + positionLines + QStringList{"430"} + noMore;
    // Line breaks and other control characters in any value would shift the later lines.
    RawTags breaks = position;
    breaks.insert({{"ExifIFD:DateTimeOriginal", "2009:05:01\r\n10:20:3"},
                   {"GPS:GPSLatitudeRef", "\n"},
                   {"GPS:GPSLongitudeRef", "\r"},
                   {"GPS:GPSAltitude", "7"},
                   {"IFD0:XPTitle", QByteArray("a\0\r\0\x0b\0\x28\x20"
                                               "b\0",
                                               10)},
                   {"IFD0:XPComment", QByteArray("\x85\0c\0", 4)}});
    QTest::newRow("control characters blanked in every value") << breaks << false
                                                               << QStringList{"2009:05:01  10:20:3",
                                                                              " ",
                                                                              "32; 6; 0",
                                                                              "32.1",
                                                                              " ",
                                                                              "71; 30; 0",
                                                                              "71.5",
                                                                              "7",
                                                                              "",
                                                                              "",
                                                                              "a   b",
                                                                              " c"};
}

void GpsScriptsTest::read() {
    QFETCH(RawTags, tags);
    QFETCH(bool, signedRationals);
    QFETCH(QStringList, lines);

    const QString picture = Picture();
    if (!tags.isEmpty())
        QVERIFY(signedRationals ? SetSignedGpsTags(picture, tags) : SetRawTags(picture, tags));
    const PerlResult read = Read(picture);
    QCOMPARE(read.err, QByteArray());
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(read.out, Crlf(lines) + "\r\n");
}

void GpsScriptsTest::sidecarPosition_data() {
    QTest::addColumn<QString>("picture"); // a .dng is made as a camera RAW file
    QTest::addColumn<bool>("ownPosition");
    QTest::addColumn<QString>("naming");       // the configured sidecar name
    QTest::addColumn<QStringList>("sidecars"); // "FILE LAT LON [ALT]", or "FILE pipe"
    QTest::addColumn<QStringList>("lines");    // lines 1 to 7

    const QStringList sydney{"S",        "33; 51; 24.48", "33.8568", "W", "151; 12; 55.08",
                             "151.2153", "-12.5"};
    const QStringList seoul{"N", "37; 33; 43.7724", "37.562159", "E", "126; 58; 24.06", "126.97335",
                            ""};
    QTest::newRow("JPEG without a position: its NAME.xmp")
        << "a.jpg" << false << "" << QStringList{"a.xmp -33.8568 -151.2153 -12.5"} << sydney;
    QTest::newRow("RAW: the configured NAME.EXT.xmp first")
        << "b.dng" << false << "NAME.EXT.xmp"
        << QStringList{"b.xmp 1 2 3", "b.dng.xmp 37.562159 126.97335"} << seoul;
    QTest::newRow("RAW: the other name when the configured one is missing")
        << "b.dng" << false << "NAME.xmp" << QStringList{"b.dng.xmp 37.562159 126.97335"} << seoul;
    QTest::newRow("a named pipe in the sidecar's place is passed over")
        << "a.jpg" << false << "" << QStringList{"a.xmp pipe", "a.jpg.xmp -33.8568 -151.2153 -12.5"}
        << sydney;
    QTest::newRow("the picture's own position wins")
        << "a.jpg" << true << "" << QStringList{"a.xmp 1 2 3"}
        << QStringList{"S", "32; 6; 0", "32.1", "W", "71; 30; 0", "71.5", ""};
}

void GpsScriptsTest::sidecarPosition() {
    QFETCH(QString, picture);
    QFETCH(bool, ownPosition);
    QFETCH(QString, naming);
    QFETCH(QStringList, sidecars);
    QFETCH(QStringList, lines);

    const QString path = m_dir->filePath(picture);
    if (picture.endsWith(".dng")) {
        using namespace FormatPictures;
        QVERIFY(WriteFile(path, RawWithPreview(JpegOf(Drawing(64, 48)))));
    } else {
        QVERIFY(MakeJpeg(path));
    }
    if (ownPosition)
        QVERIFY(SetRawTags(path, {{"GPS:GPSLatitudeRef", "S"},
                                  {"GPS:GPSLatitude", "32 6 0"},
                                  {"GPS:GPSLongitudeRef", "W"},
                                  {"GPS:GPSLongitude", "71 30 0"}}));
    for (const QString& sidecar : sidecars) {
        const QStringList words = sidecar.split(' ');
        const QString file = m_dir->filePath(words[0]);
        if (words[1] == "pipe") {
            QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
            continue;
        }
        QStringList args{"-q", "-o", file, "-XMP-exif:GPSLatitude=" + words[1],
                         "-XMP-exif:GPSLongitude=" + words[2]};
        if (words.size() > 3)
            args << "-XMP-exif:GPSAltitude=" + words[3].mid(words[3].startsWith('-'))
                 << QString("-XMP-exif:GPSAltitudeRef#=%1").arg(words[3].startsWith('-'));
        QCOMPARE(FormatPictures::RunTool("exiftool", args).exitCode, 0);
    }

    const PerlResult read = RunPerl({m_read, path, naming});
    QCOMPARE(read.err, QByteArray());
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(read.out,
             Crlf(QStringList{"2010:01:01 00:00:00"} + lines + QStringList{"", "", "", ""}) +
                 "\r\n");
}

void GpsScriptsTest::keepsEverythingElse() {
    const QString picture = Picture("with tags.jpg");
    QVERIFY(SetRawTags(picture, {{"ExifIFD:DateTimeOriginal", "2009:05:01 10:20:30"},
                                 {"IFD0:Artist", "Somebody"},
                                 {"IFD0:XPTitle", QByteArray("H\0i\0\0\0", 6)},
                                 {"GPS:GPSAltitudeRef", "1"},
                                 {"GPS:GPSLatitude", "1 2 3"}}));
    const QByteArray imageData = ImageData(picture);
    QVERIFY(!imageData.isEmpty());
    QFile gps(picture + ".gps");
    QVERIFY(gps.open(QIODevice::WriteOnly));
    gps.write("not to be touched");
    gps.close();

    QCOMPARE(Write(picture, "N 37/33/43.7724 E 126/58/24.0600 50").exitCode, 0);

    const QMap<QString, QString> tags =
        ReadTags(picture, {"ExifIFD:DateTimeOriginal", "IFD0:Artist", "IFD0:XPTitle",
                           "GPS:GPSAltitudeRef", "GPS:GPSLatitude"});
    QCOMPARE(tags.value("ExifIFD:DateTimeOriginal"), QString("2009:05:01 10:20:30"));
    QCOMPARE(tags.value("IFD0:Artist"), QString("Somebody"));
    QCOMPARE(tags.value("IFD0:XPTitle"), QString("480069000000"));
    QCOMPARE(tags.value("GPS:GPSAltitudeRef"), QString("0")); // 50 m is above sea level
    QCOMPARE(tags.value("GPS:GPSLatitude"), QString("37/1 33/1 4377240/100000"));
    QCOMPARE(ImageData(picture), imageData);
    QCOMPARE(FileBytes(picture + ".gps"), QByteArray("not to be touched"));
    // Nothing else is left in the folder.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"with tags.jpg", "with tags.jpg.gps"}));
}

void GpsScriptsTest::readOnlyPicture() {
    const QString picture = Picture();
    QVERIFY(QFile::setPermissions(picture, QFile::ReadOwner | QFile::ReadGroup));
    const PerlResult written = Write(picture, "S 1/2/3 W 4/5/6 7");
    QCOMPARE(written.exitCode, 0);
    QCOMPARE(ReadTags(picture, {"GPS:GPSLatitudeRef"}).value("GPS:GPSLatitudeRef"), QString("S"));
    struct stat info {};
    QCOMPARE(stat(QFile::encodeName(picture).constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, mode_t(0440));
}

void GpsScriptsTest::recordsWherever_data() {
    QTest::addColumn<QString>("where");
    QTest::newRow("name of 255 bytes") << "long";
    QTest::newRow("through a link, which stays a link") << "link";
    QTest::newRow("on another file system than the temporary folder") << "other";
}

void GpsScriptsTest::recordsWherever() {
    QFETCH(QString, where);
    std::unique_ptr<QTemporaryDir> other;
    QString picture, target, folder = m_dir->path();
    if (where == "long") {
        picture = target = Picture(QString(251, QChar('n')) + ".jpg");
    } else if (where == "link") {
        target = Picture("a.jpg");
        picture = m_dir->filePath("link.jpg");
        QVERIFY(QFile::link("a.jpg", picture));
    } else {
        struct stat shm {
        }, temp{};
        if (stat("/dev/shm", &shm) != 0 ||
            stat(QFile::encodeName(QDir::tempPath()).constData(), &temp) != 0 ||
            shm.st_dev == temp.st_dev)
            QSKIP("/dev/shm is missing or on the same file system as the temporary folder");
        other = std::make_unique<QTemporaryDir>("/dev/shm/kartavo-test-XXXXXX");
        QVERIFY(other->isValid());
        folder = other->path();
        picture = target = other->filePath("card.jpg");
        QVERIFY(MakeJpeg(picture));
    }
    QVERIFY(!target.isEmpty());
    const QStringList before = Entries(folder);
    const QByteArray imageData = ImageData(target);

    const PerlResult written = Write(picture, "S 1/2/3 W 4/5/6 7");
    QCOMPARE(written.err, QByteArray());
    QCOMPARE(written.exitCode, 0);
    QCOMPARE(ReadTags(target, {"GPS:GPSLatitude"}).value("GPS:GPSLatitude"),
             QString("1/1 2/1 300000/100000"));
    QCOMPARE(ImageData(target), imageData);
    QCOMPARE(Entries(folder), before);
    if (where == "link")
        QCOMPARE(QFileInfo(picture).symLinkTarget(), QFileInfo(target).canonicalFilePath());
}

// A crash right after the rename must find the whole new picture under the picture's name.
void GpsScriptsTest::wholeBeforeItTakesTheName() {
    const QString picture = Picture();
    QVERIFY(SetRawTags(picture, {{"IFD0:Artist", QByteArray(20000, 'a')}})); // beyond a buffer
    const QByteArray imageData = ImageData(picture);

    const PerlResult written = RunPerl({m_write, picture, "N", "1/2/3", "E", "4/5/6", "7"},
                                       RenameHookEnvironment(m_scripts.path(), "exit"));
    QCOMPARE(written.exitCode, 0);
    QCOMPARE(ReadTags(picture, {"GPS:GPSLatitude"}).value("GPS:GPSLatitude"),
             QString("1/1 2/1 300000/100000"));
    QCOMPARE(ImageData(picture), imageData);
}

// The new file reaches the disk before it takes the picture's name, the folder after.
void GpsScriptsTest::flushesFileThenFolder() {
    const QString picture = Picture();
    const QString log = m_scripts.filePath("flush.log");
    QFile::remove(log);

    const PerlResult written = RunPerl({m_write, picture, "N", "1/2/3", "E", "4/5/6", "7"},
                                       RenameHookEnvironment(m_scripts.path(), "log", log));
    QCOMPARE(written.err, QByteArray());
    QCOMPARE(written.exitCode, 0);
    const QString file = FileId(picture); // the renamed file keeps its inode
    QCOMPARE(QString::fromUtf8(FileBytes(log)).split('\n', Qt::SkipEmptyParts),
             QStringList({"sync " + file, "rename " + file, "sync " + FileId(m_dir->path())}));
}

void GpsScriptsTest::stopsWithoutLeftovers_data() {
    QTest::addColumn<QString>("signal");
    QTest::newRow("SIGTERM cleans up at once") << "TERM";
    QTest::newRow("SIGKILL leftovers go with the next write") << "KILL";
}

void GpsScriptsTest::stopsWithoutLeftovers() {
    QFETCH(QString, signal);
    const QString picture = Picture();
    const QStringList before = Entries(m_dir->path());
    const QByteArray bytes = FileBytes(picture);

    const PerlResult stopped = RunPerl({m_write, picture, "N", "1/2/3", "E", "4/5/6", "7"},
                                       RenameHookEnvironment(m_scripts.path(), signal));
    QVERIFY(stopped.exitCode != 0);
    QCOMPARE(FileBytes(picture), bytes);
    if (signal == "TERM") {
        QCOMPARE(stopped.err, QByteArray("Stopped by SIGTERM; the picture is unchanged\n"));
        QCOMPARE(Entries(m_dir->path()), before);
        return;
    }

    // A killed process cannot clean up; the next write removes what it left, but never the
    // file of a process that still runs.
    const QStringList left = Entries(m_dir->path());
    QCOMPARE(left.size(), before.size() + 1);
    QString leftover;
    for (const QString& name : left)
        if (!before.contains(name))
            leftover = name;
    QStringList parts = leftover.split('-');
    QCOMPARE(parts.size(), 4);
    parts[2] = QString::number(getpid());
    const QString live = parts.join('-');
    QVERIFY(QFile::copy(m_dir->filePath(leftover), m_dir->filePath(live)));

    QCOMPARE(Write(picture, "N 1/2/3 E 4/5/6 7").exitCode, 0);
    QStringList expected = before + QStringList{live};
    expected.sort();
    QCOMPARE(Entries(m_dir->path()), expected);
}

void GpsScriptsTest::writeFailures_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("reason"); // the one error line ends with it; empty: any

    QTest::newRow("five arguments") << "a.jpg"
                                    << "N 37/33/43.7724 E 126/58/24.0600"
                                    << "";
    QTest::newRow("two pieces") << "a.jpg"
                                << "N 37/33 E 126/58/24.0600 50"
                                << "";
    QTest::newRow("four pieces") << "a.jpg"
                                 << "N 37/33/1/2 E 126/58/24.0600 50"
                                 << "";
    QTest::newRow("not a number") << "a.jpg"
                                  << "N 37/x/43 E 126/58/24.0600 50"
                                  << "";
    QTest::newRow("comma decimal") << "a.jpg"
                                   << "N 37/33/43,7 E 126/58/24.0600 50"
                                   << "";
    QTest::newRow("negative") << "a.jpg"
                              << "N -37/33/43 E 126/58/24.0600 50"
                              << "";
    QTest::newRow("altitude too large") << "a.jpg"
                                        << "N 37/33/43 E 126/58/24 214748.36475"
                                        << "";
    QTest::newRow("not a picture") << "text.jpg"
                                   << "N 37/33/43 E 126/58/24 50"
                                   << "";
    QTest::newRow("missing picture") << "missing.jpg"
                                     << "N 37/33/43 E 126/58/24 50"
                                     << ": No such file or directory";
    const QString position = "N 37/33/43 E 126/58/24 50";
    QTest::newRow("folder") << "folder.jpg" << position << ": Is a directory";
    QTest::newRow("named pipe") << "pipe.jpg" << position
                                << ": it is a named pipe, not a picture file";
    QTest::newRow("BMP") << "a.bmp" << position << ": a BMP picture cannot hold GPS tags";
    QTest::newRow("BMP named JPEG")
        << "bmp.jpg" << position << ": a BMP picture cannot hold GPS tags";
    QTest::newRow("GIF") << "a.gif" << position << ": a GIF picture cannot hold GPS tags";
    QTest::newRow("minor fault, said plainly")
        << "loop.jpg" << position
        << ", so it was left unchanged; a sidecar can hold its position (Picture > Write "
           "Positions Into)";
}

void GpsScriptsTest::writeFailures() {
    QFETCH(QString, file);
    QFETCH(QString, arguments);
    QFETCH(QString, reason);

    Picture("a.jpg");
    MakeOddFiles();
    if (file == "loop.jpg")
        QVERIFY(MakeSelfLinkedJpeg(m_dir->filePath(file)));
    const QStringList before = Entries(m_dir->path());
    const QString picture = m_dir->filePath(file);
    const QByteArray bytes = QFileInfo(picture).isFile() ? FileBytes(picture) : QByteArray();

    const PerlResult written = Write(picture, arguments);
    QVERIFY(written.exitCode != 0);
    QCOMPARE(written.out, QByteArray());
    QVERIFY(!written.err.trimmed().isEmpty());
    QCOMPARE(written.err.count('\n'), 1);
    QVERIFY2(written.err.trimmed().endsWith(reason.toUtf8()), written.err.constData());
    if (!bytes.isEmpty())
        QCOMPARE(FileBytes(picture), bytes);
    QCOMPARE(Entries(m_dir->path()), before);
}

void GpsScriptsTest::readFailures_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason"); // the one error line ends with it
    QTest::newRow("missing picture") << "missing.jpg"
                                     << ": No such file or directory";
    QTest::newRow("not a picture") << "text.jpg"
                                   << " is not a picture (text/plain)";
    QTest::newRow("folder") << ""
                            << ": Is a directory";
    // Opening a named pipe would wait for a writer forever.
    QTest::newRow("named pipe") << "pipe.jpg"
                                << ": it is a named pipe, not a picture file";
}

void GpsScriptsTest::readFailures() {
    QFETCH(QString, file);
    QFETCH(QString, reason);
    MakeOddFiles();

    const PerlResult read = Read(m_dir->filePath(file));
    QVERIFY(read.exitCode != 0);
    QCOMPARE(read.out, QByteArray());
    QCOMPARE(read.err.count('\n'), 1);
    QVERIFY2(read.err.trimmed().endsWith(reason.toUtf8()), read.err.constData());
}

// Beside a.jpg: a text file, a folder and a named pipe with picture names, and pictures in
// formats that cannot hold GPS tags.
void GpsScriptsTest::MakeOddFiles() {
    QFile text(m_dir->filePath("text.jpg"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("no picture here\n");
    text.close();
    QVERIFY(QDir(m_dir->path()).mkdir("folder.jpg"));
    QCOMPARE(mkfifo(QFile::encodeName(m_dir->filePath("pipe.jpg")).constData(), 0644), 0);
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(m_dir->filePath("a.bmp"), "BMP"));
    QVERIFY(image.save(m_dir->filePath("bmp.jpg"), "BMP"));
    // The smallest GIF: Qt reads GIF but cannot write it.
    QFile gif(m_dir->filePath("a.gif"));
    QVERIFY(gif.open(QIODevice::WriteOnly));
    gif.write(QByteArray::fromHex("4749463839610100010080000000000000ffffff21f90401000000002c"
                                  "00000000010001000002024401003b"));
    gif.close();
}

void GpsScriptsTest::noArgument_data() {
    QTest::addColumn<bool>("write");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("write") << true << QByteArray("$ It needs file path\r\n");
    QTest::newRow("read") << false << QByteArray("$ERR: It needs file path\r\n");
}

void GpsScriptsTest::noArgument() {
    QFETCH(bool, write);
    QFETCH(QByteArray, message);
    const PerlResult result = RunPerl({write ? m_write : m_read});
    QCOMPARE(result.out, message);
    QVERIFY(result.exitCode != 0);
}

void GpsScriptsTest::withoutExifTool_data() {
    QTest::addColumn<bool>("write");
    QTest::newRow("write") << true;
    QTest::newRow("read") << false;
}

void GpsScriptsTest::withoutExifTool() {
    QFETCH(bool, write);
    // A module path where Image::ExifTool cannot be loaded.
    QVERIFY(QDir(m_dir->path()).mkpath("lib/Image"));
    QFile module(m_dir->filePath("lib/Image/ExifTool.pm"));
    QVERIFY(module.open(QIODevice::WriteOnly));
    module.write("die \"Can't locate Image/ExifTool.pm\\n\";\n");
    module.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PERL5LIB", m_dir->filePath("lib"));

    const QString picture = Picture();
    const PerlResult result =
        write ? RunPerl({m_write, picture, "N", "1/2/3", "E", "4/5/6", "7"}, env)
              : RunPerl({m_read, picture}, env);
    QVERIFY(result.exitCode != 0);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(result.err, QByteArray("Image::ExifTool is not installed (Debian package "
                                    "libimage-exiftool-perl)\n"));
}

QTEST_GUILESS_MAIN(GpsScriptsTest)
#include "GpsScriptsTest.moc"
