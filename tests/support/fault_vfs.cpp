#include "support/fault_vfs.h"

#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using db::io::FileHandle;

namespace testenv {

namespace {

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
        vfs_.stepDone();
    }
    void truncate(std::uint64_t size) override {
        vfs_.step(path_);
        real_->truncate(size);
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
    if (tear_ && write.node >= 0 && write.length > 1) {
        auto& content = durable_[write.node];
        const std::size_t half = write.length / 2;
        if (content.size() < write.offset + half)
            content.resize(write.offset + half);
        std::copy(write.bytes, write.bytes + half,
                  content.begin() + static_cast<std::ptrdiff_t>(write.offset));
    }
    dead_ = true;
    throw PowerCut(path, "the power went");
}

void FaultVfs::stepDone() {
    if (steps_ == killAt_)
        ::_exit(99);
}

void FaultVfs::synced(int node, std::vector<std::uint8_t> content) {
    durable_[node] = std::move(content);
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
        names_[name] = node;
        durable_[node] = {};
    } else {
        node = nodeOf(name);
    }
    if (creates)
        stepDone();
    return std::make_unique<FaultFile>(std::move(real), path, node, *this);
}

bool FaultVfs::remove(const fs::path& path) {
    step(path);
    const bool removed = db::io::realVfs().remove(path);
    names_.erase(nameOf(path));
    stepDone();
    return removed;
}

void FaultVfs::rename(const fs::path& from, const fs::path& to) {
    step(from);
    db::io::realVfs().rename(from, to);
    const int node = nodeOf(nameOf(from));
    names_.erase(nameOf(from));
    names_[nameOf(to)] = node;
    stepDone();
}

void FaultVfs::syncDirectory(const fs::path& dir) {
    step(dir);
    durableNames_ = names_;
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
    dead_ = false;
    cutAt_ = killAt_ = failAt_ = 0;
}

} // namespace testenv
