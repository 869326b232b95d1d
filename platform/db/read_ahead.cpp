#include "platform/db/read_ahead.h"

#include <sched.h>
#include <system_error>

namespace db {

namespace {

// Waits until `value` is no longer `old`; returns what it became. The waiting side sleeps
// in the kernel: a spinning wait takes the only core from the side it waits for.
std::uint32_t awaitChange(const std::atomic<std::uint32_t>& value, std::uint32_t old) {
    value.wait(old, std::memory_order_acquire);
    return value.load(std::memory_order_acquire);
}

// The cores this process may run on (its affinity mask, which a cgroup's cpuset narrows
// too), not the machine's; asked at each pass, as the mask may change while the program
// runs.
unsigned usableCores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0)
        return std::thread::hardware_concurrency();
    return static_cast<unsigned>(CPU_COUNT(&set));
}

void publish(std::atomic<std::uint32_t>& value, std::uint32_t to) {
    value.store(to, std::memory_order_release);
    value.notify_one();
}

} // namespace

// A second thread gains nothing without a second core to run on.
ReadAhead::ReadAhead(const Pager& pager, int file, bool enabled)
    : pager_(pager), file_(file), enabled_(enabled && usableCores() > 1) {}

ReadAhead::~ReadAhead() {
    if (!worker_.joinable())
        return;
    stop_.store(true, std::memory_order_release);
    publish(requested_, requested_.load(std::memory_order_relaxed) + 1);
    worker_.join(); // after the read under way, if any
}

void ReadAhead::read(std::uint64_t offset, std::size_t length, std::vector<std::uint8_t>& out,
                     std::uint64_t nextOffset, std::size_t nextLength) {
    if (!takeAhead(offset, length, out)) {
        out.resize(length);
        pager_.read(file_, offset, out, CachePages::Pass);
    }
    if (enabled_ && nextLength > 0)
        start(nextOffset, nextLength);
}

// Waits for the read under way; true (and its bytes in `out`) when it is the range asked
// for, it read all of it, and the files read as they did when it was asked for.
bool ReadAhead::takeAhead(std::uint64_t offset, std::size_t length,
                          std::vector<std::uint8_t>& out) {
    if (!pending_)
        return false;
    pending_ = false;
    const std::uint32_t request = requested_.load(std::memory_order_relaxed);
    for (std::uint32_t done = finished_.load(std::memory_order_acquire); done != request;)
        done = awaitChange(finished_, done);
    if (failed_ || got_ != length || offset_ != offset || length_ != length ||
        pager_.changeCount() != changeCount_)
        return false;
    out.swap(buffer_); // the old window's room is the next one's
    return true;
}

void ReadAhead::start(std::uint64_t offset, std::size_t length) {
    // Inside a transaction the pager's reads show its pending writes, the file does not.
    if (pager_.inTransaction())
        return;
    if (!worker_.joinable()) {
        reader_ = pager_.readerForAnotherThread(file_);
        if (!reader_) {
            enabled_ = false;
            return;
        }
        try {
            worker_ = std::thread([this] { work(); });
        } catch (const std::system_error&) { // no thread to be had: read as before
            enabled_ = false;
            return;
        }
    }
    offset_ = offset;
    length_ = length;
    buffer_.resize(length);
    changeCount_ = pager_.changeCount();
    pending_ = true;
    publish(requested_, requested_.load(std::memory_order_relaxed) + 1);
}

void ReadAhead::work() {
    for (std::uint32_t request = 0;;) {
        request = awaitChange(requested_, request);
        if (stop_.load(std::memory_order_acquire))
            return;
        got_ = 0;
        failed_ = false;
        try {
            got_ = reader_->readAt(offset_, {buffer_.data(), length_});
        } catch (...) { // the caller reads it again through the pager, which reports it
            failed_ = true;
        }
        publish(finished_, request);
    }
}

} // namespace db
