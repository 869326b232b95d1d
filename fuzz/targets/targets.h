#pragma once
// The fuzz targets: each checks one input and writes its seeds (see fuzz_support.h).

#include <string_view>

namespace fuzz {

void runTableReader(std::string_view input);
void seedTableReader();
void runPrimaryIndex(std::string_view input);
void seedPrimaryIndex();
void runSecondaryIndex(std::string_view input);
void seedSecondaryIndex();
void runBlobFile(std::string_view input);
void seedBlobFile();
void runFilter(std::string_view input);
void seedFilter();
void runSql(std::string_view input);
void seedSql();
void runLayout(std::string_view input);
void seedLayout();
void runPicture(std::string_view input);
void seedPicture();
void runNumbersDates(std::string_view input);
void seedNumbersDates();
void runJournal(std::string_view input);
void seedJournal();

} // namespace fuzz
