#pragma once
// A file layer for tests, over the real files of one folder: it keeps what the disk
// itself would hold (a write reaches it only when its file is synced, a created,
// removed or renamed name only when the folder is synced), and can fail any call, cut
// the power at any step (tearing the last write, if asked), or end the process right
// after a step. restart() then puts the folder back as the disk holds it.

#include "platform/db/error.h"
#include "platform/db/file_io.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testenv {

// Every call after the power went.
class PowerCut : public db::DbError {
public:
    using db::DbError::DbError;
};

// A write about to happen, for tearing.
struct FaultWrite {
    int node = -1;
    std::uint64_t offset = 0;
    const std::uint8_t* bytes = nullptr;
    std::size_t length = 0;
};

class FaultVfs : public db::io::Vfs {
public:
    // The files of `dir` as they are now count as on the disk.
    explicit FaultVfs(std::filesystem::path dir);
    ~FaultVfs() override;

    // The n-th call from now on (of any kind, reads too) throws DbError.
    void failCall(long n) { failAt_ = calls_ + n; }
    // At the n-th step that changes the disk (write, truncate, sync, create, remove,
    // rename, folder sync) the power goes instead: with `tear`, a write's first half
    // reaches the disk. That call and every later one throw PowerCut.
    void cutPowerAt(long n, bool tear) {
        cutAt_ = steps_ + n;
        tear_ = tear;
    }
    // Ends the process with status 99 right after the n-th step.
    void killAfter(long n) { killAt_ = steps_ + n; }

    long steps() const { return steps_; }
    bool powerIsCut() const { return dead_; }
    // The machine starts again: the folder holds what the disk held, and the power is on.
    void restart();

    std::unique_ptr<db::io::FileHandle> open(const std::filesystem::path& path, int flags) override;
    bool remove(const std::filesystem::path& path) override;
    void rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    void syncDirectory(const std::filesystem::path& dir) override;

    // For the files' handles.
    using Write = FaultWrite;
    void call(const std::filesystem::path& path);
    void step(const std::filesystem::path& path, const Write& write = {});
    void stepDone();
    void synced(int node, std::vector<std::uint8_t> content);

private:
    std::string nameOf(const std::filesystem::path& path) const;
    int nodeOf(const std::string& name);

    std::filesystem::path dir_;
    std::map<std::string, int> names_;        // as the running system sees them
    std::map<std::string, int> durableNames_; // as the disk holds them
    std::map<int, std::vector<std::uint8_t>> durable_;
    int nextNode_ = 0;
    long calls_ = 0, steps_ = 0;
    long failAt_ = 0, cutAt_ = 0, killAt_ = 0;
    bool tear_ = false;
    bool dead_ = false;
};

} // namespace testenv
