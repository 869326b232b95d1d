#pragma once
// Advisory locks (flock(2)) on a file or a folder. The lock belongs to the open
// descriptor, so the operating system drops it when the process ends, however it ends:
// a crash never leaves anything locked.

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>

namespace sys {

class FileLock {
public:
    enum class Mode { Shared, Exclusive };

    // Opens `path` (a file or a folder) read-only, for locking only; nothing is created
    // or written. Throws std::system_error naming the path when it cannot be opened.
    explicit FileLock(const std::filesystem::path& path);
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes (or converts to) `mode` without waiting; false when another holder's lock
    // conflicts.
    bool tryLock(Mode mode);
    // As tryLock, retrying until `timeout` has passed; false when still not granted.
    bool lock(Mode mode, std::chrono::milliseconds timeout);
    void unlock();

private:
    int fd_ = -1;
};

// Calls `attempt` until it returns true, pausing a little longer each time, for at most
// `timeout`; false when it never did.
bool retryFor(std::chrono::milliseconds timeout, const std::function<bool()>& attempt);

// The lock a running program holds on its working directory: exclusive, taken without
// waiting. nullopt when another process holds it.
std::optional<FileLock> lockDirectory(const std::filesystem::path& dir);

} // namespace sys
