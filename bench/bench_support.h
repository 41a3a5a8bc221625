#pragma once
// Starting and stopping the programs a benchmark measures against.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace pellion::bench {

// Starts argv with stdin and stderr on /dev/null and stdout on out (or
// /dev/null when out is negative).
inline pid_t spawn(const std::vector<std::string>& argv, int out = -1) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(out >= 0 ? out : null, 1);
        dup2(null, 2);
        execvp(args[0], args.data());
        _exit(127);
    }
    return pid;
}

// Waits for pid; its exit code, or -1 when it did not exit normally.
inline int finish(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline void stop(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    finish(pid);
}

}  // namespace pellion::bench
