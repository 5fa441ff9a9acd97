#pragma once

class QObject;

// Placeholder: the runner is being written.
class ScriptRunner {
public:
    virtual ~ScriptRunner() = default;
    void SetNotifyWindow(QObject*) {}
};
