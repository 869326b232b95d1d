#pragma once
// The codes of the machine tables (Erogepek.db, Munkagepek.db). "100000" always means "no
// machine": the placeholder row an operation without a tractor or implement points to.
// Own and service providers' machines are numbered from 100001 upwards.

#include <string>

namespace db {
class TDataSet;
}

namespace res {

inline constexpr const char* kNoMachineCode = "100000";
inline constexpr int kFirstMachineCode = 100001;

// One above the highest Gepkod of every row of the open data set (own, retired, service
// provider's and no-machine rows alike), at least 100001. Codes that are not numbers are
// passed over. The cursor ends on the first row.
std::string NextMachineCode(db::TDataSet& machines);

} // namespace res
