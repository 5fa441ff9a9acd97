#include "BatchRecorder.h"
#include "TestPictures.h"

#include "pictures/BatchRunner.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace TestPictures;

namespace {

// The place tags as ExifTool's command line reads them back, one "-GROUP:TAG=VALUE" a line.
QStringList PlaceTags(const QString& path) {
    QProcess process;
    process.start("exiftool", {"-a", "-args", "-G1", "-XMP-photoshop:all", "-XMP-iptcCore:all",
                               "-IPTC:all", path});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

bool Tag(const QString& path, const QStringList& assignments) {
    if (assignments.isEmpty())
        return true;
    QProcess process;
    process.start("exiftool",
                  QStringList{"-q", "-overwrite_original"} + assignments + QStringList{path});
    return process.waitForFinished(60000) && process.exitCode() == 0;
}

NamesWrite Names(const QByteArray& path, bool overwrite, const QByteArray& sidecar = {}) {
    NamesWrite write;
    write.path = path;
    write.city = QStringLiteral("Köln");
    write.state = QStringLiteral("Nordrhein-Westfalen");
    write.country = QStringLiteral("Deutschland");
    write.countryCode = QStringLiteral("DE");
    write.overwrite = overwrite;
    write.sidecar = sidecar;
    return write;
}

} // namespace

class NamesWriteTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void writtenReadUndone_data();
    void writtenReadUndone();
    void sidecar();

private:
    std::unique_ptr<BatchRunner> Runner();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_journal;
};

void NamesWriteTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_journal = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid() && m_journal->isValid());
}

std::unique_ptr<BatchRunner> NamesWriteTest::Runner() {
    auto runner = std::make_unique<BatchRunner>();
    runner->SetJournalFolder(m_journal->path());
    return runner;
}

void NamesWriteTest::writtenReadUndone_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<QStringList>("expected"); // the city first
    QTest::addColumn<QString>("absent");

    QTest::newRow("no IPTC: XMP alone")
        << QStringList() << false
        << QStringList{"-XMP-photoshop:City=Köln", "-XMP-photoshop:State=Nordrhein-Westfalen",
                       "-XMP-photoshop:Country=Deutschland", "-XMP-iptcCore:CountryCode=DE"}
        << "-IPTC:";
    // Latin-1 IPTC is marked UTF-8, and its own texts stay readable.
    QTest::newRow("Latin-1 IPTC") << QStringList{"-charset", "iptc=latin",
                                                 "-IPTC:Caption-Abstract=Café au lait"}
                                  << false
                                  << QStringList{"-IPTC:City=Köln",
                                                 "-IPTC:CodedCharacterSet=UTF8",
                                                 "-IPTC:Caption-Abstract=Café au lait",
                                                 "-IPTC:Province-State=Nordrhein-Westfalen",
                                                 "-IPTC:Country-PrimaryLocationName=Deutschland",
                                                 "-IPTC:Country-PrimaryLocationCode=DE",
                                                 "-XMP-photoshop:City=Köln"}
                                  << "";
    QTest::newRow("a city it holds is kept")
        << QStringList{"-IPTC:City=Bonn"} << false
        << QStringList{"-IPTC:City=Bonn", "-IPTC:Country-PrimaryLocationName=Deutschland",
                       "-XMP-photoshop:Country=Deutschland"}
        << "-XMP-photoshop:City=";
    QTest::newRow("overwritten when asked")
        << QStringList{"-XMP-photoshop:City=Bonn"} << true
        << QStringList{"-XMP-photoshop:City=Köln", "-XMP-photoshop:Country=Deutschland"} << "Bonn";
}

void NamesWriteTest::writtenReadUndone() {
    QFETCH(QStringList, before);
    QFETCH(bool, overwrite);
    QFETCH(QStringList, expected);
    QFETCH(QString, absent);
    const QString path = m_dir->filePath("picture.jpg");
    QVERIFY(MakeJpeg(path));
    QVERIFY(Tag(path, before));
    const QByteArray original = FileBytes(path);
    const QByteArray pixels = ImageData(path);

    auto runner = Runner();
    {
        BatchRecorder recorder(*runner);
        QVERIFY(runner->WriteNames({Names(QFile::encodeName(path), overwrite)}));
        QVERIFY(recorder.Wait());
        QVERIFY2(recorder.writes.value(0).first, qPrintable(recorder.writes.value(0).second));
    }
    const QStringList tags = PlaceTags(path);
    for (const QString& line : expected)
        QVERIFY2(tags.contains(line), qPrintable(line + " not in\n" + tags.join('\n')));
    if (!absent.isEmpty())
        QVERIFY2(!tags.join('\n').contains(absent), qPrintable(tags.join('\n')));
    QCOMPARE(ImageData(path), pixels);

    // The read reports the names the picture now holds.
    {
        BatchRecorder recorder(*runner);
        QVERIFY(runner->Read({QFile::encodeName(path)}));
        QVERIFY(recorder.Wait());
        const QString city = expected.first().section('=', 1);
        QCOMPARE(recorder.reads.value(0).city, city);
        QCOMPARE(recorder.reads.value(0).countryCode, QStringLiteral("DE"));
    }

    BatchRecorder recorder(*runner);
    QVERIFY(runner->UndoLast());
    QVERIFY(recorder.Wait());
    QCOMPARE(recorder.succeeded, 1);
    QCOMPARE(FileBytes(path), original);
}

void NamesWriteTest::sidecar() {
    const QString path = m_dir->filePath("picture.jpg");
    const QString xmp = m_dir->filePath("picture.xmp");
    QVERIFY(MakeJpeg(path));
    const QByteArray original = FileBytes(path);
    auto runner = Runner();
    {
        BatchRecorder recorder(*runner);
        QVERIFY(
            runner->WriteNames({Names(QFile::encodeName(path), false, QFile::encodeName(xmp))}));
        QVERIFY(recorder.Wait());
        QVERIFY2(recorder.writes.value(0).first, qPrintable(recorder.writes.value(0).second));
    }
    QCOMPARE(FileBytes(path), original);
    QVERIFY(PlaceTags(xmp).contains("-XMP-photoshop:City=Köln"));
    BatchRecorder recorder(*runner);
    QVERIFY(runner->UndoLast());
    QVERIFY(recorder.Wait());
    QCOMPARE(recorder.succeeded, 1);
    QVERIFY(!QFile::exists(xmp));
}

QTEST_GUILESS_MAIN(NamesWriteTest)
#include "test_names_write.moc"
