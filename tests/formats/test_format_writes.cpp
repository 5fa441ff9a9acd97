#include "formats/PictureFormats.h"
#include "pictures/BatchRunner.h"
#include "pictures/PictureList.h"

#include "tests/batch/BatchRecorder.h"
#include "tests/formats/FormatPictures.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace FormatPictures;
using PictureFormats::SidecarName;
using PictureFormats::SidecarPath;

// Positions written into every writable format and into XMP sidecars, read back and
// undone, by the real batch script with ExifTool on files the test makes.
class TestFormatWrites : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_data;
    QTemporaryDir m_config;

    // A runner per operation: a recorder stays connected to its runner.
    std::unique_ptr<BatchRunner> NewRunner() {
        auto runner = std::make_unique<BatchRunner>();
        runner->SetJournalFolder(m_data.filePath("journal"));
        return runner;
    }

    QString Path(const QString& name) { return m_dir.filePath(name); }
    static QByteArray Bytes(const QString& path) { return QFile::encodeName(path); }
    static QByteArray Content(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static PictureWrite Sydney(const QString& path, const QByteArray& sidecar = {}) {
        PictureWrite write;
        write.path = Bytes(path);
        write.latitude = -33.8568;
        write.longitude = 151.2153;
        write.altitude = -12.5;
        write.utcTime = QDateTime(QDate(2021, 6, 5), QTime(12, 30, 0), Qt::UTC);
        write.sidecar = sidecar;
        return write;
    }

    // One write; its result, "" when it succeeded.
    QString Write(const PictureWrite& write) {
        const auto runner = NewRunner();
        BatchRecorder recorder(*runner);
        if (!runner->Write({write}) || !recorder.Wait() || !recorder.writes.contains(0))
            return QStringLiteral("no result");
        return recorder.writes[0].first ? QString() : recorder.writes[0].second;
    }

    PictureRead Read(const QString& path) {
        const auto runner = NewRunner();
        BatchRecorder recorder(*runner);
        if (!runner->Read({Bytes(path)}) || !recorder.Wait())
            return PictureRead();
        return recorder.reads.value(0);
    }

    QString Undo() {
        const auto runner = NewRunner();
        BatchRecorder recorder(*runner);
        if (!runner->UndoLast() || !recorder.Wait() || recorder.undone.isEmpty())
            return QStringLiteral("nothing undone");
        return recorder.undone[0].ok ? QString() : recorder.undone[0].reason;
    }

    // What the Pictures window's list shows in column for that read.
    static QString ListText(const QString& path, const PictureRead& read, int column) {
        PictureList list;
        list.Add({Bytes(path)});
        list.SetInfo(0, read);
        return list.data(list.index(0, column)).toString();
    }

    static void VerifySydney(const PictureRead& read) {
        QVERIFY2(read.ok, qPrintable(read.reason));
        QVERIFY(read.latitude && read.longitude && read.altitude);
        QCOMPARE(qRound(*read.latitude * 1e6), qRound(-33.8568 * 1e6));
        QCOMPARE(qRound(*read.longitude * 1e6), qRound(151.2153 * 1e6));
        QCOMPARE(*read.altitude, -12.5);
    }

    // What else a write may not change: the places and sizes of moved data aside (a
    // HEIC file keeps its Exif block in its media data).
    static QStringList Kept(const QString& path) {
        QStringList kept;
        for (const QString& line : TagsButPosition(path))
            if (!line.contains("Offsets") && !line.contains("ByteCounts") &&
                !line.contains("MediaData"))
                kept << line;
        return kept;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid() && m_data.isValid() && m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
    }

    void inPlace_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");
        QTest::newRow("TIFF") << "w.tif"
                              << "tiff";
        QTest::newRow("PNG") << "w.png"
                             << "png";
        QTest::newRow("WebP") << "w.webp"
                              << "webp";
        QTest::newRow("HEIC") << "w.heic"
                              << "heic";
        QTest::newRow("DNG") << "w.dng"
                             << "dng";
    }

    void inPlace() {
        QFETCH(QString, name);
        QFETCH(QString, format);
        const QString path = Path(name);
        QVERIFY(format == "dng" ? MakeDngFromTiff(path) : Make(path, format));
        const QStringList tags = Kept(path);
        const QString pixels = PixelDigest(path);
        QVERIFY(tags.contains("[IFD0]          Make                            : TestMaker"));
        QVERIFY(!pixels.isEmpty());

        QCOMPARE(Write(Sydney(path)), QString());
        const PictureRead read = Read(path);
        VerifySydney(read);
        QCOMPARE(read.positionSource, QString());
        QCOMPARE(Kept(path), tags);
        QCOMPARE(PixelDigest(path), pixels);
        QVERIFY(!QFile::exists(SidecarPath(Bytes(path), SidecarName::Base)));
    }

    // A RAW file under the sidecar setting: its position goes beside it, and the file
    // itself stays byte for byte as it was through the write, the undo and a failure.
    void sidecar_data() {
        QTest::addColumn<QString>("existing"); // the sidecar before: "", "xmp" or "text"
        QTest::addColumn<int>("naming");
        QTest::newRow("new NAME.xmp") << "" << int(SidecarName::Base);
        QTest::newRow("new NAME.EXT.xmp") << "" << int(SidecarName::Full);
        QTest::newRow("existing, other XMP kept") << "xmp" << int(SidecarName::Base);
        QTest::newRow("existing, not XMP: refused") << "text" << int(SidecarName::Base);
    }

    void sidecar() {
        QFETCH(QString, existing);
        QFETCH(int, naming);
        const QString raw = Path("camera.nef");
        QFile::remove(raw);
        QVERIFY(WriteFile(raw, RawWithPreview(JpegOf(Drawing(160, 120)))));
        QVERIFY(TagLikeACamera(raw));
        const QByteArray rawBefore = Content(raw);
        const QString sidecar = QFile::decodeName(SidecarPath(Bytes(raw), SidecarName(naming)));
        QFile::remove(Path("camera.xmp"));
        QFile::remove(Path("camera.nef.xmp"));
        if (existing == "xmp")
            QCOMPARE(RunTool("exiftool",
                             {"-q", "-o", sidecar, "-XMP-dc:Title=Kept title", "-XMP-xmp:Rating=3",
                              "-XMP-exif:GPSLatitude=1.5", "-XMP-exif:GPSLongitude=2.5"})
                         .exitCode,
                     0);
        if (existing == "text")
            QVERIFY(WriteFile(sidecar, "notes, not XMP\n"));
        const QByteArray sidecarBefore = Content(sidecar);
        PictureFormats::SaveWriteSetting(
            {PictureFormats::WriteTarget::PictureExceptRaw, SidecarName(naming)});

        const QString written = Write(Sydney(raw, Bytes(sidecar)));
        QCOMPARE(Content(raw), rawBefore);
        if (existing == "text") {
            QVERIFY2(written.contains("not an XMP file"), qPrintable(written));
            QCOMPARE(Content(sidecar), sidecarBefore);
            return;
        }
        QCOMPARE(written, QString());
        const QString values = QString::fromUtf8(
            RunTool("exiftool", {"-s3", "-n", "-XMP-exif:GPSLatitude", "-XMP-exif:GPSLongitude",
                                 "-XMP-exif:GPSAltitude", "-XMP-exif:GPSAltitudeRef",
                                 "-XMP-exif:GPSDateTime", "-XMP-dc:Title", sidecar})
                .out);
        QCOMPARE(values.split('\n', Qt::SkipEmptyParts),
                 QStringList({"-33.8568", "151.2153", "12.5", "1", "2021:06:05 12:30:00.000Z"}) +
                     (existing == "xmp" ? QStringList("Kept title") : QStringList()));
        QCOMPARE(RunTool("exiftool", {"-s3", "-validate", sidecar}).out.trimmed(),
                 QByteArray("OK"));

        const PictureRead read = Read(raw);
        VerifySydney(read);
        QCOMPARE(read.positionSource, QFileInfo(sidecar).fileName());
        QVERIFY2(ListText(raw, read, PictureList::Position)
                     .endsWith(" (from " + QFileInfo(sidecar).fileName() + ")"),
                 qPrintable(ListText(raw, read, PictureList::Position)));

        QCOMPARE(Undo(), QString());
        QCOMPARE(QFile::exists(sidecar), existing == "xmp");
        QCOMPARE(Content(sidecar), sidecarBefore);
        QCOMPARE(Content(raw), rawBefore);
        QCOMPARE(Read(raw).latitude.has_value(), existing == "xmp");
    }

    // A format that cannot hold a position is listed with why, refused in place, and
    // given a sidecar on request.
    void bmpOnlyBySidecar() {
        const QString bmp = Path("scan.bmp");
        QVERIFY(Make(bmp, "bmp"));
        const QByteArray before = Content(bmp);
        const PictureRead read = Read(bmp);
        QVERIFY(read.ok);
        QVERIFY(!read.writable);
        QVERIFY2(read.unwritableReason.contains("BMP"), qPrintable(read.unwritableReason));
        QVERIFY(ListText(bmp, read, PictureList::State).contains(read.unwritableReason));

        const QString refused = Write(Sydney(bmp));
        QVERIFY2(refused.contains("BMP"), qPrintable(refused));
        QCOMPARE(Content(bmp), before);

        const QByteArray sidecar = SidecarPath(Bytes(bmp), SidecarName::Base);
        QCOMPARE(Write(Sydney(bmp, sidecar)), QString());
        QCOMPARE(Content(bmp), before);
        VerifySydney(Read(bmp));
    }
};

QTEST_GUILESS_MAIN(TestFormatWrites)
#include "test_format_writes.moc"
