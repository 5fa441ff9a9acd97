#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a call on the event loop, so that a session that
// ends or a Ctrl+C closes the window the ordinary way and the settings are saved.
class QuitOnSignal : public QObject {
public:
    explicit QuitOnSignal(std::function<void()> onSignal, QObject* parent = nullptr);
    ~QuitOnSignal() override;
    QuitOnSignal(const QuitOnSignal&) = delete;
    QuitOnSignal& operator=(const QuitOnSignal&) = delete;

private:
    std::function<void()> m_onSignal;
    QSocketNotifier* m_pNotifier = nullptr; // child of this object
};
