#include "pictures/BatchRunner.h"

#include "base/Resource.h"
#include "base/Trace.h"
#include "formats/PictureFormats.h"
#include "pictures/BatchFields.h"
#include "pictures/BatchJournal.h"
#include "pictures/BatchLane.h"

#include <QDir>
#include <QFile>
#include <QMetaObject>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

enum class Mode { Read, Write, Undo };

// Reads keep to the two cores; a write waits for the disk part of the time, when a third
// run finds a core free. Each lane's run is started ahead (Prepare), so it costs no start.
constexpr int READ_LANES = 2;
constexpr int WRITE_LANES = 3;
constexpr int LANES = std::max(READ_LANES, WRITE_LANES);
// Perl and ExifTool take a tenth of a second to start, and a write's first picture a
// third of a second more to load ExifTool's writer; a chunk shares that cost among its
// pictures, while each picture still reports as soon as it is done.
constexpr int MAX_READ_CHUNK = 500;
constexpr int FIRST_READ_CHUNK = 16;
constexpr int MAX_WRITE_CHUNK = 100;
// Time limits of a run: a base plus so much per picture of its chunk.
constexpr int READ_LIMIT_MS = 30000, READ_LIMIT_PER_PICTURE_MS = 3000;
constexpr int WRITE_LIMIT_MS = 60000, WRITE_LIMIT_PER_PICTURE_MS = 30000;
// After SIGTERM a run may finish the picture in hand before it is killed.
constexpr int KILL_GRACE_MS = 15000;

const QString CANCELLED = QStringLiteral("Cancelled before it was begun");

struct Item {
    std::vector<std::string> args; // the picture's arguments to the script
    QByteArray path;               // the picture, as the caller named it
    // A read's arguments, made as its run starts: for a year of pictures, making them all
    // at once held the window up for tens of milliseconds.
    bool readArgs = false;
    bool done = false; // reported
    // Known before any run: a picture with no arguments is reported with these.
    bool presetOk = false;
    QString presetReason;
};

std::string Bytes(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString Text(const QByteArray& bytes) {
    return QString::fromUtf8(bytes);
}

// Why a file name cannot be passed on, or an empty string.
QString BadName(const QByteArray& path) {
    if (path.isEmpty())
        return QStringLiteral("The file name is empty");
    if (path.contains('\0'))
        return QStringLiteral("The file name holds a zero byte");
    return {};
}

std::optional<double> OptionalNumber(const QByteArray& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

QString FirstLine(const QByteArray& text) {
    for (const QByteArray& line : text.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            return Text(trimmed);
    }
    return {};
}

} // namespace

struct BatchRunner::Impl : BatchLane::Receiver {
    struct Lane {
        std::unique_ptr<BatchLane> runner;
        std::unique_ptr<BatchLane> waiting; // started ahead, for the lane's next run
        int waitingFor = -1;                // the Next it was started for
        std::vector<int> chunk;             // item numbers, in the order given to the script
        std::vector<std::string> argv;      // the run's command, should it start anew
        bool given = false;                 // the run went to a script started ahead...
        bool taken = false;                 // ...which said it has its arguments
        int run = -1;
        bool active = false;
        bool timedOut = false;
        bool killNext = false;
        int limitMs = 0;
        QTimer timer;
        std::shared_ptr<const ThumbnailStore> thumbnails; // a read's, of its present run
    };

    BatchRunner& q;
    QString journalFolder;

    Mode mode = Mode::Read;
    bool names = false; // a write of place names
    PictureFormats::SidecarName naming = PictureFormats::SidecarName::Base; // a read's sidecars
    bool busy = false;
    bool cancelled = false;
    std::vector<Item> items;
    size_t next = 0;
    int nextId = 0;
    int runs = 0;
    int done = 0, succeeded = 0, failed = 0;
    bool anyWritten = false; // a write may have reached a picture: keep its journal
    bool undoOpen = false;   // an undo left pictures it may still put back
    QString journal;
    std::unique_ptr<QTemporaryDir> scriptFolder;
    QString script;
    Lane lanes[LANES];
    int prepared = 0; // lanes the last Prepare started a script in

    explicit Impl(BatchRunner& runner) : q(runner) {
        journalFolder = BatchJournal::DefaultFolder();
        for (int i = 0; i < LANES; ++i) {
            lanes[i].runner = std::make_unique<BatchLane>(i, &q, this);
            lanes[i].timer.setSingleShot(true);
            QObject::connect(&lanes[i].timer, &QTimer::timeout, &q, [this, i] { OnTimeout(i); });
        }
    }

    ~Impl() override {
        // A run left behind stops after the picture in hand; its workers end now.
        for (Lane& lane : lanes) {
            if (lane.active)
                lane.runner->SignalChild(SIGTERM);
            lane.runner.reset();
            lane.waiting.reset();
        }
    }

    bool Begin(Mode newMode, std::vector<Item> newItems, bool placeNames = false) {
        mode = newMode;
        names = placeNames;
        items = std::move(newItems);
        busy = true;
        cancelled = false;
        next = 0;
        nextId = 0;
        done = succeeded = failed = 0;
        anyWritten = undoOpen = false;
        // Results come as signals after the call has returned, never inside it.
        QMetaObject::invokeMethod(
            &q, [this] { Launch(); }, Qt::QueuedConnection);
        return true;
    }

    void Launch() {
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i].done || items[i].readArgs || !items[i].args.empty())
                continue;
            // Put back by an earlier undo of this write: nothing is put back now.
            if (mode == Mode::Undo && items[i].presetOk)
                Settle(static_cast<int>(i));
            else
                Report(static_cast<int>(i), items[i].presetOk, items[i].presetReason);
        }
        QString error;
        if (mode == Mode::Write && !cancelled) {
            journal = BatchJournal::Create(journalFolder, error);
            if (journal.isEmpty())
                return FailAll(error);
        }
        if (!cancelled && !HaveScript(error))
            return FailAll(error);
        for (int i = 0; i < LanesFor(mode); ++i)
            StartNext(i);
    }

    // The script is written once and kept, unless something removed it meanwhile.
    bool HaveScript(QString& error) {
        if (scriptFolder && QFile::exists(script))
            return true;
        QFile resource(QStringLiteral(":/TEXT/%1").arg(IDR_BATCH_GPS));
        // QTemporaryDir makes its folder for this user alone (0700).
        scriptFolder = std::make_unique<QTemporaryDir>();
        if (!resource.open(QIODevice::ReadOnly) || !scriptFolder->isValid()) {
            error = QStringLiteral("Cannot make a temporary file for the batch script in %1: %2")
                        .arg(QDir::tempPath(), scriptFolder->errorString());
            return false;
        }
        script = scriptFolder->filePath(QStringLiteral("batchgps.pl"));
        QFile file(script);
        if (!file.open(QIODevice::WriteOnly) || file.write(resource.readAll()) < 0 ||
            !file.flush()) {
            error = QStringLiteral("Cannot write the batch script to %1: %2")
                        .arg(script, file.errorString());
            return false;
        }
        return true;
    }

    void FailAll(const QString& reason) {
        for (size_t i = 0; i < items.size(); ++i)
            if (!items[i].done)
                Report(static_cast<int>(i), false, reason);
        Finish();
    }

    static int LanesFor(Mode mode) { return mode == Mode::Read ? READ_LANES : WRITE_LANES; }

    int ChunkSize() const {
        const int count = static_cast<int>(items.size());
        if (mode == Mode::Read) {
            // The first rows of a list come from both lanes at once.
            if (next < static_cast<size_t>(READ_LANES * FIRST_READ_CHUNK))
                return std::min(FIRST_READ_CHUNK,
                                std::max(1, (count + READ_LANES - 1) / READ_LANES));
            const int half = (count + READ_LANES - 1) / READ_LANES;
            return std::max(1, std::min(MAX_READ_CHUNK, half));
        }
        // As few runs as the largest chunk allows, the same number in each lane, so
        // that neither lane starts a run of its own for the last few pictures.
        const int lanes = WRITE_LANES * ((count + WRITE_LANES * MAX_WRITE_CHUNK - 1) /
                                         (WRITE_LANES * MAX_WRITE_CHUNK));
        return std::max(1, (count + lanes - 1) / std::max(1, lanes));
    }

    void AppendArgs(const Item& item, std::vector<std::string>& argv) const {
        if (!item.readArgs) {
            argv.insert(argv.end(), item.args.begin(), item.args.end());
            return;
        }
        // A picture without a position of its own may have one in its sidecar.
        const QList<QByteArray> sidecars = PictureFormats::SidecarCandidates(item.path, naming);
        argv.insert(argv.end(), {Bytes(item.path), Bytes(sidecars[0]), Bytes(sidecars[1])});
    }

    void StartNext(int laneNumber) {
        Lane& lane = lanes[laneNumber];
        lane.active = false;
        for (;;) {
            lane.chunk.clear();
            while (!cancelled && next < items.size() &&
                   static_cast<int>(lane.chunk.size()) < ChunkSize()) {
                if (!items[next].done)
                    lane.chunk.push_back(static_cast<int>(next));
                ++next;
            }
            if (lane.chunk.empty())
                break;
            static const char* const modes[] = {"read", "write", "undo"};
            // Without a file for them, a read's thumbnails come through the pipe.
            lane.thumbnails = mode == Mode::Read ? ThumbnailStore::Make() : nullptr;
            const QString file = lane.thumbnails ? lane.thumbnails->Path() : journal;
            std::vector<std::string> argv{"perl",
                                          Bytes(QFile::encodeName(script)),
                                          names ? "names" : modes[static_cast<int>(mode)],
                                          file.isEmpty() ? "-" : Bytes(QFile::encodeName(file)),
                                          std::to_string(nextId),
                                          "--"};
            nextId += static_cast<int>(lane.chunk.size());
            for (int item : lane.chunk)
                AppendArgs(items[item], argv);
            ++runs;
            int error = 0;
            lane.given = lane.taken = false;
            if (lane.waiting && lane.waiting->GiveRun(
                                    std::vector<std::string>(argv.begin() + 2, argv.end()), runs)) {
                lane.runner = std::move(lane.waiting);
                lane.given = true;
            } else {
                lane.waiting.reset(); // gone, or not listening: it goes, and a run starts anew
                error = lane.runner->StartRun(argv, runs);
            }
            lane.argv = std::move(argv);
            if (error == 0) {
                lane.active = true;
                lane.run = runs;
                lane.timedOut = lane.killNext = false;
                const bool read = mode == Mode::Read;
                lane.limitMs = (read ? READ_LIMIT_MS : WRITE_LIMIT_MS) +
                               static_cast<int>(lane.chunk.size()) *
                                   (read ? READ_LIMIT_PER_PICTURE_MS : WRITE_LIMIT_PER_PICTURE_MS);
                lane.timer.start(lane.limitMs);
                return;
            }
            const QString reason = QStringLiteral("Cannot start perl: %1")
                                       .arg(QString::fromLocal8Bit(strerror(error)));
            for (int item : lane.chunk)
                Report(item, false, reason);
        }
        for (const Lane& other : lanes)
            if (other.active)
                return;
        Finish();
    }

    void OnLaneLine(int laneNumber, int run, const QByteArray& line) override {
        Lane& lane = lanes[laneNumber];
        if (run != lane.run || !lane.active)
            return;
        if (lane.given && line == "TAKEN") {
            lane.taken = true;
            return;
        }
        const QList<QByteArray> fields = BatchFields::Split(line);
        if (fields.size() < 3)
            return;
        bool ok = false;
        const int index = fields[1].toInt(&ok);
        if (!ok || index < 0 || index >= static_cast<int>(lane.chunk.size()))
            return;
        const int item = lane.chunk[static_cast<size_t>(index)];
        if (items[item].done)
            return;
        const QByteArray& status = fields[2];
        const QString reason = fields.size() > 3 ? Text(fields[3]) : QString();
        if (mode == Mode::Read && fields[0] == "R") {
            if (status == "OK" && fields.size() >= 13)
                ReportRead(item, fields, lane.thumbnails);
            else
                Report(item, false, reason);
        } else if (mode == Mode::Write && fields[0] == "W") {
            if (status == "OK")
                anyWritten = true;
            Report(item, status == "OK", reason);
        } else if (mode == Mode::Undo && fields[0] == "U") {
            if (status == "SAME")
                return Settle(item);
            // SKIP: not to be undone (changed since, gone); FAIL: might be undone later.
            if (status == "FAIL")
                undoOpen = true;
            Report(item, status == "OK", reason);
        }
    }

    void OnLaneEnd(int laneNumber, int run, int exitStatus, const QByteArray& error) override {
        Lane& lane = lanes[laneNumber];
        if (run != lane.run || !lane.active)
            return;
        lane.timer.stop();
        // A script started ahead that ended before it took its arguments began nothing.
        if (lane.given && !lane.taken && !cancelled && !lane.timedOut) {
            lane.given = false;
            const int error = lane.runner->StartRun(lane.argv, ++runs);
            if (error == 0) {
                lane.run = runs;
                lane.timer.start(lane.limitMs);
                return;
            }
        }
        lane.active = false;
        QString reason;
        if (lane.timedOut)
            reason = QStringLiteral("Stopped: the batch script took longer than %1 s")
                         .arg(lane.limitMs / 1000);
        else if (!FirstLine(error).isEmpty())
            reason = QStringLiteral("The batch script failed: %1").arg(FirstLine(error));
        else if (exitStatus == ProcessRunner::EXIT_SIGNALLED)
            reason = QStringLiteral("The batch script was killed");
        else
            reason =
                QStringLiteral("The batch script ended early (exit status %1)").arg(exitStatus);
        // Cancelled runs end cleanly between pictures: what is left was not begun.
        const bool notBegun = cancelled && exitStatus == 0 && !lane.timedOut;
        for (int item : lane.chunk) {
            if (items[item].done)
                continue;
            if (notBegun) {
                Report(item, false, CANCELLED, false);
            } else {
                // The script may have been in the middle of it: the journal knows.
                anyWritten = anyWritten || mode == Mode::Write;
                undoOpen = undoOpen || mode == Mode::Undo;
                Report(item, false, reason);
            }
        }
        StartNext(laneNumber);
    }

    void OnTimeout(int laneNumber) {
        Lane& lane = lanes[laneNumber];
        if (!lane.active)
            return;
        lane.timedOut = true;
        lane.runner->SignalChild(lane.killNext ? SIGKILL : SIGTERM);
        if (!lane.killNext) {
            lane.killNext = true;
            lane.timer.start(KILL_GRACE_MS);
        }
    }

    void ReportRead(int item, const QList<QByteArray>& f,
                    const std::shared_ptr<const ThumbnailStore>& thumbnails) {
        PictureRead read;
        read.ok = true;
        read.dateTime = Text(f[3]);
        read.offset = Text(f[4]);
        if (auto latitude = OptionalNumber(f[5]), longitude = OptionalNumber(f[6]);
            latitude && longitude) {
            read.latitude = latitude;
            read.longitude = longitude;
        }
        read.altitude = OptionalNumber(f[7]);
        read.mimeType = Text(f[8]);
        read.writable = f[9] == "1";
        read.unwritableReason = Text(f[10]);
        read.positionSource = Text(f[11]);
        if ((f[12].startsWith('@') && thumbnails) || f[12].startsWith('#')) {
            // "@OFFSET,LENGTH" in the run's thumbnail file, "#OFFSET,LENGTH" in the picture.
            const qsizetype comma = f[12].indexOf(',');
            if (f[12].startsWith('@'))
                read.thumbnail.store = thumbnails;
            else
                read.thumbnail.picture = items[item].path;
            read.thumbnail.offset = f[12].mid(1, comma - 1).toLongLong();
            read.thumbnail.length = comma > 0 ? f[12].mid(comma + 1).toLongLong() : 0;
        } else {
            read.thumbnail.bytes = QByteArray::fromBase64(f[12]);
        }
        if (f.size() > 13)
            read.gpsTime = Text(f[13]);
        if (f.size() > 17) {
            read.city = Text(f[14]);
            read.state = Text(f[15]);
            read.country = Text(f[16]);
            read.countryCode = Text(f[17]);
        }
        items[item].done = true;
        ++succeeded;
        ++done;
        emit q.pictureRead(item, read);
        emit q.progress(done, static_cast<int>(items.size()));
    }

    // Nothing to do for the picture: it is as it was, and counted in neither total.
    void Settle(int item) {
        items[item].done = true;
        ++done;
        emit q.progress(done, static_cast<int>(items.size()));
    }

    // counted: a failure that counts as failed (a cancelled picture does not).
    void Report(int item, bool ok, const QString& reason, bool counted = true) {
        items[item].done = true;
        ++done;
        if (ok)
            ++succeeded;
        else if (counted)
            ++failed;
        switch (mode) {
        case Mode::Read: {
            PictureRead read;
            read.reason = reason;
            emit q.pictureRead(item, read);
            break;
        }
        case Mode::Write:
            emit q.pictureWritten(item, ok, reason);
            break;
        case Mode::Undo:
            emit q.pictureUndone(items[item].path, ok, reason);
            break;
        }
        emit q.progress(done, static_cast<int>(items.size()));
    }

    void Finish() {
        if (!busy)
            return;
        for (size_t i = 0; i < items.size(); ++i)
            if (!items[i].done)
                Report(static_cast<int>(i), false, CANCELLED, false);
        QString error;
        if (mode == Mode::Write && !journal.isEmpty() && !anyWritten)
            QFile::remove(journal); // nothing to undo
        if (mode == Mode::Undo && !cancelled && !undoOpen &&
            !BatchJournal::MarkUndone(journal, error))
            Trace("# %s\n", qPrintable(error));
        journal.clear();
        busy = false;
        emit q.finished(succeeded, failed, cancelled);
    }
};

BatchRunner::BatchRunner(QObject* parent)
    : QObject(parent), m_pImpl(std::make_unique<Impl>(*this)) {}

BatchRunner::~BatchRunner() = default;

bool BatchRunner::Read(const QList<QByteArray>& paths) {
    if (m_pImpl->busy)
        return false;
    std::vector<Item> items(static_cast<size_t>(paths.size()));
    m_pImpl->naming = PictureFormats::ReadWriteSetting().name;
    for (int i = 0; i < paths.size(); ++i) {
        Item& item = items[static_cast<size_t>(i)];
        item.path = paths[i];
        item.presetReason = BadName(item.path);
        item.readArgs = item.presetReason.isEmpty();
    }
    m_pImpl->Begin(Mode::Read, std::move(items));
    return true;
}

bool BatchRunner::Write(const QList<PictureWrite>& writes) {
    if (m_pImpl->busy)
        return false;
    std::vector<Item> items(static_cast<size_t>(writes.size()));
    QSet<QByteArray> targets; // two names of one file would be written over each other
    for (int i = 0; i < writes.size(); ++i) {
        const PictureWrite& write = writes[i];
        Item& item = items[static_cast<size_t>(i)];
        item.path = write.path;
        item.presetReason = BadName(item.path);
        if (!item.presetReason.isEmpty())
            continue;
        // What is written: the picture, or its sidecar (which need not exist yet).
        const QByteArray written = write.sidecar.isEmpty() ? item.path : write.sidecar;
        char* real = realpath(written.constData(), nullptr);
        if (real != nullptr || !write.sidecar.isEmpty()) {
            const QByteArray key = real != nullptr ? QByteArray(real) : written;
            free(real);
            const bool twice = targets.contains(key);
            targets.insert(key);
            if (twice) {
                item.presetReason =
                    write.sidecar.isEmpty()
                        ? QStringLiteral("The same picture is already in this write")
                        : QStringLiteral("Its sidecar %1 is already written for another picture")
                              .arg(QString::fromUtf8(write.sidecar));
                continue;
            }
        }
        item.args = {Bytes(write.path),
                     Bytes(QByteArray::number(write.latitude, 'f', 9)),
                     Bytes(QByteArray::number(write.longitude, 'f', 9)),
                     write.altitude ? Bytes(QByteArray::number(*write.altitude, 'f', 4)) : "",
                     write.utcTime.isValid()
                         ? Bytes(write.utcTime.toUTC()
                                     .toString(QStringLiteral("yyyy:MM:dd HH:mm:ss.zzz"))
                                     .toLatin1())
                         : "",
                     Bytes(write.sidecar)};
    }
    m_pImpl->Begin(Mode::Write, std::move(items));
    return true;
}

bool BatchRunner::WriteNames(const QList<NamesWrite>& writes) {
    if (m_pImpl->busy)
        return false;
    std::vector<Item> items(static_cast<size_t>(writes.size()));
    QSet<QByteArray> targets; // two names of one file would be written over each other
    for (int i = 0; i < writes.size(); ++i) {
        const NamesWrite& write = writes[i];
        Item& item = items[static_cast<size_t>(i)];
        item.path = write.path;
        item.presetReason = BadName(item.path);
        const QByteArray written = write.sidecar.isEmpty() ? item.path : write.sidecar;
        char* real = realpath(written.constData(), nullptr);
        const QByteArray key = real != nullptr ? QByteArray(real) : written;
        free(real);
        if (item.presetReason.isEmpty() && targets.contains(key))
            item.presetReason = QStringLiteral("The same file is already in this write");
        targets.insert(key);
        if (!item.presetReason.isEmpty())
            continue;
        // One line of text each: a zero byte would cut the argument short.
        auto name = [](const QString& text) {
            return Bytes(QString(text).remove(QChar(0)).simplified().toUtf8());
        };
        item.args = {Bytes(write.path),   name(write.city),        name(write.state),
                     name(write.country), name(write.countryCode), write.overwrite ? "1" : "0",
                     Bytes(write.sidecar)};
    }
    m_pImpl->Begin(Mode::Write, std::move(items), true);
    return true;
}

bool BatchRunner::UndoLast() {
    if (m_pImpl->busy)
        return false;
    const QString journal = BatchJournal::Newest(m_pImpl->journalFolder);
    if (journal.isEmpty())
        return false;
    QList<BatchJournal::Entry> entries;
    QString error;
    std::vector<Item> items;
    if (!BatchJournal::Read(journal, entries, error)) {
        Item item;
        item.path = QFile::encodeName(journal);
        item.presetReason = error;
        items.push_back(item);
    }
    BatchJournal::FollowUndoneWrites(journal, entries);
    for (const BatchJournal::Entry& entry : entries) {
        Item item;
        item.path = entry.path;
        item.presetOk = entry.undone;
        if (!entry.undone)
            item.args = {Bytes(entry.target), Bytes(entry.before), Bytes(entry.written)};
        items.push_back(item);
    }
    m_pImpl->journal = journal;
    m_pImpl->Begin(Mode::Undo, std::move(items));
    return true;
}

bool BatchRunner::CanUndo() const {
    return !BatchJournal::Newest(m_pImpl->journalFolder).isEmpty();
}

void BatchRunner::Cancel() {
    if (!m_pImpl->busy)
        return;
    m_pImpl->cancelled = true;
    for (Impl::Lane& lane : m_pImpl->lanes)
        if (lane.active)
            lane.runner->SignalChild(SIGTERM);
}

void BatchRunner::Prepare(Next next) {
    Impl& d = *m_pImpl;
    QString error;
    if (d.busy || !d.HaveScript(error))
        return;
    const char* hint = next == Next::Write ? "write" : "read";
    d.prepared = d.LanesFor(next == Next::Write ? Mode::Write : Mode::Read);
    for (int i = d.prepared; i < LANES; ++i)
        d.lanes[i].waiting.reset();
    for (int i = 0; i < d.prepared; ++i) {
        Impl::Lane& lane = d.lanes[i];
        if (lane.waiting && lane.waiting->IsRunning() && lane.waitingFor == static_cast<int>(next))
            continue;
        lane.waiting = std::make_unique<BatchLane>(i, this, m_pImpl.get());
        lane.waitingFor = static_cast<int>(next);
        if (lane.waiting->StartWaiting(Bytes(QFile::encodeName(d.script)), hint) != 0)
            lane.waiting.reset();
    }
}

bool BatchRunner::IsPrepared() const {
    for (int i = 0; i < m_pImpl->prepared; ++i)
        if (!m_pImpl->lanes[i].waiting || !m_pImpl->lanes[i].waiting->IsRunning())
            return false;
    return m_pImpl->prepared > 0;
}

void BatchRunner::DropPrepared() {
    for (Impl::Lane& lane : m_pImpl->lanes)
        lane.waiting.reset();
    m_pImpl->prepared = 0;
}

bool BatchRunner::IsBusy() const {
    return m_pImpl->busy;
}

void BatchRunner::SetJournalFolder(const QString& folder) {
    m_pImpl->journalFolder = folder;
}

QString BatchRunner::JournalFolder() const {
    return m_pImpl->journalFolder;
}
