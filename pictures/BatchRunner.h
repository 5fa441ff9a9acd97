#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include "pictures/ThumbnailStore.h"

#include <memory>
#include <optional>

// What the batch script found in one picture.
struct PictureRead {
    bool ok = false;
    QString reason;   // why it could not be read, when !ok
    QString dateTime; // DateTimeOriginal as stored, "YYYY:MM:DD HH:MM:SS[.fff]", or empty
    QString offset;   // OffsetTimeOriginal, "+02:00", or empty
    std::optional<double> latitude; // signed decimal degrees
    std::optional<double> longitude;
    std::optional<double> altitude; // metres, negative below sea level
    QString mimeType;
    bool writable = false;       // ExifTool can write this format in place
    QString unwritableReason;    // why not, when !writable
    EmbeddedThumbnail thumbnail; // embedded JPEG thumbnail or preview, may be empty
    QString positionSource;      // empty: the picture itself; else the sidecar's file name
    QString gpsTime;             // UTC of the position by the GPS clock, as dateTime, or empty
    // The place names it holds (XMP's, else IPTC's), empty where none.
    QString city, state, country, countryCode;
};

// Place names to write into one picture (or its sidecar's XMP). An empty name is left as
// it is; one the picture already holds too, unless overwrite.
struct NamesWrite {
    QByteArray path;
    QString city, state, country, countryCode;
    bool overwrite = false;
    QByteArray sidecar;
};

// One new position to write.
struct PictureWrite {
    QByteArray path; // the file name's own bytes (QFile::encodeName)
    double latitude = 0;
    double longitude = 0;
    std::optional<double> altitude; // none: the picture's own altitude tags stay as they are
    QDateTime utcTime;              // invalid: no GPSDateStamp/GPSTimeStamp written
    // Not empty: the position goes into this XMP sidecar (made when missing), and the
    // picture itself is never opened for writing.
    QByteArray sidecar;
};

// Reads and writes many pictures with the batch script, a chunk of pictures per Perl run
// and two runs side by side (three for a write), so that ExifTool is loaded once per chunk,
// progress and Cancel work between pictures, and a failure names its picture.
//
// Before a picture is touched its previous GPS tags go into the write's journal, flushed
// to disk first, under the user's data folder; UndoLast() puts them back from the newest
// journal that was not yet undone, also after a restart.
//
// Results arrive as signals on the thread that made the runner, one per picture, in no
// fixed order across the runs. Only one operation at a time: a call while busy
// returns false and does nothing.
class BatchRunner : public QObject {
    Q_OBJECT
public:
    explicit BatchRunner(QObject* parent = nullptr);
    ~BatchRunner() override;

    bool Read(const QList<QByteArray>& paths);
    bool Write(const QList<PictureWrite>& writes);
    // A write like the one above, of place names; undone by UndoLast as well.
    bool WriteNames(const QList<NamesWrite>& writes);
    bool UndoLast();
    // True when there is a journal that UndoLast would undo.
    bool CanUndo() const;

    // Starts Perl and ExifTool for what is likely to come next, so that it begins
    // without their loading; they wait, idle, until an operation takes them. Nothing
    // happens while busy.
    enum class Next { Read, Write };
    void Prepare(Next next);
    // True while every lane has a script waiting (for tests).
    bool IsPrepared() const;
    // Ends the waiting scripts: nothing is likely to come soon.
    void DropPrepared();

    // Stops after the pictures in hand; those not begun are reported as not done
    // (ok false, reason "Cancelled before it was begun", counted in neither total).
    void Cancel();
    bool IsBusy() const;

    // The journal folder (default: <XDG data>/Kartavo/journal); for tests.
    void SetJournalFolder(const QString& folder);
    QString JournalFolder() const;

signals:
    void pictureRead(int index, const PictureRead& result);
    // ok false: reason says why, and the picture is as it was.
    void pictureWritten(int index, bool ok, const QString& reason);
    // One picture of an undo: its path, and why it was not undone where !ok. A picture
    // that needs nothing put back (the write never changed it, or an earlier undo put it
    // back) is not reported, and counted in neither total.
    void pictureUndone(const QByteArray& path, bool ok, const QString& reason);
    void progress(int done, int total);
    // All runs of the operation have ended; cancelled when Cancel stopped it early.
    void finished(int succeeded, int failed, bool cancelled);

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
