#pragma once

// The tools run as processes the way a user runs them, in a private folder. The test target
// defines BRENLOW_DUMP and BRENLOW_SIM as the programs' paths.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "tests/support/Slurp.h"

// A folder for the whole run, removed at its end; the tools keep their settings there too.
inline const std::string& Folder() {
    static char path[] = "/tmp/brenlow-tools-XXXXXX";
    static const std::string folder = [] {
        if (!mkdtemp(path))
            return std::string("/nonexistent");
        setenv("XDG_CONFIG_HOME", path, 1);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        });
        return std::string(path);
    }();
    return folder;
}

// `text` with "FILE" as a recording of traffic and "DIR" as the folder.
inline std::string Expand(std::string text) {
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"FILE", "DIR/traffic.nmea"}, {"DIR", Folder()}})
        for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
            text.replace(at, from.size(), to);
    return text;
}

// Waits up to `limit` for `ready`.
template <typename Ready>
bool Await(Ready ready, std::chrono::milliseconds limit = std::chrono::seconds(2)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (; !ready(); std::this_thread::sleep_for(std::chrono::milliseconds(2)))
        if (std::chrono::steady_clock::now() > end)
            return false;
    return true;
}

// One run of a command line (paths without blanks) with "dump" and "sim" as the tools, as
// Expand says. Standard output goes to `out` ("" closes it), standard error is kept.
class Process {
public:
    Process(const std::string& line, const std::string& out)
        : err("DIR/stderr" + std::to_string(++runs)) {
        const std::string script = "dump() { exec " BRENLOW_DUMP
                                   " \"$@\"; }; sim() { exec " BRENLOW_SIM " \"$@\"; }; " +
                                   Expand(line) + (out.empty() ? " >&-" : " >" + Expand(out)) +
                                   " 2>" + Expand(err) + " </dev/null";
        const char* argv[] = {"sh", "-c", script.c_str(), nullptr};
        if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
            pid = -1;
    }
    ~Process() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    // The exit status, 256 + N when signal N ended it, -1 when it still ran after `limit`.
    int Wait(std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        int status = 0;
        if (pid <= 0 || !Await([&] { return waitpid(pid, &status, WNOHANG) == pid; }, limit))
            return -1;
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 256 + WTERMSIG(status);
    }
    void Signal(int signo) { kill(pid, signo); }
    std::string Errors() const { return Slurp(Expand(err)); }

private:
    static inline int runs = 0;
    std::string err;
    pid_t pid = -1;
};
