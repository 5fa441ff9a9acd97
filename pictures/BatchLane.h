#pragma once

#include "script/ProcessRunner.h"

#include <QByteArray>
#include <QObject>

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

protected:
    void OnOutput(const char* text, size_t length) override;
    void OnError(const char* text, size_t length) override;
    void OnEnd() override;

private:
    const int m_nLane;
    QObject* m_pContext; // outlives the lane
    Receiver* m_pReceiver;
    int m_nRun = 0;
    // Written by the workers during a run, reset before the next one starts.
    QByteArray m_partial;
    QByteArray m_error;
};
