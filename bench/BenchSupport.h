#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <random>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

// Small helpers for the hand-run benchmarks: timing summaries, timed child processes,
// and the pictures the benchmarks work on.
namespace Bench {

struct Summary {
    double median = 0;
    double min = 0;
    double max = 0;
    int runs = 0;
};

inline Summary Summarize(std::vector<double> samples) {
    Summary summary;
    summary.runs = static_cast<int>(samples.size());
    if (samples.empty())
        return summary;
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    summary.median =
        samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
    summary.min = samples.front();
    summary.max = samples.back();
    return summary;
}

inline void PrintRow(const char* what, const std::vector<double>& samples) {
    const Summary s = Summarize(samples);
    std::printf("%-58s median %8.1f ms   min %8.1f   max %8.1f   (%d runs)\n", what, s.median,
                s.min, s.max, s.runs);
    std::fflush(stdout);
}

inline double Milliseconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Runs program to its end, output discarded, and returns the wall time in milliseconds,
// or -1 when it fails. Spawned as the program spawns its scripts: a fork() of this big
// process would add its own cost to the bare tool's time. With peakKiB, the child's own
// peak resident memory (VmHWM) is polled every 5 ms until it ends.
inline double TimeProcess(const QString& program, const QStringList& args,
                          long* peakKiB = nullptr) {
    std::vector<QByteArray> words{program.toLocal8Bit()};
    for (const QString& arg : args)
        words.push_back(arg.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    for (;;) {
        if (peakKiB) {
            QFile file(QString("/proc/%1/status").arg(pid));
            if (file.open(QIODevice::ReadOnly))
                for (const QByteArray& line : file.readAll().split('\n'))
                    if (line.startsWith("VmHWM:"))
                        *peakKiB =
                            std::max(*peakKiB, line.mid(6).trimmed().split(' ').first().toLong());
        }
        const pid_t ended = waitpid(pid, &status, peakKiB ? WNOHANG : 0);
        if (ended == pid)
            break;
        if (ended < 0 && errno != EINTR)
            return -1;
        if (ended == 0)
            usleep(5000);
    }
    const double ms = Milliseconds(timer);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1;
}

// Sets tags with ExifTool's command line, as a user would.
inline bool Tag(const QString& path, const QStringList& assignments) {
    return TimeProcess("exiftool", QStringList{"-q", "-overwrite_original"} + assignments +
                                       QStringList{path}) >= 0;
}

// A 4000x3000 picture from our sample photograph, with some sensor-like noise so that the
// JPEG at quality 90 has a camera's size rather than a flat image's. More noise and a
// higher quality make a larger file.
inline bool MakeTwelveMegapixel(const QString& sample, const QString& path, int amount = 10,
                                int quality = 90) {
    QImage image = QImage(sample)
                       .scaled(4000, 3000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return false;
    std::mt19937 random(6);
    std::uniform_int_distribution<int> noise(-amount, amount);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = noise(random);
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + n, 0, 255), std::clamp(qGreen(p) + n, 0, 255),
                           std::clamp(qBlue(p) + n, 0, 255));
        }
    }
    return image.save(path, "JPG", quality);
}

} // namespace Bench
