#include "fuzz/fuzz_support.h"
#include "fuzz/targets/targets.h"

namespace fuzz {

const std::vector<Target>& targets() {
    static const std::vector<Target> list = {
        {"table_reader", runTableReader, seedTableReader},
        {"primary_index", runPrimaryIndex, seedPrimaryIndex},
        {"secondary_index", runSecondaryIndex, seedSecondaryIndex},
        {"blob_file", runBlobFile, seedBlobFile},
        {"filter", runFilter, seedFilter},
        {"sql", runSql, seedSql},
        {"layout", runLayout, seedLayout},
        {"picture", runPicture, seedPicture},
        {"numbers_dates", runNumbersDates, seedNumbersDates},
        {"journal", runJournal, seedJournal},
    };
    return list;
}

} // namespace fuzz
