#pragma once
// Plant-protection observations (Novvedmegf.db) and their pest rows (Novvedmeg2.db):
// the routines the observation form shares with its tests.

#include <cstdint>
#include <string>

namespace db {
class Session;
}

namespace res {

// The serial proposed for a new observation: the largest Sorsz of the whole table plus
// one, 1 for an empty table.
std::int64_t NextObservationSerial(db::Session& session);

// Copies one observation to a field (the target's Parckod) with its first pest row; the
// copy keeps every field of its source but Agrotechsorsz and Deleted, and gets a new Id,
// which is returned. Both rows are written in one transaction.
int CopyObservation(db::Session& session, int sourceId, const std::string& targetParckod);

} // namespace res
