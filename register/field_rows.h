#pragma once
// The rows of a field that the create, carry-over and modify forms write alike: the
// general data of its parcellak.db row, and its links to land parcels and predecessor
// fields.

#include "platform/db/dataset.h"
#include "platform/db/session.h"

#include <optional>
#include <string>
#include <vector>

namespace reg {

// The general data of a field as the forms write it into parcellak.db. Numbers are kept
// as the texts typed (checked before), so that an empty box stays an empty column.
struct FieldData {
    std::string evj, parcsor, ter, tervhozam;
    std::string agazat, hazmeg, hasznkod, szaporitotip, megjegyzes, kattam, nattam;
    bool masod = false, vismajor = false, tapanytelj = false, talajbaszantas = false;
    bool agrkor = false, nkat = false, nat2000 = false, nitr = false, tizszaz = false;
    std::optional<int> ketid;
    std::string saps, kat, akg; // older scheme codes, carried over unchanged
};

// The general data of the current row of a parcellak.db data set.
FieldData ReadFieldData(db::TDataSet& row);
// Writes the data into the row being edited or inserted (Masod "IGEN"/"NEM").
void WriteFieldData(db::TDataSet& row, const FieldData& data);

// Inserts one Szhelyrajzi.db link per land parcel (Tableid), numbered on from the
// highest Sorsz.
void InsertLandParcelLinks(db::Session& session, const std::string& parckod,
                           const std::vector<int>& tableids);
// Inserts one Szparcellak.db link per predecessor field, numbered on from the highest
// Szulkod.
void InsertPredecessorLinks(db::Session& session, const std::string& parckod,
                            const std::vector<std::string>& predecessors);

// The area (m², Tablak.db Ter) of the land parcels with these ids.
double LandParcelsArea(db::Session& session, const std::vector<int>& tableids);
// The land parcels (Tableid) a field lies on: its Szhelyrajzi.db links.
std::vector<int> LandParcelsOf(db::Session& session, const std::string& parckod);
// A field's area (m²) is not greater than the land parcels it lies on (equal is allowed);
// otherwise the error says so and false is returned.
bool AreaFitsLandParcels(double area, double landParcelsArea);

// Whether a serial is taken in a farming year by any field, active or closed, other
// than `except`.
bool SerialTaken(db::Session& session, int evj, int parcsor, const std::string& except = {});

// The soil-test type row (Parclellak02.db) of a field.
void InsertSoilTestType(db::Session& session, const std::string& parckod,
                        const std::string& tvizsgtip);

} // namespace reg
