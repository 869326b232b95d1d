#include "platform/db/journal.h"

#include "platform/db/error.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <zlib.h>

namespace db {

namespace {

constexpr std::array<std::uint8_t, 8> kOldMagic{'F', 'A', 'R', 'M', 'J', 'N', 'L', '1'};
constexpr std::array<std::uint8_t, 8> kMagic{'F', 'A', 'R', 'M', 'J', 'N', 'L', '3'};
constexpr std::array<std::uint8_t, 8> kGroupMagic{'F', 'A', 'R', 'M', 'J', 'N', 'L', '2'};
constexpr std::array<std::uint8_t, 8> kSuperMagic{'F', 'A', 'R', 'M', 'S', 'J', 'N', '1'};
constexpr std::size_t kSuperHeaderSize = 20;
constexpr std::size_t kHeaderSize = 24;
constexpr std::size_t kChecksumSize = kJournalChecksumSize;

template <typename T>
void putAt(std::vector<std::uint8_t>& out, std::size_t at, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out[at + i] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i));
}

template <typename T>
void append(std::vector<std::uint8_t>& out, T value) {
    out.resize(out.size() + sizeof(T));
    putAt(out, out.size() - sizeof(T), value);
}

// Reads the fields of a journal whose checksum matched; anything that does not fit is
// a corrupt journal (written by something else, or a fault of ours).
class Reader {
public:
    Reader(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
        : path_(path), bytes_(bytes) {}

    template <typename T>
    T get() {
        std::uint64_t value = 0;
        const auto raw = take(sizeof(T));
        for (std::size_t i = 0; i < sizeof(T); ++i)
            value |= static_cast<std::uint64_t>(raw[i]) << (8 * i);
        return static_cast<T>(value);
    }

    std::span<const std::uint8_t> take(std::uint64_t length) {
        if (length > bytes_.size() - pos_)
            corrupt("entry runs past the end");
        const auto out = bytes_.subspan(pos_, static_cast<std::size_t>(length));
        pos_ += static_cast<std::size_t>(length);
        return out;
    }

    bool atEnd() const { return pos_ == bytes_.size(); }
    [[noreturn]] void corrupt(const std::string& what) const {
        throw CorruptFileError(path_, "damaged journal: " + what);
    }

private:
    const std::filesystem::path& path_;
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

JournalAfter readAfter(Reader& in) {
    JournalAfter after;
    after.size = in.get<std::uint64_t>();
    after.checksum = in.get<std::uint32_t>();
    const auto count = in.get<std::uint32_t>();
    std::uint64_t end = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto offset = in.get<std::uint64_t>();
        const auto length = in.get<std::uint64_t>();
        if (offset < end || offset > after.size || length > after.size - offset)
            in.corrupt("bad range of a file's new bytes");
        after.ranges.push_back({offset, length});
        end = offset + length;
    }
    return after;
}

JournalFile readFile(Reader& in, bool withAfter) {
    JournalFile file;
    const auto name = in.take(in.get<std::uint16_t>());
    file.name.assign(name.begin(), name.end());
    if (!isContainedName(file.name))
        in.corrupt("names a file outside its folder: " + file.name);
    const auto existed = in.get<std::uint8_t>();
    const auto size = in.get<std::uint64_t>();
    if (existed > 1)
        in.corrupt("bad file entry");
    if (existed)
        file.originalSize = size;
    if (!withAfter)
        return file;
    const auto known = in.get<std::uint8_t>();
    if (known > 1)
        in.corrupt("bad file entry");
    if (known)
        file.after = readAfter(in);
    return file;
}

JournalRegion readRegion(Reader& in, const std::vector<JournalFile>& files) {
    JournalRegion region;
    region.file = in.get<std::uint32_t>();
    region.offset = in.get<std::uint64_t>();
    const auto length = in.get<std::uint64_t>();
    region.bytes = in.take(length);
    if (region.file >= files.size() || !files[region.file].originalSize ||
        region.offset > *files[region.file].originalSize ||
        length > *files[region.file].originalSize - region.offset)
        in.corrupt("region outside its file");
    return region;
}

// The journal's own bytes (those its length field counts; the file may run on past
// them) when it is complete: its magic is `magic` and its checksum matches.
std::optional<std::span<const std::uint8_t>> completeJournal(std::span<const std::uint8_t> bytes,
                                                             std::span<const std::uint8_t> magic,
                                                             std::size_t headerSize = kHeaderSize) {
    if (bytes.size() < headerSize + kChecksumSize ||
        !std::equal(magic.begin(), magic.end(), bytes.begin()))
        return std::nullopt;
    std::uint64_t length = 0;
    std::uint32_t stored = 0;
    for (std::size_t i = 0; i < 8; ++i)
        length |= static_cast<std::uint64_t>(bytes[8 + i]) << (8 * i);
    if (length < headerSize + kChecksumSize || length > bytes.size())
        return std::nullopt;
    const auto body = bytes.first(static_cast<std::size_t>(length) - kChecksumSize);
    for (std::size_t i = 0; i < kChecksumSize; ++i)
        stored |= static_cast<std::uint32_t>(bytes[body.size() + i]) << (8 * i);
    if (crc32(body) != stored)
        return std::nullopt;
    return bytes.first(static_cast<std::size_t>(length));
}

} // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t running) {
    // zlib's CRC-32 (the common polynomial), many bytes a step.
    return static_cast<std::uint32_t>(::crc32_z(running, bytes.data(), bytes.size()));
}

bool holdsNoChange(std::span<const std::uint8_t> head) {
    return std::all_of(head.begin(), head.end(), [](std::uint8_t b) { return b == 0; });
}

bool isContainedName(const std::string& name) {
    if (name.empty() || name.find('\0') != std::string::npos)
        return false;
    const std::filesystem::path path(name);
    if (path.is_absolute() || path.has_root_path())
        return false;
    for (const auto& part : path)
        if (part == ".." || part == ".")
            return false;
    return true;
}

JournalBuilder::JournalBuilder(const std::string& superJournal) : grouped_(!superJournal.empty()) {
    const auto& magic = grouped_ ? kGroupMagic : kMagic;
    bytes_.assign(magic.begin(), magic.end());
    bytes_.resize(kHeaderSize); // length and counts are filled in by finish()
    if (!superJournal.empty()) {
        if (superJournal.size() > 0xFFFF)
            throw std::logic_error("journal: bad super-journal name");
        append(bytes_, static_cast<std::uint16_t>(superJournal.size()));
        bytes_.insert(bytes_.end(), superJournal.begin(), superJournal.end());
    }
}

void JournalBuilder::addFile(const JournalFile& file) {
    if (regions_ > 0 || file.name.size() > 0xFFFF)
        throw std::logic_error("journal: bad file entry");
    append(bytes_, static_cast<std::uint16_t>(file.name.size()));
    bytes_.insert(bytes_.end(), file.name.begin(), file.name.end());
    append(bytes_, static_cast<std::uint8_t>(file.originalSize ? 1 : 0));
    append(bytes_, file.originalSize.value_or(0));
    ++files_;
    if (grouped_)
        return;
    append(bytes_, static_cast<std::uint8_t>(file.after ? 1 : 0));
    if (!file.after)
        return;
    if (file.after->ranges.size() > 0xFFFFFFFF)
        throw std::logic_error("journal: too many ranges");
    append(bytes_, file.after->size);
    append(bytes_, file.after->checksum);
    append(bytes_, static_cast<std::uint32_t>(file.after->ranges.size()));
    for (const JournalAfter::Range& range : file.after->ranges) {
        append(bytes_, range.offset);
        append(bytes_, range.length);
    }
}

std::span<std::uint8_t> JournalBuilder::addRegion(std::uint32_t file, std::uint64_t offset,
                                                  std::size_t length) {
    append(bytes_, file);
    append(bytes_, offset);
    append(bytes_, static_cast<std::uint64_t>(length));
    bytes_.resize(bytes_.size() + length);
    ++regions_;
    return std::span(bytes_).last(length);
}

std::vector<std::uint8_t> JournalBuilder::finish() && {
    putAt(bytes_, 8, static_cast<std::uint64_t>(bytes_.size() + kChecksumSize));
    putAt(bytes_, 16, files_);
    putAt(bytes_, 20, regions_);
    append(bytes_, crc32(bytes_));
    return std::move(bytes_);
}

std::optional<Journal> decodeJournal(const std::filesystem::path& path,
                                     std::span<const std::uint8_t> bytes) {
    const auto startsWith = [&](const std::array<std::uint8_t, 8>& magic) {
        return bytes.size() >= magic.size() &&
               std::equal(magic.begin(), magic.end(), bytes.begin());
    };
    const bool grouped = startsWith(kGroupMagic);
    const bool old = startsWith(kOldMagic);
    const auto complete = completeJournal(bytes, grouped ? kGroupMagic : old ? kOldMagic : kMagic);
    if (!complete)
        return std::nullopt;
    bytes = *complete;
    Reader in(path, bytes.first(bytes.size() - kChecksumSize));
    in.take(16);
    const auto fileCount = in.get<std::uint32_t>();
    const auto regionCount = in.get<std::uint32_t>();
    Journal journal;
    if (grouped) {
        const auto name = in.take(in.get<std::uint16_t>());
        journal.superJournal.assign(name.begin(), name.end());
        if (!isContainedName(journal.superJournal))
            in.corrupt("names a super-journal outside its folder");
    }
    for (std::uint32_t i = 0; i < fileCount; ++i)
        journal.files.push_back(readFile(in, !grouped && !old));
    for (std::uint32_t i = 0; i < regionCount; ++i)
        journal.regions.push_back(readRegion(in, journal.files));
    if (!in.atEnd())
        in.corrupt("trailing bytes");
    return journal;
}

std::vector<std::uint8_t> encodeSuperJournal(const std::vector<std::string>& journals) {
    std::vector<std::uint8_t> bytes(kSuperMagic.begin(), kSuperMagic.end());
    bytes.resize(kSuperHeaderSize);
    for (const std::string& name : journals) {
        if (name.size() > 0xFFFF)
            throw std::logic_error("super-journal: bad journal name");
        append(bytes, static_cast<std::uint16_t>(name.size()));
        bytes.insert(bytes.end(), name.begin(), name.end());
    }
    putAt(bytes, 8, static_cast<std::uint64_t>(bytes.size() + kChecksumSize));
    putAt(bytes, 16, static_cast<std::uint32_t>(journals.size()));
    append(bytes, crc32(bytes));
    return bytes;
}

std::optional<std::vector<std::string>> decodeSuperJournal(const std::filesystem::path& path,
                                                           std::span<const std::uint8_t> bytes) {
    const auto complete = completeJournal(bytes, kSuperMagic, kSuperHeaderSize);
    if (!complete)
        return std::nullopt;
    bytes = *complete;
    Reader in(path, bytes.first(bytes.size() - kChecksumSize));
    in.take(16);
    const auto count = in.get<std::uint32_t>();
    std::vector<std::string> journals;
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto name = in.take(in.get<std::uint16_t>());
        journals.emplace_back(name.begin(), name.end());
        if (!isContainedName(journals.back()))
            in.corrupt("names a journal outside its folder: " + journals.back());
    }
    if (!in.atEnd())
        in.corrupt("trailing bytes");
    return journals;
}

} // namespace db
