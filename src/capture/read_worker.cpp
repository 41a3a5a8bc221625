#include "capture/read_worker.h"

namespace pellion {

ReadWorker::ReadWorker(std::unique_ptr<platform::Clipboard> handle, std::function<void()> done)
    : handle_(std::move(handle)), done_(std::move(done)), thread_([this] { run(); }) {}

ReadWorker::~ReadWorker() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        jobs_.clear();
    }
    wake_.notify_one();
    thread_.join();
}

void ReadWorker::post(Job job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void ReadWorker::run() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
            if (stop_) return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job(*handle_);
        if (done_) done_();
    }
}

}  // namespace pellion
