#include "TestPictures.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace TestPictures;

namespace {

const QStringList GPS_TAGS{"GPS:GPSVersionID",    "GPS:GPSLatitudeRef", "GPS:GPSLatitude",
                           "GPS:GPSLongitudeRef", "GPS:GPSLongitude",   "GPS:GPSAltitude"};

QByteArray Crlf(const QStringList& lines) {
    QByteArray text;
    for (const QString& line : lines)
        text += line.toUtf8() + "\r\n";
    return text;
}

using RawTags = QMap<QString, QByteArray>;

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
    void keepsEverythingElse();
    void readOnlyPicture();
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
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("north east") << "N 37/33/43.7724 E 126/58/24.0600 50"
                                << "37/1 33/1 4377240/100000"
                                << "126/1 58/1 2406000/100000"
                                << "500000/10000"
                                << QStringList{"N", "37; 33; 43.7724", "37.562159",
                                               "E", "126; 58; 24.06",  "126.97335",
                                               "50"};
    QTest::newRow("south west, unsigned degrees")
        << "S 33/51/24.4800 W 151/12/55.0800 12.5"
        << "33/1 51/1 2448000/100000"
        << "151/1 12/1 5508000/100000"
        << "125000/10000"
        << QStringList{"S", "33; 51; 24.48", "33.8568", "W", "151; 12; 55.08", "151.2153", "12.5"};
    QTest::newRow("sixty seconds are not carried")
        << "N 10/20/60.0000 E 0/0/0.0000 0"
        << "10/1 20/1 6000000/100000"
        << "0/1 0/1 0/100000"
        << "0/10000" << QStringList{"N", "10; 20; 60", "10.35", "E", "0; 0; 0", "0", "0"};
    QTest::newRow("altitude to four decimals")
        << "N 1/2/3 E 4/5/6 687.893921334923"
        << "1/1 2/1 300000/100000"
        << "4/1 5/1 600000/100000"
        << "6878939/10000"
        << QStringList{"N", "1; 2; 3", "1.03416666666667", "E", "4; 5; 6", "4.085", "687.8939"};
    QTest::newRow("halves to even")
        << "N 36.5/2.5/0.5 E 37.5/3.5/0 0.5"
        << "36/1 2/1 50000/100000"
        << "38/1 4/1 0/100000"
        << "5000/10000"
        << QStringList{"N",  "36; 2; 0.5", "36.0334722222222", "E", "38; 4; 0", "38.0666666666667",
                       "0.5"};
}

void GpsScriptsTest::writeThenRead() {
    QFETCH(QString, arguments);
    QFETCH(QString, latitude);
    QFETCH(QString, longitude);
    QFETCH(QString, altitude);
    QFETCH(QStringList, lines);

    const QString picture = Picture();
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

    const PerlResult read = Read(picture);
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(read.err, QByteArray());
    QCOMPARE(read.out,
             Crlf(QStringList{"2010:01:01 00:00:00"} + lines + QStringList{"", "", "", "", ""}));
}

void GpsScriptsTest::read_data() {
    QTest::addColumn<RawTags>("tags");
    QTest::addColumn<QStringList>("lines");

    const QStringList none{"", "", "", "", "", "", ""};
    QTest::newRow("no tags") << RawTags()
                             << QStringList{"2010:01:01 00:00:00"} + none +
                                    QStringList{"", "", "", ""};
    QTest::newRow("date, size, title, no position")
        << RawTags{{"ExifIFD:DateTimeOriginal", "2009:05:01 10:20:30"},
                   {"ExifIFD:ExifImageWidth", "800"},
                   {"ExifIFD:ExifImageHeight", "600"},
                   {"IFD0:XPTitle", QByteArray("H\0i\0\0\0", 6)},
                   {"IFD0:XPComment", QByteArray("A\0B\0", 4)}}
        << QStringList{"2009:05:01 10:20:30"} + none + QStringList{"800", "600", "Hi", "AB"};
    // UTF-16 with a character outside the basic plane and a doubled terminator.
    const QString text = QString::fromUtf8("Größe 日本 \xF0\x9F\x97\xBA");
    QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QTest::newRow("non-ASCII title and description")
        << RawTags{{"IFD0:XPTitle", utf16 + QByteArray(4, '\0')}, {"IFD0:XPComment", utf16}}
        << QStringList{"2010:01:01 00:00:00"} + none + QStringList{"", "", text, text};
    QTest::newRow("line break inside a title")
        << RawTags{{"IFD0:XPTitle", QByteArray("a\0\n\0b\0\0\0", 8)}}
        << QStringList{"2010:01:01 00:00:00"} + none + QStringList{"", "", "a b", ""};
    QTest::newRow("empty date") << RawTags{{"ExifIFD:DateTimeOriginal", ""}}
                                << QStringList{"2010:01:01 00:00:00"} + none +
                                       QStringList{"", "", "", ""};
    QTest::newRow("position without altitude") << RawTags{{"GPS:GPSLatitudeRef", "N"},
                                                          {"GPS:GPSLatitude", "1 0 0"},
                                                          {"GPS:GPSLongitudeRef", "E"},
                                                          {"GPS:GPSLongitude", "2 30 0"}}
                                               << QStringList{"2010:01:01 00:00:00",
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
}

void GpsScriptsTest::read() {
    QFETCH(RawTags, tags);
    QFETCH(QStringList, lines);

    const QString picture = Picture();
    if (!tags.isEmpty())
        QVERIFY(SetRawTags(picture, tags));
    const PerlResult read = Read(picture);
    QCOMPARE(read.err, QByteArray());
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(read.out, Crlf(lines) + "\r\n");
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
    QCOMPARE(tags.value("GPS:GPSAltitudeRef"), QString("1"));
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

void GpsScriptsTest::writeFailures_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("arguments");

    QTest::newRow("five arguments") << "a.jpg"
                                    << "N 37/33/43.7724 E 126/58/24.0600";
    QTest::newRow("two pieces") << "a.jpg"
                                << "N 37/33 E 126/58/24.0600 50";
    QTest::newRow("four pieces") << "a.jpg"
                                 << "N 37/33/1/2 E 126/58/24.0600 50";
    QTest::newRow("not a number") << "a.jpg"
                                  << "N 37/x/43 E 126/58/24.0600 50";
    QTest::newRow("comma decimal") << "a.jpg"
                                   << "N 37/33/43,7 E 126/58/24.0600 50";
    QTest::newRow("negative") << "a.jpg"
                              << "N -37/33/43 E 126/58/24.0600 50";
    QTest::newRow("altitude too large") << "a.jpg"
                                        << "N 37/33/43 E 126/58/24 214748.36475";
    QTest::newRow("not a picture") << "text.jpg"
                                   << "N 37/33/43 E 126/58/24 50";
    QTest::newRow("missing picture") << "missing.jpg"
                                     << "N 37/33/43 E 126/58/24 50";
}

void GpsScriptsTest::writeFailures() {
    QFETCH(QString, file);
    QFETCH(QString, arguments);

    Picture("a.jpg");
    QFile text(m_dir->filePath("text.jpg"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("no picture here\n");
    text.close();
    const QStringList before = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
    const QString picture = m_dir->filePath(file);
    const QByteArray bytes = FileBytes(picture);

    const PerlResult written = Write(picture, arguments);
    QVERIFY(written.exitCode != 0);
    QCOMPARE(written.out, QByteArray());
    QVERIFY(!written.err.trimmed().isEmpty());
    QCOMPARE(FileBytes(picture), bytes);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), before);
}

void GpsScriptsTest::readFailures_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("missing picture") << "missing.jpg";
    QTest::newRow("not a picture") << "text.jpg";
    QTest::newRow("folder") << "";
}

void GpsScriptsTest::readFailures() {
    QFETCH(QString, file);
    QFile text(m_dir->filePath("text.jpg"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("no picture here\n");
    text.close();

    const PerlResult read = Read(m_dir->filePath(file));
    QVERIFY(read.exitCode != 0);
    QCOMPARE(read.out, QByteArray());
    QVERIFY(!read.err.trimmed().isEmpty());
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
