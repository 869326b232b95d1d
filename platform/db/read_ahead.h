#pragma once
// The next window of a pass over a file (a scan), read on a second thread while the pass
// works through the window before it: a scan of a large table then costs its own work,
// not that and the copying of the file's bytes one after the other.
//
// What is read ahead is used only when it is the range asked for and the pager has
// changed nothing since it was asked (Pager::changeCount): a scan whose visitor writes
// to the table, or one inside a transaction, reads through the pager as before.

#include "platform/db/pager.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace db {

// A pass over fewer bytes of a file reads without a second thread: starting one costs
// about as much as reading a megabyte, and a pass gains at most the time of its reads.
constexpr std::uint64_t kReadAheadFrom = 8 << 20;

class ReadAhead {
public:
    // Reads `file` of `pager`; with `enabled` false (a pass too short to gain from a
    // second thread) every read goes straight to the pager.
    ReadAhead(const Pager& pager, int file, bool enabled);
    ~ReadAhead(); // waits for a read under way
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // `out` becomes the `length` bytes at `offset`, as pager.read(file, offset, out,
    // CachePages::Pass) gives them (and with its errors); then the `nextLength` bytes at
    // `nextOffset` start to be read ahead (none for 0).
    void read(std::uint64_t offset, std::size_t length, std::vector<std::uint8_t>& out,
              std::uint64_t nextOffset, std::size_t nextLength);

private:
    bool takeAhead(std::uint64_t offset, std::size_t length, std::vector<std::uint8_t>& out);
    void start(std::uint64_t offset, std::size_t length);
    void work();

    const Pager& pager_;
    int file_;
    bool enabled_;
    std::unique_ptr<io::FileHandle> reader_; // asked for at the first read ahead
    bool pending_ = false;                   // a read was asked for and not yet taken
    std::uint64_t changeCount_ = 0;          // the pager's when it was asked for

    // A request is published by a new `requested_`, its end by `finished_` taking the
    // same number. The request (offset_, length_) and the result (buffer_, got_,
    // failed_) belong to the worker from the one to the other, to the caller otherwise.
    std::atomic<std::uint32_t> requested_{0}, finished_{0};
    std::atomic<bool> stop_{false};
    std::uint64_t offset_ = 0;
    std::size_t length_ = 0, got_ = 0;
    bool failed_ = false;
    std::vector<std::uint8_t> buffer_;
    std::thread worker_;
};

} // namespace db
