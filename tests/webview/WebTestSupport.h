#pragma once

#include "webview/WebEngineSetup.h"

#include <QLoggingCategory>
#include <QStringList>
#include <QVariant>
#include <QWebEnginePage>
#include <QtTest>

#include <QEventLoop>
#include <QTimer>

#include <functional>
#include <memory>

// Set up as the program does, before the QApplication of QTEST_MAIN exists.
static void SetUpWebEngineAsTheProgram() {
    SetUpWebEngineBeforeApplication();
}
Q_CONSTRUCTOR_FUNCTION(SetUpWebEngineAsTheProgram)

// Runs the event loop until done() holds or the time is up. A real event loop: the web
// engine's work runs far slower under QTest::qWaitFor's short processEvents() calls.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

// Lets the event loop run for a while.
inline void Settle(int ms) {
    WaitUntil([] { return false; }, ms);
}

// Runs script in page and waits for its result; an invalid QVariant after the timeout.
inline QVariant EvalJs(QWebEnginePage* page, const QString& script, int timeoutMs = 5000) {
    struct Result {
        QVariant value;
        bool done = false;
    };
    auto result = std::make_shared<Result>();
    page->runJavaScript(script, [result](const QVariant& value) {
        result->value = value;
        result->done = true;
    });
    if (!WaitUntil([&] { return result->done; }, timeoutMs))
        qWarning("no result from script: %s", qPrintable(script));
    return result->value;
}

// Waits until script gives expected in page.
inline bool WaitForJs(QWebEnginePage* page, const QString& script, const QVariant& expected,
                      int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (EvalJs(page, script, int(deadline.remainingTime())) == expected)
            return true;
        Settle(20);
    }
    return false;
}

// Collects what the program hands to its trace hook while an instance lives.
class TraceCapture {
public:
    TraceCapture() {
        s_pCurrent = this;
        QLoggingCategory::setFilterRules(QStringLiteral("kartavo.trace.debug=true"));
        m_previous = qInstallMessageHandler(&TraceCapture::Handler);
    }
    ~TraceCapture() {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
        s_pCurrent = nullptr;
    }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    QStringList lines;

    // The captured lines that start with prefix.
    QStringList StartingWith(const QString& prefix) const {
        QStringList found;
        for (const QString& line : lines)
            if (line.startsWith(prefix))
                found << line;
        return found;
    }

private:
    static void Handler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (s_pCurrent && context.category && qstrcmp(context.category, "kartavo.trace") == 0) {
            s_pCurrent->lines << text;
            return;
        }
        if (s_pCurrent && s_pCurrent->m_previous)
            s_pCurrent->m_previous(type, context, text);
    }

    inline static TraceCapture* s_pCurrent = nullptr;
    QtMessageHandler m_previous = nullptr;
};
