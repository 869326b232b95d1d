#pragma once
// A file layer for tests, over the real files of one folder: it keeps what the disk
// itself holds (a file's content as of its last sync, a folder's names as of its last
// sync) beside the writes, truncations and name changes made since, and can fail any
// call, cut the power at any step, or end the process right after a step. restart() then
// puts the folder back as the disk holds it.
//
// What of the unsynced changes reaches the disk when the power goes is drawn from the
// cut's seed, as a disk with a write cache may leave it: every 512-byte sector of every
// write since its file's last sync independently reaches the disk or not, and so does
// every truncation; the write in flight reaches it only up to a byte anywhere in it (and
// of that, any sectors); the folder keeps its name changes since its last sync up to any
// one of them (a file system journals them in order). Seed 0 keeps nothing unsynced.

#include "platform/db/error.h"
#include "platform/db/file_io.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <span>
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
    // rename, folder sync) the power goes instead, what of the unsynced changes reaches
    // the disk drawn from `seed` (see the top). That call and every later one throw
    // PowerCut.
    void cutPowerAt(long n, std::uint32_t seed) {
        cutAt_ = steps_ + n;
        seed_ = seed;
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
    void written(int node, std::uint64_t offset, std::span<const std::uint8_t> bytes);
    void truncated(int node, std::uint64_t size);

private:
    // A change of a file's content since its last sync.
    struct Change {
        std::uint64_t offset = 0; // a write's
        std::vector<std::uint8_t> bytes;
        std::optional<std::uint64_t> size; // a truncation's
        bool inFlight = false;
    };
    // A change of the folder's names since its last sync: `name` made to name `node`
    // (-1: removed).
    struct NameChange {
        std::string name;
        int node = -1;
    };
    std::string nameOf(const std::filesystem::path& path) const;
    int nodeOf(const std::string& name);
    void changeName(const std::string& name, int node);
    // The disk as the power leaves it, `inFlight` (if any) being written.
    void powerGoes(const Write& inFlight);
    void land(std::vector<std::uint8_t>& content, const Change& change, std::mt19937& rng) const;

    std::filesystem::path dir_;
    std::map<std::string, int> names_;        // as the running system sees them
    std::map<std::string, int> durableNames_; // as the disk holds them
    std::map<int, std::vector<std::uint8_t>> durable_;
    std::map<int, std::vector<Change>> unsynced_;
    std::vector<NameChange> unsyncedNames_;
    int nextNode_ = 0;
    long calls_ = 0, steps_ = 0;
    long failAt_ = 0, cutAt_ = 0, killAt_ = 0;
    std::uint32_t seed_ = 0;
    bool dead_ = false;
};

} // namespace testenv
