#include "track/PicturesTrack.h"
#include "track/TrackMatcher.h"

#include "tests/batch/BatchRecorder.h"
#include "tests/script/TestPictures.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// A phone's pictures with positions and GPS times, read by the real batch script, become the
// track that places a camera's pictures.
class TestPicturesTrack : public QObject {
    Q_OBJECT
private slots:
    void phoneAndCamera();
};

namespace {

// exiftool -TAG=VALUE ... on a new JPEG.
bool MakePicture(const QString& path, const QStringList& tags) {
    if (!TestPictures::MakeJpeg(path))
        return false;
    QStringList args{QStringLiteral("-q"), QStringLiteral("-overwrite_original")};
    for (const QString& tag : tags)
        args << QLatin1Char('-') + tag;
    args << path;
    return QProcess::execute(QStringLiteral("exiftool"), args) == 0;
}

} // namespace

void TestPicturesTrack::phoneAndCamera() {
    QTemporaryDir dir, journal;
    // The phone's clock is in Zurich's summer time; its GPS times are UTC.
    const QList<QStringList> phone{
        {"DateTimeOriginal=2024:07:01 11:00:00", "GPSDateStamp=2024:07:01", "GPSTimeStamp=09:00:00",
         "GPSLatitude=47.37", "GPSLatitudeRef=N", "GPSLongitude=8.54", "GPSLongitudeRef=E"},
        {"DateTimeOriginal=2024:07:01 11:00:59", "GPSDateStamp=2024:07:01", "GPSTimeStamp=09:01:00",
         "GPSLatitude=47.38", "GPSLatitudeRef=N", "GPSLongitude=8.56", "GPSLongitudeRef=E"},
        // No GPS time: its own clock in its own zone.
        {"DateTimeOriginal=2024:07:01 11:01:30", "OffsetTimeOriginal=+02:00", "GPSLatitude=47.39",
         "GPSLatitudeRef=N", "GPSLongitude=8.58", "GPSLongitudeRef=E"},
    };
    // The camera's clock with its zone; 09:00:30 and 09:01:15 UTC.
    const QList<QStringList> camera{
        {"DateTimeOriginal=2024:07:01 11:00:30", "OffsetTimeOriginal=+02:00"},
        {"DateTimeOriginal=2024:07:01 10:01:15", "OffsetTimeOriginal=+01:00"},
    };
    QList<QByteArray> paths;
    for (int i = 0; i < phone.size() + camera.size(); ++i) {
        const QString path = dir.filePath(QStringLiteral("p%1.jpg").arg(i));
        QVERIFY(MakePicture(path, i < phone.size() ? phone[i] : camera[i - phone.size()]));
        paths << QFile::encodeName(path);
    }
    BatchRunner runner;
    runner.SetJournalFolder(journal.path());
    BatchRecorder recorder(runner);
    QVERIFY(runner.Read(paths));
    QVERIFY(recorder.Wait());
    QCOMPARE(recorder.succeeded, int(paths.size()));
    QCOMPARE(recorder.reads[0].gpsTime, QStringLiteral("2024:07:01 09:00:00"));

    std::vector<PictureFix> fixes;
    for (int i = 0; i < paths.size(); ++i) {
        const PictureRead& r = recorder.reads[i];
        fixes.push_back({QStringLiteral("p%1.jpg").arg(i), r.latitude, r.longitude, r.altitude,
                         r.gpsTime, r.dateTime, r.offset});
    }
    const PicturesTrack built = BuildPicturesTrack(fixes, QTimeZone("Asia/Tokyo"));
    QCOMPARE(built.byOwnClock, QStringList{"p2.jpg"});
    QCOMPARE(built.track.segments.size(), std::size_t(1));
    QCOMPARE(built.track.segments[0].size(), std::size_t(3));

    const TrackMatcher matcher({&built.track});
    const qint64 base = 1719824400000; // 2024-07-01T09:00:00Z
    const MatchResult first = matcher.Match(base + 30000, 60000);
    QCOMPARE(first.kind, MatchKind::Interpolated);
    QVERIFY(std::abs(first.latitude - 47.375) < 1e-9);
    QVERIFY(std::abs(first.longitude - 8.55) < 1e-9);
    const MatchResult second = matcher.Match(base + 75000, 60000);
    QCOMPARE(second.kind, MatchKind::Interpolated);
    QVERIFY(std::abs(second.latitude - 47.385) < 1e-9);
    QVERIFY(std::abs(second.longitude - 8.57) < 1e-9);
}

QTEST_GUILESS_MAIN(TestPicturesTrack)
#include "test_pictures_track.moc"
