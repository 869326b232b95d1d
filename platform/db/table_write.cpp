// Placeholders for the write side of TableFile, replaced by its real implementation.

#include "platform/db/table_file.h"

#include <stdexcept>

namespace db {

std::unique_ptr<TableFile> TableFile::create(const std::filesystem::path&, const TableSchema&,
                                             OpenOptions) {
    throw std::logic_error("not yet");
}
std::optional<RecordPos> TableFile::find(const Record&) const {
    throw std::logic_error("not yet");
}
RecordPos TableFile::insert(Record&) {
    throw std::logic_error("not yet");
}
RecordPos TableFile::update(RecordPos, const Record&) {
    throw std::logic_error("not yet");
}
void TableFile::remove(RecordPos) {
    throw std::logic_error("not yet");
}
void TableFile::empty() {
    throw std::logic_error("not yet");
}
int TableFile::compareKeys(std::span<const std::uint8_t>, std::span<const std::uint8_t>,
                           int) const {
    throw std::logic_error("not yet");
}
void TableFile::writeHeader() {
    throw std::logic_error("not yet");
}
void TableFile::rebuildPrimaryIndex() {
    throw std::logic_error("not yet");
}

} // namespace db
