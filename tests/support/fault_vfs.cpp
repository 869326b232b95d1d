#include "support/fault_vfs.h"

#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using db::io::FileHandle;

namespace testenv {

namespace {

constexpr std::uint64_t kSector = 512;

std::vector<std::uint8_t> readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class FaultFile final : public FileHandle {
public:
    FaultFile(std::unique_ptr<FileHandle> real, fs::path path, int node, FaultVfs& vfs)
        : real_(std::move(real)), path_(std::move(path)), node_(node), vfs_(vfs) {}

    std::uint64_t size() const override {
        vfs_.call(path_);
        return real_->size();
    }
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        vfs_.call(path_);
        return real_->readAt(offset, out);
    }
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        vfs_.step(path_, {node_, offset, bytes.data(), bytes.size()});
        real_->writeAt(offset, bytes);
        vfs_.written(node_, offset, bytes);
        vfs_.stepDone();
    }
    void truncate(std::uint64_t size) override {
        vfs_.step(path_);
        real_->truncate(size);
        vfs_.truncated(node_, size);
        vfs_.stepDone();
    }
    void sync() override {
        if (node_ < 0) { // a folder
            vfs_.syncDirectory(path_);
            return;
        }
        vfs_.step(path_); // the layer keeps the disk's content itself: no real flush
        vfs_.synced(node_, readWhole(path_));
        vfs_.stepDone();
    }

private:
    std::unique_ptr<FileHandle> real_;
    fs::path path_;
    int node_;
    FaultVfs& vfs_;
};

} // namespace

FaultVfs::FaultVfs(fs::path dir) : dir_(std::move(dir)) {
    for (const auto& entry : fs::directory_iterator(dir_))
        if (entry.is_regular_file())
            nodeOf(entry.path().filename().string());
}

FaultVfs::~FaultVfs() = default;

std::string FaultVfs::nameOf(const fs::path& path) const {
    return path.filename().string();
}

// The file of that name as the system sees it; one this layer has not seen yet (made
// by other means) counts as on the disk.
int FaultVfs::nodeOf(const std::string& name) {
    if (const auto it = names_.find(name); it != names_.end())
        return it->second;
    const int node = nextNode_++;
    names_[name] = node;
    durableNames_[name] = node;
    durable_[node] = readWhole(dir_ / name);
    return node;
}

void FaultVfs::changeName(const std::string& name, int node) {
    if (node < 0)
        names_.erase(name);
    else
        names_[name] = node;
    unsyncedNames_.push_back({name, node});
}

void FaultVfs::call(const fs::path& path) {
    if (dead_)
        throw PowerCut(path, "the power is off");
    if (++calls_ == failAt_)
        throw db::DbError(path, "injected fault");
}

void FaultVfs::step(const fs::path& path, const Write& write) {
    call(path);
    if (++steps_ != cutAt_)
        return;
    powerGoes(write);
    dead_ = true;
    throw PowerCut(path, "the power went");
}

void FaultVfs::stepDone() {
    if (steps_ == killAt_)
        ::_exit(99);
}

void FaultVfs::synced(int node, std::vector<std::uint8_t> content) {
    durable_[node] = std::move(content);
    unsynced_.erase(node);
}

void FaultVfs::written(int node, std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    unsynced_[node].push_back({offset, {bytes.begin(), bytes.end()}, std::nullopt, false});
}

void FaultVfs::truncated(int node, std::uint64_t size) {
    unsynced_[node].push_back({0, {}, size, false});
}

// One unsynced change as the disk keeps it: a truncation whole or not at all, a write's
// sectors each or not (the write in flight only up to its tearing point).
void FaultVfs::land(std::vector<std::uint8_t>& content, const Change& change,
                    std::mt19937& rng) const {
    if (change.size) {
        if (rng() % 2)
            content.resize(static_cast<std::size_t>(*change.size));
        return;
    }
    const std::uint64_t length =
        change.inFlight ? rng() % (change.bytes.size() + 1) : change.bytes.size();
    const std::uint64_t end = change.offset + length;
    for (std::uint64_t at = change.offset; at < end;) {
        const std::uint64_t next = std::min(end, (at / kSector + 1) * kSector);
        if (rng() % 2) {
            if (content.size() < next)
                content.resize(static_cast<std::size_t>(next));
            std::copy(change.bytes.begin() + static_cast<std::ptrdiff_t>(at - change.offset),
                      change.bytes.begin() + static_cast<std::ptrdiff_t>(next - change.offset),
                      content.begin() + static_cast<std::ptrdiff_t>(at));
        }
        at = next;
    }
}

void FaultVfs::powerGoes(const Write& inFlight) {
    if (seed_ == 0)
        return; // nothing unsynced reaches the disk
    std::mt19937 rng(seed_);
    if (inFlight.node >= 0 && inFlight.length > 0)
        unsynced_[inFlight.node].push_back({inFlight.offset,
                                            {inFlight.bytes, inFlight.bytes + inFlight.length},
                                            std::nullopt,
                                            true});
    for (auto& [node, changes] : unsynced_)
        for (const Change& change : changes)
            land(durable_[node], change, rng);
    unsynced_.clear();
    const std::size_t kept = rng() % (unsyncedNames_.size() + 1);
    for (std::size_t i = 0; i < kept; ++i) {
        const NameChange& change = unsyncedNames_[i];
        if (change.node < 0)
            durableNames_.erase(change.name);
        else
            durableNames_[change.name] = change.node;
    }
    unsyncedNames_.clear();
}

std::unique_ptr<FileHandle> FaultVfs::open(const fs::path& path, int flags) {
    call(path);
    if (flags & O_DIRECTORY) {
        auto real = db::io::realVfs().open(path, flags);
        return real ? std::make_unique<FaultFile>(std::move(real), path, -1, *this) : nullptr;
    }
    const std::string name = nameOf(path);
    std::error_code error;
    const bool existed = fs::exists(path, error);
    if (!existed && !(flags & O_CREAT))
        return nullptr;
    const bool creates = !existed;
    if (creates)
        step(path);
    auto real = db::io::realVfs().open(path, flags);
    int node = -1;
    if (creates) {
        node = nextNode_++;
        durable_[node] = {};
        changeName(name, node);
    } else {
        node = nodeOf(name);
        if (flags & O_TRUNC)
            truncated(node, 0);
    }
    if (creates)
        stepDone();
    return std::make_unique<FaultFile>(std::move(real), path, node, *this);
}

bool FaultVfs::remove(const fs::path& path) {
    step(path);
    const bool removed = db::io::realVfs().remove(path);
    if (removed)
        changeName(nameOf(path), -1);
    stepDone();
    return removed;
}

void FaultVfs::rename(const fs::path& from, const fs::path& to) {
    step(from);
    const int node = nodeOf(nameOf(from));
    db::io::realVfs().rename(from, to);
    changeName(nameOf(from), -1);
    changeName(nameOf(to), node);
    stepDone();
}

void FaultVfs::syncDirectory(const fs::path& dir) {
    step(dir);
    durableNames_ = names_;
    unsyncedNames_.clear();
    stepDone();
}

void FaultVfs::restart() {
    for (const auto& [name, node] : names_)
        fs::remove(dir_ / name);
    for (const auto& [name, node] : durableNames_) {
        fs::remove(dir_ / name);
        const auto& content = durable_[node];
        std::ofstream out(dir_ / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(content.data()),
                  static_cast<std::streamsize>(content.size()));
    }
    names_ = durableNames_;
    unsynced_.clear();
    unsyncedNames_.clear();
    dead_ = false;
    cutAt_ = killAt_ = failAt_ = 0;
}

} // namespace testenv
