#include "support/table_check.h"

#include "platform/db/data_block.h"
#include "platform/db/header.h"
#include "support/test_env.h"

#include <cstring>
#include <set>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace testenv {

namespace {

// The dumps without their comment lines, which name the tool that made them.
std::vector<std::string> dumpLines(const std::string& text) {
    auto out = splitLines(text);
    std::erase_if(out, [](const std::string& l) { return l.starts_with("# "); });
    return out;
}

std::uint16_t shortField(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(((p[0] << 8) | p[1]) ^ 0x8000);
}

struct PxEntry {
    std::vector<std::uint8_t> key;
    std::uint16_t block;
    std::uint16_t count;
};

} // namespace

std::string compareWithOracle(const fs::path& db) {
    if (const std::string missing = missingOracle(); !missing.empty()) {
        markMissing(missing); // the caller's own checks still run
        return "";
    }
    const auto ours = run(tabledump().string() + " '" + db.string() + "' 2>&1");
    const auto theirs = run(tool("pxdump").string() + " '" + db.string() + "' 2>&1");
    if (ours.exitCode != 0)
        return "tabledump failed: " + ours.out;
    if (theirs.exitCode != 0)
        return "pxdump failed: " + theirs.out;
    const auto a = dumpLines(ours.out), b = dumpLines(theirs.out);
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string la = i < a.size() ? a[i] : "<end>";
        const std::string lb = i < b.size() ? b[i] : "<end>";
        if (la != lb)
            return "line " + std::to_string(i + 1) + ": ours [" + la + "] pxdump [" + lb + "]";
    }
    const auto raw = run(tool("pxdump").string() + " -r '" + db.string() + "' 2>&1");
    for (const auto& line : splitLines(raw.out))
        if (line.find("MISMATCH") != std::string::npos || line.find("ERROR") != std::string::npos ||
            line.find("WARNING") != std::string::npos || line.find("wrong") != std::string::npos)
            return "pxdump -r: " + line;
    if (raw.exitCode != 0)
        return "pxdump -r exit " + std::to_string(raw.exitCode);
    return "";
}

std::string checkPrimaryIndex(const db::TableFile& table) {
    if (!table.keyed())
        return "";
    const fs::path px = db::companionPath(table.path(), ".px");
    const std::string bytes = readFile(px);
    if (bytes.size() < 2048)
        return "the .px is shorter than a header";
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto header = db::parseHeader(std::span(data, bytes.size()), bytes.size(), px);
    const auto& chain = table.blocks();
    if (chain.empty())
        return header.numRecords == 0 ? "" : "entries in the .px of an empty table";
    const int keySize = header.recordSize - 6;
    if (keySize <= 0 || keySize > table.codec().recordSize())
        return "the .px entries of " + std::to_string(header.recordSize) +
               " bytes do not fit the table's key";
    const auto blockSize = static_cast<std::size_t>(header.blockSize());

    // Entries of one index block. A tree reaches each block once: a block reached again
    // (a damaged or foreign file) ends the walk, which is bounded by the file's size.
    std::set<std::uint16_t> visited;
    const auto entriesOf = [&](std::uint16_t number, std::vector<PxEntry>& out) -> std::string {
        const std::size_t offset = header.headerSize + (number - 1u) * blockSize;
        if (number == 0 || offset + blockSize > bytes.size())
            return "index block " + std::to_string(number) + " past the end";
        if (!visited.insert(number).second)
            return "index block " + std::to_string(number) + " is reached twice";
        const std::uint8_t* block = data + offset;
        const std::size_t n = db::recordsInBlock(block, header.recordSize);
        if (n > (blockSize - db::kBlockHeaderSize) / header.recordSize)
            return "index block " + std::to_string(number) + " claims more entries than fit";
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t* e = block + db::kBlockHeaderSize + i * header.recordSize;
            out.push_back({std::vector<std::uint8_t>(e, e + keySize), shortField(e + keySize),
                           shortField(e + keySize + 2)});
        }
        return "";
    };
    // Descend level by level from the root to the leaves.
    std::vector<PxEntry> level;
    if (auto problem = entriesOf(header.indexRoot, level); !problem.empty())
        return problem;
    std::uint32_t entries = static_cast<std::uint32_t>(level.size());
    for (int l = 1; l < header.indexLevels; ++l) {
        std::vector<PxEntry> below;
        for (const auto& e : level) {
            const std::size_t before = below.size();
            if (auto problem = entriesOf(e.block, below); !problem.empty())
                return problem;
            if (below.size() == before || below[before].key != e.key)
                return "an upper entry's key differs from its child's first key";
            std::uint32_t sum = 0;
            for (std::size_t i = before; i < below.size(); ++i)
                sum += below[i].count;
            if (std::min<std::uint32_t>(sum, 0x7FFF) != e.count)
                return "an upper entry's count differs from its children's";
        }
        entries += static_cast<std::uint32_t>(below.size());
        level = std::move(below);
    }
    if (entries != header.numRecords)
        return "the .px header counts " + std::to_string(header.numRecords) + " entries, found " +
               std::to_string(entries);
    if (level.size() != chain.size())
        return "the .px has " + std::to_string(level.size()) + " leaf entries for " +
               std::to_string(chain.size()) + " data blocks";
    for (std::size_t i = 0; i < chain.size(); ++i) {
        if (level[i].block != chain[i].number || level[i].count != chain[i].records)
            return "leaf entry " + std::to_string(i) + " points at block " +
                   std::to_string(level[i].block) + " with " + std::to_string(level[i].count) +
                   " records, the chain has block " + std::to_string(chain[i].number) + " with " +
                   std::to_string(chain[i].records);
        const auto first = table.readRaw({chain[i].number, 0});
        if (std::memcmp(first.data(), level[i].key.data(), static_cast<std::size_t>(keySize)) != 0)
            return "leaf entry " + std::to_string(i) + " has a key other than its block's first";
    }
    return "";
}

} // namespace testenv
