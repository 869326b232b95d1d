#include "platform/sys/file_lock.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace sys {

FileLock::FileLock(const std::filesystem::path& path) {
    do
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0)
        throw std::system_error(errno, std::generic_category(), path.string());
}

FileLock::~FileLock() {
    if (fd_ >= 0)
        ::close(fd_); // closing the descriptor drops its lock
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

bool FileLock::tryLock(Mode mode) {
    const int operation = (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    for (;;) {
        if (::flock(fd_, operation) == 0)
            return true;
        if (errno == EWOULDBLOCK)
            return false;
        if (errno != EINTR)
            throw std::system_error(errno, std::generic_category(), "flock");
    }
}

bool retryFor(std::chrono::milliseconds timeout, const std::function<bool()>& attempt) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto pause = std::chrono::milliseconds(1);
    while (!attempt()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
    return true;
}

bool FileLock::lock(Mode mode, std::chrono::milliseconds timeout) {
    return retryFor(timeout, [&] { return tryLock(mode); });
}

void FileLock::unlock() {
    while (::flock(fd_, LOCK_UN) != 0 && errno == EINTR) {
    }
}

std::optional<FileLock> lockDirectory(const std::filesystem::path& dir) {
    FileLock lock(dir);
    if (!lock.tryLock(FileLock::Mode::Exclusive))
        return std::nullopt;
    return lock;
}

} // namespace sys
