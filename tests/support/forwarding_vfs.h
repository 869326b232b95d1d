#pragma once
// A file layer over the system's own, for tests that change what some of its calls do:
// every call goes to the real files unless a subclass overrides it.

#include "platform/db/file_io.h"

#include <filesystem>
#include <memory>

namespace testenv {

// A handle whose calls go to another handle (the real file's).
class ForwardingHandle : public db::io::FileHandle {
public:
    ForwardingHandle(std::unique_ptr<db::io::FileHandle> real, std::filesystem::path path)
        : real_(std::move(real)), path_(std::move(path)) {}

    std::uint64_t size() const override { return real_->size(); }
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        return real_->readAt(offset, out);
    }
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        real_->writeAt(offset, bytes);
    }
    void truncate(std::uint64_t size) override { real_->truncate(size); }
    void sync() override { real_->sync(); }
    void startWriteback() override { real_->startWriteback(); }
    std::unique_ptr<db::io::FileHandle> reader() const override { return real_->reader(); }

protected:
    db::io::FileHandle& real() const { return *real_; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::unique_ptr<db::io::FileHandle> real_;
    std::filesystem::path path_;
};

// The real file layer, each file it opens handed out through wrap().
class ForwardingVfs : public db::io::Vfs {
public:
    std::unique_ptr<db::io::FileHandle> open(const std::filesystem::path& path,
                                             int flags) override {
        auto real = db::io::realVfs().open(path, flags);
        return real ? wrap(std::move(real), path) : nullptr;
    }
    bool remove(const std::filesystem::path& path) override {
        return db::io::realVfs().remove(path);
    }
    void rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        db::io::realVfs().rename(from, to);
    }
    void syncDirectory(const std::filesystem::path& dir) override {
        db::io::realVfs().syncDirectory(dir);
    }

protected:
    // The handle a test hands out for a file just opened: the real one unless overridden.
    virtual std::unique_ptr<db::io::FileHandle> wrap(std::unique_ptr<db::io::FileHandle> real,
                                                     const std::filesystem::path& path) {
        (void)path;
        return real;
    }
};

} // namespace testenv
