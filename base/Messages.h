#pragma once

#include <QEvent>

class QObject;
class ScriptRunner;

// The private messages keep their numbers; both lie between QEvent::User and QEvent::MaxUser.
constexpr QEvent::Type UWM_COMMAND_DONE = static_cast<QEvent::Type>(0x0800);
constexpr QEvent::Type WUM_WEBTITLE_CHANGE = static_cast<QEvent::Type>(0x0810);
// A command from the menu, a button or the Zoom list, sent to the main window.
constexpr QEvent::Type WM_COMMAND = static_cast<QEvent::Type>(QEvent::User + 0x0111);

static_assert(UWM_COMMAND_DONE > QEvent::User && UWM_COMMAND_DONE < QEvent::MaxUser);
static_assert(WUM_WEBTITLE_CHANGE > QEvent::User && WUM_WEBTITLE_CHANGE < QEvent::MaxUser);

// WM_COMMAND: the command number and the notification code, and the control that sent it.
class CommandEvent : public QEvent {
public:
    CommandEvent(int id, int code, QObject* source)
        : QEvent(WM_COMMAND), m_nId(id), m_nCode(code), m_pSource(source) {}
    int id() const { return m_nId; }
    int code() const { return m_nCode; }
    QObject* source() const { return m_pSource; }

private:
    int m_nId;
    int m_nCode;
    QObject* m_pSource;
};

// UWM_COMMAND_DONE: the script number and the runner whose line store holds the output.
class CommandDoneEvent : public QEvent {
public:
    CommandDoneEvent(int scriptId, ScriptRunner* runner)
        : QEvent(UWM_COMMAND_DONE), m_nScriptId(scriptId), m_pRunner(runner) {}
    int scriptId() const { return m_nScriptId; }
    ScriptRunner* runner() const { return m_pRunner; }

private:
    int m_nScriptId;
    ScriptRunner* m_pRunner;
};
