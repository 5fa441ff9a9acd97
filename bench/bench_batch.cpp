// Batch writes and reads of many pictures: Kartavo's BatchRunner against one exiftool
// process, gpscorrelate and the floor of a safe write on the same files, in one run.
// See README.md.
#include "BenchSupport.h"
#include "TestPictures.h"

#include "pictures/BatchRunner.h"
#include "script/UniqueFd.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

const double LATITUDE = 37.562159, LONGITUDE = 126.97335, ALTITUDE = 50;

// Resident memory of a process and all its descendants, in KiB.
long TreeRss(pid_t pid) {
    long total = 0;
    QFile status(QString("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                total += line.mid(6).trimmed().split(' ').first().toLong();
    QDir tasks(QString("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(tasks.filePath(task + "/children"));
        if (children.open(QIODevice::ReadOnly))
            for (const QByteArray& child : children.readAll().split(' '))
                if (!child.trimmed().isEmpty())
                    total += TreeRss(child.trimmed().toInt());
    }
    return total;
}

// Processor time (user and system) of the ended children of this process.
double ChildrenCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Samples the peak of this process tree while an operation runs in the event loop.
struct PeakSampler {
    long peak = 0;
    long peakChildren = 0;
    QTimer timer;
    PeakSampler() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const long all = TreeRss(getpid());
            peak = std::max(peak, all);
            long own = 0;
            QFile status("/proc/self/status");
            if (status.open(QIODevice::ReadOnly))
                for (const QByteArray& line : status.readAll().split('\n'))
                    if (line.startsWith("VmRSS:"))
                        own = line.mid(6).trimmed().split(' ').first().toLong();
            peakChildren = std::max(peakChildren, all - own);
        });
        timer.start(20);
    }
};

// A camera's kind of JPEG of about 6 MB: 12 megapixels of fine noise at quality 95,
// maker notes, a date and an embedded thumbnail.
bool MakeCameraJpeg(const QString& folder, const QString& path) {
    const QString pixels = folder + "/pixels.jpg";
    const QString thumb = folder + "/thumb.jpg";
    if (!Bench::MakeTwelveMegapixel(KARTAVO_SOURCE_DIR "/res/images/photo.jpg", pixels, 14, 95) ||
        !QImage(pixels).scaled(160, 120).save(thumb, "JPG", 80))
        return false;
    return TestPictures::AddCameraTags(pixels, thumb, path);
}

QStringList Copies(const QString& picture, const QString& folder, int count, bool link) {
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path = QString("%1/IMG_%2.jpg").arg(folder).arg(i, 4, 10, QChar('0'));
        QFile::remove(path);
        if (link ? ::link(QFile::encodeName(picture), QFile::encodeName(path)) != 0
                 : !QFile::copy(picture, path))
            return {};
        paths << path;
    }
    // The copies reach the disk before the clock starts: a tool that flushes its files
    // would otherwise wait behind them.
    ::sync();
    return paths;
}

// Reads or writes all of data, in as many calls as it takes.
bool Transfer(bool write, int fd, char* data, size_t size) {
    for (size_t done = 0; done < size;) {
        const ssize_t n =
            write ? ::write(fd, data + done, size - done) : ::read(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The least a safe rewrite of each file costs, on one core: the file read whole, a new
// file of the same size written beside it, flushed, renamed over it, and the folder
// flushed. Wall time in ms, or -1.
double FloorWrite(const QStringList& files) {
    QElapsedTimer timer;
    timer.start();
    std::vector<char> data;
    for (const QString& file : files) {
        const QByteArray path = QFile::encodeName(file);
        const QByteArray temp = path + ".floor";
        const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
        struct stat info {};
        {
            UniqueFd in(::open(path.constData(), O_RDONLY | O_CLOEXEC));
            if (!in.IsValid() || fstat(in.Get(), &info) != 0)
                return -1;
            data.resize(static_cast<size_t>(info.st_size));
            if (!Transfer(false, in.Get(), data.data(), data.size()))
                return -1;
        }
        UniqueFd out(::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!out.IsValid() || !Transfer(true, out.Get(), data.data(), data.size()) ||
            fsync(out.Get()) != 0 || ::close(out.Release()) != 0 ||
            ::rename(temp.constData(), path.constData()) != 0)
            return -1;
        UniqueFd dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!dir.IsValid() || fsync(dir.Get()) != 0)
            return -1;
    }
    return Bench::Milliseconds(timer);
}

// Hard links to the written copies, for a byte-for-byte comparison between versions.
bool KeepCopies(const QStringList& files, const QString& folder) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    for (const QString& file : files)
        if (::link(QFile::encodeName(file),
                   QFile::encodeName(folder + "/" + QFileInfo(file).fileName())) != 0)
            return false;
    return true;
}

// Runs one BatchRunner operation to its end; wall time in ms.
double TimeBatch(BatchRunner& runner, const std::function<bool()>& start, int* failed,
                 double* firstRowsMs = nullptr, int firstRows = 0) {
    QEventLoop loop;
    QElapsedTimer timer;
    auto count = QObject::connect(&runner, &BatchRunner::progress, [&](int done, int) {
        if (firstRowsMs && done == firstRows)
            *firstRowsMs = Bench::Milliseconds(timer);
    });
    auto end = QObject::connect(&runner, &BatchRunner::finished, [&](int, int bad, bool) {
        *failed = bad;
        loop.quit();
    });
    timer.start();
    if (!start())
        return -1;
    loop.exec();
    const double ms = Bench::Milliseconds(timer);
    QObject::disconnect(count);
    QObject::disconnect(end);
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int runs = 5, pictures = 100, listed = 1000;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "--keep")) {
            keep = true;
            continue;
        }
        if (i + 1 == argc)
            break;
        if (!strcmp(argv[i], "--runs"))
            runs = atoi(argv[i + 1]);
        else if (!strcmp(argv[i], "--pictures"))
            pictures = atoi(argv[i + 1]);
        else if (!strcmp(argv[i], "--list"))
            listed = atoi(argv[i + 1]);
        ++i;
    }
    QTemporaryDir work;
    // --keep: the work folder stays, with Kartavo's last written copies in w-kartavo/.
    work.setAutoRemove(!keep);
    const QString camera = work.filePath("camera.jpg");
    if (!work.isValid() || !MakeCameraJpeg(work.path(), camera)) {
        std::fprintf(stderr, "Cannot make the camera picture\n");
        return 1;
    }
    std::printf("Picture: 4000x3000 JPEG with maker notes and a thumbnail, %.1f MB\n",
                QFileInfo(camera).size() / 1e6);
    if (keep)
        std::printf("Work folder kept: %s\n", qPrintable(work.path()));

    BatchRunner runner;
    runner.SetJournalFolder(work.filePath("journal"));
    const QString latitude = QString::number(LATITUDE, 'f', 6);
    const QString longitude = QString::number(LONGITUDE, 'f', 5);

    // Write: the same position into `pictures` fresh copies, each tool in turn.
    // Kartavo as the pictures window runs it (Perl and ExifTool loaded while the positions
    // were set), and started cold, as a first write after the window opened.
    enum { KARTAVO, EXIFTOOL, GPSCORRELATE, FLOOR, KARTAVO_COLD, TOOLS };
    std::vector<double> kartavo, exiftool, gpscorrelate, floor, cold;
    std::vector<double> kartavoDurable, exiftoolDurable, gpscorrelateDurable, floorDurable,
        coldDurable;
    std::vector<double> kartavoCores; // processor time of the perl runs over wall time
    std::vector<double> kartavoCpu;   // processor time of the perl runs, ms a picture
    long writePeak = 0, writePeakChildren = 0, exiftoolWritePeak = 0, gpscorrelatePeak = 0;
    for (int run = 0; run <= runs; ++run) {
        for (int turn = 0; turn < TOOLS; ++turn) {
            const int tool = (run + turn) % TOOLS;
            if (tool == KARTAVO)
                runner.Prepare(BatchRunner::Next::Write);
            const QStringList files = Copies(camera, work.filePath("w"), pictures, false);
            if (files.isEmpty())
                return 1;
            double ms = -1;
            if (tool == KARTAVO || tool == KARTAVO_COLD) {
                QList<PictureWrite> writes;
                for (const QString& file : files) {
                    PictureWrite write;
                    write.path = QFile::encodeName(file);
                    write.latitude = LATITUDE;
                    write.longitude = LONGITUDE;
                    write.altitude = ALTITUDE;
                    writes << write;
                }
                int failed = 0;
                PeakSampler sampler;
                const double cpuBefore = ChildrenCpuMs();
                ms = TimeBatch(
                    runner, [&] { return runner.Write(writes); }, &failed);
                if (run > 0 && tool == KARTAVO) {
                    kartavoCores.push_back((ChildrenCpuMs() - cpuBefore) / ms);
                    kartavoCpu.push_back((ChildrenCpuMs() - cpuBefore) / pictures);
                }
                writePeak = std::max(writePeak, sampler.peak);
                writePeakChildren = std::max(writePeakChildren, sampler.peakChildren);
                if (failed)
                    ms = -1;
                if (keep && ms >= 0 && !KeepCopies(files, work.filePath("w-kartavo")))
                    return 1;
            } else if (tool == EXIFTOOL) {
                long peak = 0;
                ms = Bench::TimeProcess(
                    "exiftool",
                    QStringList{"-q", "-overwrite_original", "-GPSVersionID=2.2.0.0",
                                "-GPSLatitude=" + latitude, "-GPSLatitudeRef=N",
                                "-GPSLongitude=" + longitude, "-GPSLongitudeRef=E",
                                "-GPSAltitude=50", "-GPSAltitudeRef=0"} +
                        files,
                    &peak);
                exiftoolWritePeak = std::max(exiftoolWritePeak, peak);
            } else if (tool == FLOOR) {
                ms = FloorWrite(files);
            } else {
                long peak = 0;
                ms = Bench::TimeProcess(
                    "gpscorrelate",
                    QStringList{"-l", latitude + "," + longitude + ",50", "-R"} + files, &peak);
                gpscorrelatePeak = std::max(gpscorrelatePeak, peak);
            }
            if (ms < 0) {
                std::fprintf(stderr, "A write failed (tool %d)\n", tool);
                return 1;
            }
            // Until the pictures are on disk: the peers leave their data in the page cache.
            QElapsedTimer flush;
            flush.start();
            ::sync();
            const double durable = ms + Bench::Milliseconds(flush);
            if (run > 0) { // the first round warms the caches
                std::vector<double>* const rows[][2] = {{&kartavo, &kartavoDurable},
                                                        {&exiftool, &exiftoolDurable},
                                                        {&gpscorrelate, &gpscorrelateDurable},
                                                        {&floor, &floorDurable},
                                                        {&cold, &coldDurable}};
                rows[tool][0]->push_back(ms / pictures);
                rows[tool][1]->push_back(durable / pictures);
            }
        }
    }
    std::printf("\nWrite the same position into %d copies (ms a picture):\n", pictures);
    Bench::PrintRow("Kartavo batch (3 runs side by side, journal, fsync)", kartavo);
    Bench::PrintRow("  the same, Perl started cold", cold);
    Bench::PrintRow("one exiftool process, same tags", exiftool);
    Bench::PrintRow("gpscorrelate -l LAT,LON,ALT -R", gpscorrelate);
    Bench::PrintRow("floor: read, write beside, fsync, rename, fsync folder", floor);
    if (!floor.empty() && !kartavo.empty() && !gpscorrelate.empty())
        std::printf("Kartavo against the floor %.2fx, against gpscorrelate %.2fx (medians)\n",
                    Bench::Summarize(kartavo).median / Bench::Summarize(floor).median,
                    Bench::Summarize(kartavo).median / Bench::Summarize(gpscorrelate).median);
    std::printf("Cores the perl runs kept busy during Kartavo's write: median %.2f\n",
                Bench::Summarize(kartavoCores).median);
    Bench::PrintRow("processor time of Kartavo's perl runs, a picture", kartavoCpu);
    std::printf("The same, until the pictures are on disk (the run, then sync(2)):\n");
    Bench::PrintRow("Kartavo batch + sync", kartavoDurable);
    Bench::PrintRow("  the same, Perl started cold", coldDurable);
    Bench::PrintRow("exiftool + sync", exiftoolDurable);
    Bench::PrintRow("gpscorrelate + sync", gpscorrelateDurable);
    Bench::PrintRow("floor + sync", floorDurable);
    std::printf("Peak RSS: Kartavo bench process and its perl runs %ld KiB (perl runs %ld KiB); "
                "exiftool %ld KiB; gpscorrelate %ld KiB\n",
                writePeak, writePeakChildren, exiftoolWritePeak, gpscorrelatePeak);

    if (listed <= 0)
        return 0;
    // List: read `listed` pictures (hard links to the camera picture).
    const QStringList files = Copies(camera, work.filePath("r"), listed, true);
    QList<QByteArray> paths;
    for (const QString& file : files)
        paths << QFile::encodeName(file);
    std::vector<double> readAll, readFirst, exiftoolRead;
    long readPeak = 0, readPeakChildren = 0, exiftoolReadPeak = 0;
    for (int run = 0; run <= runs; ++run) {
        for (int turn = 0; turn < 2; ++turn) {
            if ((run + turn) % 2 == 0) {
                int failed = 0;
                double first = -1;
                PeakSampler sampler;
                const double ms = TimeBatch(
                    runner, [&] { return runner.Read(paths); }, &failed, &first, 30);
                readPeak = std::max(readPeak, sampler.peak);
                readPeakChildren = std::max(readPeakChildren, sampler.peakChildren);
                if (failed)
                    return 1;
                if (run > 0) {
                    readAll.push_back(ms);
                    readFirst.push_back(first);
                }
            } else {
                long peak = 0;
                const double ms = Bench::TimeProcess(
                    "exiftool", QStringList{"-q", "-fast2", "-j"} + files, &peak);
                exiftoolReadPeak = std::max(exiftoolReadPeak, peak);
                if (ms < 0)
                    return 1;
                if (run > 0)
                    exiftoolRead.push_back(ms);
            }
        }
    }
    std::printf("\nList %d pictures (ms for all of them):\n", listed);
    Bench::PrintRow("Kartavo batch read, with thumbnails", readAll);
    Bench::PrintRow("  of which the first 30 pictures", readFirst);
    Bench::PrintRow("exiftool -fast2 -j", exiftoolRead);
    std::printf("Peak RSS: Kartavo bench process and its perl runs %ld KiB (perl runs %ld KiB); "
                "exiftool %ld KiB\n",
                readPeak, readPeakChildren, exiftoolReadPeak);
    return 0;
}
