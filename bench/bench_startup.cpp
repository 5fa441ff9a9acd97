// Whole-process start-up, as a user meets it: from just before the process is spawned to
// its window first on screen and to its map page loaded. The program and a bare Qt program
// with one web view loading the same map page from disk (as Qt sets it up, drawn in
// software as the program's views are, and also with no OpenGL offered, as the program
// does) are started in turns, in one run.
//
//   bench_startup [--starts N] [--trace]
//
// --trace also prints, for every line either prints while starting (the program's trace
// lines), the median time it came, in order.
#include "BenchSupport.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <map>
#include <regex>
#include <string>

#include <poll.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Start {
    double shown = -1;  // window first exposed
    double loaded = -1; // map page loaded
    // When each line first came, addresses taken out so that starts compare.
    std::map<std::string, double> lines;
};

struct Program {
    const char* name;
    std::vector<std::string> argv;
    const char* shownLine;
    const char* loadedLine;
    std::vector<const char*> extraEnv = {}; // NAME=value for this program only
};

double Since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Spawns the program with stderr on a pipe and reads its lines until the map page has
// loaded; then ends it and waits until its whole tree has let go of the pipe.
Start RunOnce(const Program& program) {
    Start result;
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return result;
    std::vector<char*> argv;
    for (const std::string& word : program.argv)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);

    const Clock::time_point start = Clock::now();
    pid_t pid = -1;
    std::vector<char*> envp;
    for (char** entry = environ; *entry != nullptr; ++entry)
        envp.push_back(*entry);
    for (const char* entry : program.extraEnv)
        envp.push_back(const_cast<char*>(entry));
    envp.push_back(nullptr);
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        std::fprintf(stderr, "cannot start %s: %s\n", argv[0], std::strerror(spawned));
        return result;
    }

    static const std::regex address("0x[0-9a-f]+");
    std::string pending;
    bool ending = false;
    Clock::time_point endAt = start + std::chrono::seconds(30);
    auto end = [&] {
        kill(pid, SIGTERM);
        ending = true;
        endAt = Clock::now() + std::chrono::seconds(10);
    };
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(endAt - Clock::now()).count();
        if (left <= 0) {
            if (ending)
                break;
            std::fprintf(stderr, "%s: no map page in 30 s\n", program.name);
            end();
            continue;
        }
        pollfd poller{pipeFds[0], POLLIN, 0};
        if (poll(&poller, 1, static_cast<int>(left)) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
        if (got <= 0)
            break; // every process of the tree has ended
        const double at = Since(start);
        pending.append(buffer, static_cast<size_t>(got));
        for (size_t newline; (newline = pending.find('\n')) != std::string::npos;) {
            const std::string line = pending.substr(0, newline);
            pending.erase(0, newline + 1);
            result.lines.emplace(std::regex_replace(line, address, ""), at);
            if (result.shown < 0 && line.find(program.shownLine) != std::string::npos)
                result.shown = at;
            if (result.loaded < 0 && line.find(program.loadedLine) != std::string::npos) {
                result.loaded = at;
                if (!ending)
                    end();
            }
        }
    }
    close(pipeFds[0]);
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    return result;
}

double Median(const std::vector<double>& samples) {
    return Bench::Summarize(samples).median;
}

std::vector<double> Column(const std::vector<Start>& starts, double Start::*field) {
    std::vector<double> values;
    for (const Start& start : starts)
        if (start.*field >= 0)
            values.push_back(start.*field);
    return values;
}

std::vector<double> TurnRatios(const std::vector<Start>& of, const std::vector<Start>& to,
                               double Start::*field) {
    std::vector<double> ratios;
    for (size_t i = 0; i < of.size() && i < to.size(); ++i)
        if (of[i].*field > 0 && to[i].*field > 0)
            ratios.push_back(of[i].*field / to[i].*field);
    return ratios;
}

// The lines that came in most starts, at their median time.
void PrintTrace(const char* name, const std::vector<Start>& starts) {
    std::map<std::string, std::vector<double>> times;
    for (const Start& start : starts)
        for (const auto& [line, at] : start.lines)
            times[line].push_back(at);
    std::vector<std::pair<double, std::string>> order;
    for (const auto& [line, at] : times)
        if (at.size() * 2 > starts.size())
            order.emplace_back(Median(at), line);
    std::sort(order.begin(), order.end());
    std::printf("%s:\n", name);
    for (const auto& [at, line] : order)
        std::printf("%8.1f ms  %s\n", at, line.c_str());
}

} // namespace

int main(int argc, char* argv[]) {
    int starts = 17;
    bool trace = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--starts") == 0 && i + 1 < argc)
            starts = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--trace") == 0)
            trace = true;
        else {
            std::fprintf(stderr, "usage: bench_startup [--starts N] [--trace]\n");
            return 2;
        }
    }

    // One home for the run, kept across starts as a user's is: settings, web cache.
    char home[] = "/tmp/kartavo-bench-startup-XXXXXX";
    if (mkdtemp(home) == nullptr)
        return 1;
    const std::string root = home;
    setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (root + "/cache").c_str(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    setenv("QT_LOGGING_RULES", "kartavo.trace.debug=true", 1);
    setenv("QT_MESSAGE_PATTERN", "%{message}", 1);
    if (geteuid() == 0)
        setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0); // Chromium refuses its sandbox as root
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu", 0);

    const Program kartavo{"kartavo", {KARTAVO_PROGRAM}, "# Shown", "/map.htm ADDR:"};
    const Program bare{"bare web view", {BARE_PROGRAM, MAP_PAGE}, "shown", "loaded"};
    // The program draws its views in software; the same floor with that one setting.
    const Program bareSoftware{"bare web view, drawn in software",
                               {BARE_PROGRAM, MAP_PAGE},
                               "shown",
                               "loaded",
                               {"QT_QUICK_BACKEND=software"}};
    // Not a floor of the goal: the bare program also spared the GL driver, as the program
    // is, to show what the window's own work costs.
    const Program bareNoGl{"bare web view, in software, no OpenGL",
                           {BARE_PROGRAM, MAP_PAGE},
                           "shown",
                           "loaded",
                           {"QT_QUICK_BACKEND=software", "QT_XCB_GL_INTEGRATION=none"}};
    const Program* programs[] = {&kartavo, &bare, &bareSoftware, &bareNoGl};
    constexpr size_t kPrograms = std::size(programs);

    std::printf("Start-up, whole process, %d starts each in turns (after one each to warm up)\n",
                starts);
    std::vector<Start> of[kPrograms];
    for (const Program* program : programs)
        RunOnce(*program);
    for (int i = 0; i < starts; ++i) {
        // Who goes first changes each turn, so that none always follows another.
        for (size_t k = 0; k < kPrograms; ++k) {
            const size_t which = (k + static_cast<size_t>(i)) % kPrograms;
            of[which].push_back(RunOnce(*programs[which]));
        }
    }
    if (trace)
        for (size_t k = 0; k < kPrograms; ++k)
            PrintTrace(programs[k]->name, of[k]);
    for (size_t k = 0; k < kPrograms; ++k)
        Bench::PrintRow((std::string(programs[k]->name) + ": window on screen").c_str(),
                        Column(of[k], &Start::shown));
    for (size_t k = 0; k < kPrograms; ++k)
        Bench::PrintRow((std::string(programs[k]->name) + ": map page loaded").c_str(),
                        Column(of[k], &Start::loaded));
    for (size_t k = 1; k < kPrograms; ++k) {
        const std::vector<Start>& floor = of[k];
        std::printf("kartavo / %s\n", programs[k]->name);
        std::printf("  medians: window on screen %.3f, map page loaded %.3f\n",
                    Median(Column(of[0], &Start::shown)) / Median(Column(floor, &Start::shown)),
                    Median(Column(of[0], &Start::loaded)) / Median(Column(floor, &Start::loaded)));
        // Each turn starts them side by side, so a turn's ratio leaves out how busy the
        // machine was just then: the steadier figure on a shared machine.
        std::printf("  median of each turn's ratio: window on screen %.3f, map page loaded %.3f\n",
                    Median(TurnRatios(of[0], floor, &Start::shown)),
                    Median(TurnRatios(of[0], floor, &Start::loaded)));
    }
    std::system(("rm -rf '" + root + "'").c_str());
    return 0;
}
