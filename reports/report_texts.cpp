#include "report_texts.h"

#include "platform/db/sql/sql.h"
#include "platform/sys/numbers.h"

#include <cmath>

namespace lists {

std::string FarmingYearLabel(int evj) {
    if (evj <= 0)
        return "";
    const std::string year = std::to_string(evj);
    if (year.size() < 4)
        return std::to_string(evj - 1) + "/" + year;
    return std::to_string(evj - 1) + "/" + year.substr(2, 2);
}

OperationConditions BuildOperationConditions(const OperationChoices& choices) {
    OperationConditions c;
    if (!choices.fieldCodes.empty()) {
        c.ConditionTail += " AND (";
        for (std::size_t i = 0; i < choices.fieldCodes.size(); ++i) {
            if (i > 0)
                c.ConditionTail += " OR ";
            c.ConditionTail += "Tablakod = " + db::sql::quoteSqlText(choices.fieldCodes[i]);
        }
        c.ConditionTail += ")";
    }
    // The year keeps the quotes of the original tail; it is a whole number by now.
    if (!choices.year.empty())
        c.ConditionTail += " AND Evj = '" + db::sql::sqlInteger(choices.year) + "'";
    if (!choices.sector.empty())
        c.ConditionTail += " AND Agazat = " + db::sql::quoteSqlText(choices.sector);
    c.DateRangeFilter = "Datum >= '" + sys::dateToText(choices.from) + "' and Datum <= '" +
                        sys::dateToText(choices.to) + "'";
    c.DateRangeTail = " AND (ElvMuv.Datum >= '" + sys::monthDayYearText(choices.from) +
                      "') AND (ElvMuv.Datum <= '" + sys::monthDayYearText(choices.to) + "')";
    return c;
}

std::string DepthAndYieldText(const std::string& szantm, double hozam, const std::string& mellek) {
    std::string text;
    if (!szantm.empty() && szantm != "0")
        text = szantm + " cm";
    if (hozam != 0) {
        if (!text.empty())
            text += ",";
        text += " " + sys::floatToText(hozam) + " t/ha " + mellek;
    }
    return text;
}

double RoundUpToKilograms(double tonnes) {
    const double kilograms = static_cast<double>(tonnes * 1000.0f);
    return std::ceil(kilograms) * 0.001;
}

double InputQuantity(double doseTimesSquareMetres) {
    const double thousandths = doseTimesSquareMetres * 0.1;
    return std::ceil(thousandths) * 0.001;
}

} // namespace lists
