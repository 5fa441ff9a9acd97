#pragma once

#include <QByteArray>
#include <QObject>
#include <QThreadPool>
#include <QTimer>

class PicturesWindow;
struct TripSession;

// Keeps the trip on disk as the user works (a second after the last change, written away
// from the window), so a crash, a kill or a power cut loses nothing; a clean end removes it.
class TripSessionKeeper : public QObject {
    Q_OBJECT
public:
    explicit TripSessionKeeper(PicturesWindow* window);
    ~TripSessionKeeper() override;

    TripSession Collect() const;
    // Writes what the trip is now, without waiting for the timer; for tests and the end.
    void SaveNow();
    // The program ends with nothing waiting: there is nothing to bring back.
    void Forget();
    // Waits until every write asked for has reached the disk.
    void Flush();

private:
    void Changed();
    // On the writer's thread.
    void WriteNow(const QByteArray& bytes);

    PicturesWindow* m_window;
    QTimer m_timer;
    QThreadPool m_writer; // one thread: writes land in the order they were asked
    QByteArray m_last;    // digest of the text last kept; the writer's thread's
};

// The session keeper of the trip window, when it has been made.
TripSessionKeeper* ExistingTripSession();
