#pragma once
// A forked child process for crash tests: it runs a body, reports progress as bytes
// written to a pipe, and may be told to die at the n-th low-level step of a commit
// (FARM_PAGER_CRASH_AFTER) or be killed from outside.

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace testenv {

struct ChildResult {
    int status = 0;
    int progress = 0; // bytes the child wrote to its progress pipe
    bool exited(int code) const { return WIFEXITED(status) && WEXITSTATUS(status) == code; }
};

class Child {
public:
    // `body` gets the progress pipe's descriptor; the child exits with 5 if it returns.
    Child(long crashAfter, const std::function<void(int progressFd)>& body) {
        if (::pipe(pipe_) != 0)
            throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(pipe_[0]);
            if (crashAfter > 0)
                ::setenv("FARM_PAGER_CRASH_AFTER", std::to_string(crashAfter).c_str(), 1);
            body(pipe_[1]);
            ::_exit(5);
        }
        ::close(pipe_[1]);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() {
        if (pid_ > 0 && !waited_) {
            kill();
            wait();
        }
    }

    void kill() { ::kill(pid_, SIGKILL); }

    ChildResult wait() {
        ChildResult result;
        ::waitpid(pid_, &result.status, 0);
        waited_ = true;
        char buffer[256];
        for (ssize_t n; (n = ::read(pipe_[0], buffer, sizeof buffer)) > 0;)
            result.progress += static_cast<int>(n);
        ::close(pipe_[0]);
        return result;
    }

private:
    int pipe_[2] = {-1, -1};
    pid_t pid_ = -1;
    bool waited_ = false;
};

// FARM_CRASH_SECONDS from the environment, or `fallback` (the short CI run).
inline double crashSeconds(double fallback) {
    const char* value = std::getenv("FARM_CRASH_SECONDS");
    return value && *value ? std::atof(value) : fallback;
}

// Whether FARM_CRASH_SECONDS asks for a time: the random runs then go on for all of it,
// without the short run's cap on trials.
inline bool crashTimeGiven() {
    const char* value = std::getenv("FARM_CRASH_SECONDS");
    return value && *value;
}

} // namespace testenv
