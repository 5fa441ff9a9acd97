#pragma once

// Placeholder: the runner is being written.
class ScriptRunner {
public:
    virtual ~ScriptRunner() = default;
};
