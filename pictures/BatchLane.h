#pragma once

#include "script/ProcessRunner.h"

#include <QByteArray>
#include <QObject>

#include <atomic>

#include <string>
#include <vector>

// One of the batch runner's two lanes: runs the batch script for one chunk of pictures
// at a time and hands each complete output line, and the run's end, to the receiver's
// thread as queued calls. The worker threads touch nothing else.
class BatchLane : public ProcessRunner {
public:
    // Receives the lane's lines and ends on its own thread; run numbers tell a run's
    // calls from those of an earlier run.
    class Receiver {
    public:
        virtual ~Receiver() = default;
        virtual void OnLaneLine(int lane, int run, const QByteArray& line) = 0;
        virtual void OnLaneEnd(int lane, int run, int exitStatus, const QByteArray& error) = 0;
    };

    BatchLane(int lane, QObject* context, Receiver* receiver);
    ~BatchLane() override;

    // Starts argv as run number run; the errno of a failed start, else 0.
    int StartRun(const std::vector<std::string>& argv, int run);
    // Starts the script ready for a run but waiting for its arguments, so that Perl and
    // ExifTool are loaded before they are needed; hint is the mode it prepares for.
    int StartWaiting(const std::string& script, const char* hint);
    // Gives a waiting script its arguments (those after the script's name) as run number
    // run. False when it no longer waits: the caller starts a run of its own.
    bool GiveRun(const std::vector<std::string>& arguments, int run);

protected:
    void OnOutput(const char* text, size_t length) override;
    void OnError(const char* text, size_t length) override;
    void OnEnd() override;

private:
    const int m_nLane;
    QObject* m_pContext; // outlives the lane
    Receiver* m_pReceiver;
    std::atomic<int> m_nRun{0}; // read by the workers
    // Written by the workers during a run, reset before the next one starts.
    QByteArray m_partial;
    QByteArray m_error;
};
