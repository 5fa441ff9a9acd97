#pragma once

#include <QDir>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

// One process of the tree: its name and PSS in kB.
struct ProcessMemory {
    int pid = 0;
    std::string name;
    long pss = 0;
};

// Summed PSS and RSS of this process and all its descendants, in kB, and each process's
// PSS when asked for.
struct TreeMemory {
    long pss = 0;
    long rss = 0;
    std::vector<ProcessMemory> processes;
};

inline long ReadKb(const std::string& file, const char* key) {
    std::ifstream in(file);
    std::string line;
    const std::string prefix = key;
    while (std::getline(in, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::stol(line.substr(prefix.size()));
    return 0;
}

// The process tree's pids, this process first.
inline std::vector<int> TreePids() {
    std::vector<std::pair<int, int>> parents; // pid, ppid
    QDir proc("/proc");
    for (const QString& entry : proc.entryList(QDir::Dirs)) {
        bool ok = false;
        const int pid = entry.toInt(&ok);
        if (!ok)
            continue;
        std::ifstream stat("/proc/" + entry.toStdString() + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        const auto close = text.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream rest(text.substr(close + 2));
        char state = 0;
        int ppid = 0;
        rest >> state >> ppid;
        parents.emplace_back(pid, ppid);
    }
    std::vector<int> tree{static_cast<int>(getpid())};
    for (std::size_t i = 0; i < tree.size(); ++i)
        for (const auto& [pid, ppid] : parents)
            if (ppid == tree[i])
                tree.push_back(pid);
    return tree;
}

inline TreeMemory SampleTree(bool each = false) {
    TreeMemory memory;
    for (int pid : TreePids()) {
        const std::string base = "/proc/" + std::to_string(pid);
        const long pss = ReadKb(base + "/smaps_rollup", "Pss:");
        memory.pss += pss;
        memory.rss += ReadKb(base + "/status", "VmRSS:");
        if (each) {
            std::ifstream comm(base + "/comm");
            std::string name;
            std::getline(comm, name);
            memory.processes.push_back({pid, name, pss});
        }
    }
    return memory;
}

// Each process of the tree with its PSS, for where the memory is.
inline void PrintTree(const TreeMemory& memory) {
    for (const ProcessMemory& process : memory.processes)
        std::printf("  %7d %-20s PSS %6ld MiB\n", process.pid, process.name.c_str(),
                    process.pss / 1024);
    std::fflush(stdout);
}

inline void PrintTree() {
    PrintTree(SampleTree(true));
}
