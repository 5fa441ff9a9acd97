#include "app/Settings.h"
#include "formats/EmbeddedPreview.h"
#include "formats/PictureFormats.h"
#include "formats/PicturePreview.h"

#include "tests/formats/FormatPictures.h"
#include "tests/formats/HeifPictures.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace PictureFormats;
using FormatPictures::JpegOf;

// Format facts, the setting, and the pictures inside files, on files the test makes.
class TestFormats : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;
    QTemporaryDir m_cache;
    QTemporaryDir m_dir;

    QString Path(const QString& name) { return m_dir.filePath(name); }
    static QByteArray Bytes(const QString& path) { return QFile::encodeName(path); }

private slots:
    void initTestCase() {
        QVERIFY(m_config.isValid() && m_cache.isValid() && m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        qputenv("XDG_CACHE_HOME", m_cache.path().toUtf8());
    }

    void facts_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<bool>("raw");
        QTest::addColumn<bool>("pageShows");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QByteArray>("baseSidecar");
        QTest::newRow("camera JPEG") << QByteArray("/p/IMG_1.JPG") << true << false << true << true
                                     << QByteArray("/p/IMG_1.xmp");
        QTest::newRow("Canon RAW, upper case") << QByteArray("/p/IMG_1.CR2") << true << true
                                               << false << true << QByteArray("/p/IMG_1.xmp");
        QTest::newRow("phone HEIC") << QByteArray("/p/a.b/IMG.heic") << true << false << false
                                    << true << QByteArray("/p/a.b/IMG.xmp");
        QTest::newRow("TIFF") << QByteArray("scan.tiff") << true << false << false << true
                              << QByteArray("scan.xmp");
        QTest::newRow("BMP") << QByteArray("/p/old.bmp") << true << false << true << false
                             << QByteArray("/p/old.xmp");
        QTest::newRow("no extension, dotted folder")
            << QByteArray("/p/a.b/photo") << false << false << false << false
            << QByteArray("/p/a.b/photo.xmp");
        QTest::newRow("hidden name") << QByteArray("/p/.nef") << false << false << false << false
                                     << QByteArray("/p/.nef.xmp");
    }

    void facts() {
        QFETCH(QByteArray, path);
        QFETCH(bool, listed);
        QFETCH(bool, raw);
        QFETCH(bool, pageShows);
        QFETCH(bool, writable);
        QFETCH(QByteArray, baseSidecar);
        QCOMPARE(IsListed(path), listed);
        QCOMPARE(IsRaw(path), raw);
        QCOMPARE(PageShows(path), pageShows);
        QCOMPARE(UnwritableReason(path).isEmpty(), writable);
        QCOMPARE(SidecarPath(path, SidecarName::Base), baseSidecar);
        QCOMPARE(SidecarPath(path, SidecarName::Full), path + ".xmp");
        QCOMPARE(SidecarCandidates(path, SidecarName::Full).first(), path + ".xmp");
        // Where a write goes under each setting.
        QCOMPARE(WritesSidecar(path, {WriteTarget::Picture, SidecarName::Base}), false);
        QCOMPARE(WritesSidecar(path, {WriteTarget::Sidecar, SidecarName::Base}), true);
        QCOMPARE(WritesSidecar(path, {WriteTarget::PictureExceptRaw, SidecarName::Base}), raw);
    }

    // The patterns find camera names in any letter case, and nothing else.
    void scanPatternsTakeAnyCase() {
        const QStringList names{"a.JPG", "b.Cr3", "c.heif", "d.ORF",    "e.webp",
                                "f.gif", "g.txt", "h.xmp",  "i.jpg.bak"};
        for (const QString& name : names)
            QVERIFY(FormatPictures::WriteFile(Path(name), "x"));
        QDir dir(m_dir.path());
        dir.setNameFilters(ScanPatterns());
        QCOMPARE(dir.entryList(QDir::Files, QDir::Name),
                 QStringList({"a.JPG", "b.Cr3", "c.heif", "d.ORF", "e.webp", "f.gif"}));
        QVERIFY(DialogPatterns().contains("*.[nN][eE][fF]"));
        for (const QString& name : names)
            QFile::remove(Path(name));
    }

    void settingKeepsToItsOwnGroup() {
        QCOMPARE(int(ReadWriteSetting().target), int(WriteTarget::PictureExceptRaw));
        QCOMPARE(int(ReadWriteSetting().name), int(SidecarName::Base));
        SaveSettings(12, 34, std::string("(1, 2)"));
        SaveWriteSetting({WriteTarget::Sidecar, SidecarName::Full});
        QCOMPARE(int(ReadWriteSetting().target), int(WriteTarget::Sidecar));
        QCOMPARE(int(ReadWriteSetting().name), int(SidecarName::Full));

        QSettings raw(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
        QCOMPARE(raw.value("Formats/WriteInto").toString(), QStringLiteral("sidecar"));
        QCOMPARE(raw.value("Formats/SidecarName").toString(), QStringLiteral("NAME.EXT.xmp"));
        raw.beginGroup("Kartavo");
        QCOMPARE(raw.childKeys(), QStringList({"Position", "xPos", "yPos"}));
        QCOMPARE(ReadSettings().xPos, 12);
        raw.endGroup();

        // A hand-edited value Kartavo does not know is the default.
        raw.setValue("Formats/WriteInto", "the moon");
        raw.sync();
        QCOMPARE(int(ReadWriteSetting().target), int(WriteTarget::PictureExceptRaw));
        SaveWriteSetting({});
    }

    // The test pictures are what ExifTool takes them for.
    void madePictures_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("fileType");
        QTest::newRow("TIFF") << "p.tif"
                              << "tiff"
                              << "TIFF";
        QTest::newRow("PNG") << "p.png"
                             << "png"
                             << "PNG";
        QTest::newRow("WebP") << "p.webp"
                              << "webp"
                              << "Extended WEBP";
        QTest::newRow("HEIC") << "p.heic"
                              << "heic"
                              << "HEIC";
        QTest::newRow("BMP") << "p.bmp"
                             << "bmp"
                             << "BMP";
        QTest::newRow("GIF") << "p.gif"
                             << "gif"
                             << "GIF";
        QTest::newRow("DNG from a TIFF") << "p.dng"
                                         << "dng"
                                         << "DNG";
        QTest::newRow("RAW with a preview") << "r.dng"
                                            << "raw"
                                            << "DNG";
    }

    void madePictures() {
        QFETCH(QString, name);
        QFETCH(QString, format);
        QFETCH(QString, fileType);
        const QString path = Path(name);
        if (format == "dng")
            QVERIFY(FormatPictures::MakeDngFromTiff(path));
        else if (format == "raw")
            QVERIFY(FormatPictures::WriteFile(
                path, FormatPictures::RawWithPreview(JpegOf(FormatPictures::Drawing(160, 120)))));
        else
            QVERIFY(FormatPictures::Make(path, format));
        QCOMPARE(FormatPictures::FileType(path), fileType);
    }

    void embeddedPreviewOfARaw() {
        const QByteArray small = JpegOf(FormatPictures::Drawing(160, 120));
        const QString path = Path("camera.dng");
        QVERIFY(FormatPictures::WriteFile(path, FormatPictures::RawWithPreview(small)));
        QString error;
        const QList<EmbeddedPreview::Jpeg> found = EmbeddedPreview::Extract(
            {Bytes(path), Bytes(Path("missing.nef"))}, EmbeddedPreview::Size::Largest, &error);
        QCOMPARE(found.size(), 2);
        QCOMPARE(found[0].data, small);
        QCOMPARE(found[1].data, QByteArray());
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    // A camera may keep a placeholder beside its real preview: larger in bytes but tiny,
    // or of one flat colour. The preview and the thumbnail show the real one.
    void placeholderPreviewIsPassedOver_data() {
        QTest::addColumn<QImage>("placeholder");
        QTest::newRow("tiny, larger in bytes") << FormatPictures::Drawing(8, 8);
        QTest::newRow("flat, larger in pixels") << [] {
            QImage flat(320, 240, QImage::Format_RGB32);
            flat.fill(Qt::white);
            return flat;
        }();
    }

    void placeholderPreviewIsPassedOver() {
        QFETCH(QImage, placeholder);
        const QByteArray real = JpegOf(FormatPictures::Drawing(160, 120));
        // Padded with a comment to outweigh the real one.
        QByteArray padded = JpegOf(placeholder);
        const QByteArray comment(real.size() + 2048, 'x');
        padded.insert(2, QByteArray("\xff\xfe", 2) + char((comment.size() + 2) >> 8) +
                             char((comment.size() + 2) & 0xff) + comment);
        const QString path = Path("placeholder.dng");
        QVERIFY(FormatPictures::WriteFile(path,
                                          FormatPictures::RawWithPreview(padded, 48, 32, 1, real)));
        QCOMPARE(PicturePreview::Make(Bytes(path)).image.size(), QSize(160, 120));
        QCOMPARE(PicturePreview::Thumbnails({Bytes(path)}, QSize(64, 64))[0].size(), QSize(64, 48));
    }

    // What the preview and the thumbnails show for each kind of file.
    void previews_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QSize>("size"); // empty: nothing to show
        QTest::newRow("TIFF, decoded") << "v.tif"
                                       << "tiff" << QSize(96, 64);
        QTest::newRow("WebP") << "v.webp"
                              << "webp" << QSize(96, 64);
        QTest::newRow("HEIC, decoded") << "v.heic"
                                       << "heic" << QSize(96, 64);
        QTest::newRow("RAW, its embedded JPEG") << "v.nef"
                                                << "raw" << QSize(160, 120);
        QTest::newRow("RAW turned by its orientation") << "v.orf"
                                                       << "raw6" << QSize(120, 160);
        QTest::newRow("RAW that is no picture") << "v.cr2"
                                                << "text" << QSize(0, 0);
    }

    void previews() {
        QFETCH(QString, name);
        QFETCH(QString, format);
        QFETCH(QSize, size);
        const QString path = Path(name);
        const QByteArray preview = JpegOf(FormatPictures::Drawing(160, 120));
        if (format == "raw" || format == "raw6")
            QVERIFY(FormatPictures::WriteFile(
                path, FormatPictures::RawWithPreview(preview, 48, 32, format == "raw6" ? 6 : 1)));
        else if (format == "text")
            QVERIFY(FormatPictures::WriteFile(path, "not a picture\n"));
        else
            QVERIFY(FormatPictures::Make(path, format));

        const PicturePreview::Result made = PicturePreview::Make(Bytes(path));
        QCOMPARE(made.image.size(), size);
        if (size.isEmpty())
            QCOMPARE(made.why, QStringLiteral("No preview in this file"));

        const QList<QImage> thumbnails = PicturePreview::Thumbnails({Bytes(path)}, QSize(64, 64));
        QCOMPARE(thumbnails.size(), 1);
        QCOMPARE(thumbnails[0].size(),
                 size.isEmpty() ? size : size.scaled(64, 64, Qt::KeepAspectRatio));

        // The photo view's file: a JPEG in a folder of the user's own.
        QString why;
        const QString cached = PicturePreview::CachedPreviewFile(Bytes(path), &why);
        QCOMPARE(cached.isEmpty(), size.isEmpty());
        if (!cached.isEmpty()) {
            QCOMPARE(QImage(cached).size(), size);
            struct stat info {};
            QCOMPARE(stat(QFile::encodeName(QFileInfo(cached).path()).constData(), &info), 0);
            QCOMPARE(info.st_mode & 0777, 0700u);
            QVERIFY(cached.startsWith(m_cache.path()));
        }
    }

    // libheif in the process: the list shows the thumbnail the file carries when it fills
    // the list's box, the preview always the picture itself, turned as the file says.
    void heif_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("thumbnailBox"); // 0: none; -1: a broken file
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("preview");
        QTest::addColumn<bool>("listShowsThumbnail");
        QTest::newRow("HEIC with its own thumbnail")
            << "t.heic" << int(heif_compression_HEVC) << 64 << 1 << QSize(192, 128) << true;
        QTest::newRow("HEIC whose thumbnail is smaller than the list's box")
            << "s.heic" << int(heif_compression_HEVC) << 48 << 1 << QSize(192, 128) << false;
        QTest::newRow("HEIC without a thumbnail, turned a quarter")
            << "n.heic" << int(heif_compression_HEVC) << 0 << 6 << QSize(128, 192) << false;
        QTest::newRow("AVIF") << "a.avif" << int(heif_compression_AV1) << 0 << 1 << QSize(192, 128)
                              << false;
        QTest::newRow("HEIC cut short")
            << "b.heic" << int(heif_compression_HEVC) << -1 << 1 << QSize(0, 0) << false;
    }

    void heif() {
        QFETCH(QString, name);
        QFETCH(int, format);
        QFETCH(int, thumbnailBox);
        QFETCH(int, orientation);
        QFETCH(QSize, preview);
        QFETCH(bool, listShowsThumbnail);
        const QString path = Path(name);
        const QColor picture(220, 40, 40);
        const QColor thumbnail(40, 40, 220);
        QVERIFY(HeifPictures::Make(path, heif_compression_format(format), QSize(192, 128), picture,
                                   qMax(thumbnailBox, 0), thumbnail,
                                   heif_orientation(orientation)));
        if (thumbnailBox < 0) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.resize(file.size() / 2));
        }

        const PicturePreview::Result made = PicturePreview::Make(Bytes(path));
        QCOMPARE(made.image.size(), preview);
        const QSize box(64, 64);
        const QImage listed = PicturePreview::Thumbnails({Bytes(path)}, box).value(0);
        QCOMPARE(listed.size(),
                 preview.isEmpty() ? preview : preview.scaled(box, Qt::KeepAspectRatio));
        if (preview.isEmpty()) {
            // Says so, with libheif's own reason.
            QVERIFY2(made.why.startsWith(QStringLiteral("No preview in this file (")) &&
                         made.why.size() > 30,
                     qPrintable(made.why));
            return;
        }
        const QColor shown = HeifPictures::Middle(made.image);
        QVERIFY(shown.red() > 180 && shown.blue() < 80);
        const QColor inList = HeifPictures::Middle(listed);
        if (listShowsThumbnail) {
            QVERIFY(inList.blue() > 180 && inList.red() < 80);
        } else {
            // Scaled down its own way, the picture keeps its colours.
            for (const int difference : {inList.red() - shown.red(), inList.green() - shown.green(),
                                         inList.blue() - shown.blue()})
                QVERIFY2(qAbs(difference) <= 6, qPrintable(inList.name() + " " + shown.name()));
        }
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "test_formats.moc"
