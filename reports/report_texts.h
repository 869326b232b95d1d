#pragma once
// Texts the lists and summaries share: the farming year's label, the condition tail and
// date range that the operations' conditions form hands to its list, the depth and yield
// column of the operation lists, and the roundings of the summaries.

#include "platform/sys/datetime.h"

#include <string>
#include <vector>

namespace lists {

// "2004/05" for 2005: the year before, "/", the third and fourth digits. A year of fewer
// than four digits gives the year before and the year ("998/999"); 0 or less: empty.
std::string FarmingYearLabel(int evj);

// What the user chose on the operations' conditions form.
struct OperationChoices {
    std::vector<std::string> fieldCodes; // Parckod of the marked rows, in mark order
    std::string year;                    // a whole number or empty (checked before)
    std::string sector;                  // as typed or chosen
    sys::DateTime from = 0, to = 0;      // the pickers, both inclusive
};

struct OperationConditions {
    std::string ConditionTail;   // " AND (Tablakod = '100000' OR ...) AND Evj = '2005' ..."
    std::string DateRangeFilter; // a filter on Datum, dates in the short date format
    std::string DateRangeTail;   // " AND (ElvMuv.Datum >= '3/1/2005') AND (...)"
};

// The texts of the choices; every text the user gave enters them as a SQL literal (an
// apostrophe doubled), the year as a checked whole number.
OperationConditions BuildOperationConditions(const OperationChoices& choices);

// The depth and yield column of an operation row: "25 cm, 5,5 t/ha szalma".
std::string DepthAndYieldText(const std::string& szantm, double hozam, const std::string& mellek);

// Tonnes rounded up to whole kilograms: 3.0004 gives 3.001, 3.0 stays 3.0.
double RoundUpToKilograms(double tonnes);

// The quantity of a material on a field: the sum over its uses of dose per hectare ×
// the operation's area in m², as a quantity rounded up to three decimals (a dose of 150
// on 25 000 m² gives 375.0).
double InputQuantity(double doseTimesSquareMetres);

} // namespace lists
