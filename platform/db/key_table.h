#pragma once
// Keys of bytes to values in one open-addressed table, with an inline hash for short
// keys: the join, group and DISTINCT keys of the SQL executor, the order values of a
// table view.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace db {

// The hash of a key. Keys are short (a code, a date, a few fields' bytes):
// eight bytes at a time, multiplied in, inline where the key is looked up.
struct TextKeyHash {
    static std::uint64_t mix(std::uint64_t h, std::uint64_t word) {
        h = (h ^ word) * 0xBF58476D1CE4E5B9ull;
        return h ^ (h >> 29);
    }
    std::size_t operator()(const std::string& key) const noexcept {
        const auto* p = reinterpret_cast<const unsigned char*>(key.data());
        std::size_t n = key.size();
        std::uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
        for (; n >= 8; p += 8, n -= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            h = mix(h, word);
        }
        if (n > 0) {
            std::uint64_t word = 0;
            for (std::size_t i = 0; i < n; ++i)
                word |= static_cast<std::uint64_t>(p[i]) << (8 * i);
            h = mix(h, word);
        }
        h *= 0x94D049BB133111EBull;
        return static_cast<std::size_t>(h ^ (h >> 32));
    }
};
// Keys of bytes to values in one open-addressed table: a power of two of slots, at most
// half of them used, probed in turn; each slot keeps its key's hash and where its entry
// is. A look-up costs no division and a key no node of its own. An entry found or added
// stays where it is only until the next key is added.
template <class T>
class KeyTable {
public:
    using Entry = std::pair<std::string, T>;

    std::size_t size() const { return entries_.size(); }
    Entry* end() const { return nullptr; }
    Entry* find(const std::string& key) {
        const std::size_t at = slotOf(key, TextKeyHash{}(key));
        return slots_.empty() || !slots_[at].entry ? nullptr : &entries_[slots_[at].entry - 1];
    }
    const Entry* find(const std::string& key) const {
        return const_cast<KeyTable*>(this)->find(key);
    }
    bool contains(const std::string& key) const { return find(key) != nullptr; }
    template <class K, class... Args>
    std::pair<Entry*, bool> try_emplace(K&& key, Args&&... args) {
        if (2 * (entries_.size() + 1) > slots_.size())
            grow();
        const std::size_t hash = TextKeyHash{}(key);
        Slot& slot = slots_[slotOf(key, hash)];
        if (slot.entry)
            return {&entries_[slot.entry - 1], false};
        entries_.emplace_back(std::piecewise_construct, std::forward_as_tuple(std::forward<K>(key)),
                              std::forward_as_tuple(std::forward<Args>(args)...));
        slot = {hash, static_cast<std::uint32_t>(entries_.size())};
        return {&entries_.back(), true};
    }
    template <class K>
    std::pair<Entry*, bool> insert(K&& key) {
        return try_emplace(std::forward<K>(key));
    }
    T& operator[](const std::string& key) { return try_emplace(key).first->second; }

private:
    struct Slot {
        std::size_t hash = 0;
        std::uint32_t entry = 0; // its entry + 1; 0: free
    };

    // The slot holding `key`, or the free slot where it would go.
    std::size_t slotOf(const std::string& key, std::size_t hash) const {
        if (slots_.empty())
            return 0;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            const Slot& slot = slots_[at];
            if (!slot.entry || (slot.hash == hash && entries_[slot.entry - 1].first == key))
                return at;
        }
    }
    void grow() {
        std::vector<Slot> old =
            std::exchange(slots_, std::vector<Slot>(std::max<std::size_t>(16, 2 * slots_.size())));
        const std::size_t mask = slots_.size() - 1;
        for (const Slot& slot : old) {
            if (!slot.entry)
                continue;
            std::size_t at = slot.hash & mask;
            while (slots_[at].entry)
                at = (at + 1) & mask;
            slots_[at] = slot;
        }
    }

    std::vector<Entry> entries_;
    std::vector<Slot> slots_;
};

} // namespace db
