#pragma once
// Runs clipboard reads on a thread of its own, one after the other, each with
// the worker's own handle on the clipboard, so that no owner, however slow or
// large its content, keeps the user interface waiting.
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/clipboard.h"

namespace pellion {

class ReadWorker {
public:
    using Job = std::function<void(platform::Clipboard&)>;
    // done is called on the worker's thread after each job.
    ReadWorker(std::unique_ptr<platform::Clipboard> handle, std::function<void()> done);
    // Lets the job under way finish (an owner's time budget bounds it).
    ~ReadWorker();
    ReadWorker(const ReadWorker&) = delete;
    ReadWorker& operator=(const ReadWorker&) = delete;

    void post(Job job);

private:
    void run();

    std::unique_ptr<platform::Clipboard> handle_;
    std::function<void()> done_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace pellion
