#pragma once
// Programs the display tests start: the one way they are started, and a
// run to the end with what the program printed.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace pellion::test {

// The X server may drop a connection made just as another one closed; a
// short pause after each program ends and retries on connecting avoid that.
inline void settle() { std::this_thread::sleep_for(std::chrono::milliseconds(15)); }

// Starts argv (found on the PATH) with its output into out, or nowhere for -1.
inline pid_t spawn(const std::vector<std::string>& argv, int out = -1) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int devnull = ::open("/dev/null", O_RDWR);
        ::dup2(devnull, 0);
        ::dup2(out >= 0 ? out : devnull, 1);
        ::dup2(devnull, 2);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    return pid;
}

// Runs a program to its end, returning its exit status (-1 when it did not
// exit by itself) and what it printed; killed when the time is up.
struct Ran {
    int status = -1;
    std::vector<std::uint8_t> out;
};
inline Ran run(const std::vector<std::string>& argv, std::chrono::seconds limit = std::chrono::seconds(30)) {
    Ran r;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return r;
    const pid_t pid = spawn(argv, fds[1]);
    ::close(fds[1]);
    const auto until = std::chrono::steady_clock::now() + limit;
    std::uint8_t buf[65536];
    for (;;) {
        pollfd p{fds[0], POLLIN, 0};
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now()).count();
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) {
            ::kill(pid, SIGKILL);
            break;
        }
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n <= 0) break;
        r.out.insert(r.out.end(), buf, buf + n);
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    settle();
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// Ends a started program and waits for it.
inline void stop(pid_t& pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    settle();
    pid = -1;
}

}  // namespace pellion::test
