#include "pictures/BatchLane.h"

#include <QMetaObject>

namespace {

// A thumbnail line is a few ten kilobytes; a line past this is not the script's.
constexpr int MAX_LINE = 4 * 1024 * 1024;
// Enough of standard error to say why a run failed.
constexpr int MAX_ERROR = 2048;

} // namespace

BatchLane::BatchLane(int lane, QObject* context, Receiver* receiver)
    : m_nLane(lane), m_pContext(context), m_pReceiver(receiver) {
    // The batch runner limits each run by the pictures it holds; a waiting script has none.
    SetTimeLimit(std::chrono::milliseconds(0));
}

BatchLane::~BatchLane() {
    Stop();
}

int BatchLane::StartRun(const std::vector<std::string>& argv, int run) {
    m_nRun = run;
    m_partial.clear();
    m_error.clear();
    SetInput(false);
    return Start(argv, "perl batchgps.pl", 0);
}

int BatchLane::StartWaiting(const std::string& script, const char* hint) {
    m_nRun = -1; // nothing it says belongs to a run until it is given one
    m_partial.clear();
    m_error.clear();
    SetInput(true);
    return Start({"perl", script, "wait", hint}, "perl batchgps.pl", 0);
}

bool BatchLane::GiveRun(const std::vector<std::string>& arguments, int run) {
    if (!IsRunning())
        return false;
    m_nRun = run;
    // Zero bytes apart: no argument holds one.
    std::string input;
    for (const std::string& argument : arguments) {
        if (&argument != &arguments.front())
            input += '\0';
        input += argument;
    }
    return SendInput(input);
}

void BatchLane::OnOutput(const char* text, size_t length) {
    if (!IsRunning())
        return; // the start-failure text: StartRun's caller reports it
    m_partial.append(text, static_cast<int>(length));
    int start = 0;
    for (int end; (end = m_partial.indexOf('\n', start)) >= 0; start = end + 1) {
        const QByteArray line = m_partial.mid(start, end - start);
        Receiver* receiver = m_pReceiver;
        const int lane = m_nLane, run = m_nRun;
        QMetaObject::invokeMethod(
            m_pContext, [receiver, lane, run, line] { receiver->OnLaneLine(lane, run, line); },
            Qt::QueuedConnection);
    }
    m_partial.remove(0, start);
    if (m_partial.size() > MAX_LINE)
        m_partial.clear();
}

void BatchLane::OnError(const char* text, size_t length) {
    const int room = MAX_ERROR - m_error.size();
    if (room > 0)
        m_error.append(text, std::min(room, static_cast<int>(length)));
}

void BatchLane::OnEnd() {
    Receiver* receiver = m_pReceiver;
    const int lane = m_nLane, run = m_nRun, status = GetChildExitStatus();
    const QByteArray error = m_error;
    QMetaObject::invokeMethod(
        m_pContext,
        [receiver, lane, run, status, error] { receiver->OnLaneEnd(lane, run, status, error); },
        Qt::QueuedConnection);
}
