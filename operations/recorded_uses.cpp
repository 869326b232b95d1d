#include "recorded_uses.h"

#include "platform/db/filter.h"
#include "platform/db/table.h"
#include "register/cascade_deletes.h"
#include "register/codes.h"

#include <cmath>

namespace ops {

namespace {

// The product of two floats, rounded once to a float (the double product is exact).
float Times(float a, float b) {
    return static_cast<float>(static_cast<double>(a) * static_cast<double>(b));
}

float F(double value) {
    return static_cast<float>(value);
}

std::string KeyFilter(const char* field, const std::string& code) {
    return std::string(field) + " = " + db::quoteFilterText(code);
}

} // namespace

float OperationHectares(double ter) {
    return F(ter * 0.0001);
}

float ChangedDoseBase(double dose, double unitFactor, float hectares) {
    return Times(Times(F(dose), F(unitFactor)), hectares);
}

float AddedDoseBase(double dose, float hectares, double unitFactor) {
    return Times(Times(F(dose), hectares), F(unitFactor));
}

float StockBase(double stock, double materialFactor) {
    return Times(F(stock), F(materialFactor));
}

double RecordedWithdrawal(float base, double materialFactor) {
    return -std::ceil(static_cast<double>(base)) / materialFactor;
}

std::string NextRecordedUseCode(db::Session& session) {
    return reg::NextSequentialCode(session, {{"felhanyag", "Felhkod"}}, 100001);
}

std::string AddRecordedUse(db::Session& session, const MaterialUse& use, const std::string& parckod,
                           sys::DateTime day, std::optional<double> withdrawal) {
    db::SessionTransaction transaction(session);
    const std::string code = NextRecordedUseCode(session);
    db::TTable uses(session, "Uses");
    uses.SetTableName("felhanyag");
    uses.Open();
    AppendUseRow(uses, use, code, parckod, std::nullopt);
    uses.FlushBuffers();
    if (withdrawal) {
        db::TTable stock(session, "Stock");
        stock.SetTableName("Raktarmozgas");
        stock.Open();
        AppendWithdrawal(stock, use.materialCode, code, *withdrawal, day);
        stock.FlushBuffers();
    }
    transaction.Commit();
    return code;
}

void UpdateRecordedUse(db::Session& session, const std::string& felhkod,
                       const std::function<void(db::TTable&)>& fill) {
    db::TTable uses(session, "Uses");
    uses.SetTableName("felhanyag");
    uses.Open();
    if (felhkod.empty() || !uses.Locate("Felhkod", {db::Value(felhkod)}))
        return;
    uses.Edit();
    fill(uses);
    uses.Post();
    uses.FlushBuffers();
}

void ChangeRecordedDose(db::Session& session, const std::string& felhkod, double dose,
                        std::optional<double> withdrawal) {
    if (felhkod.empty())
        return;
    db::SessionTransaction transaction(session);
    UpdateRecordedUse(session, felhkod,
                      [dose](db::TTable& use) { use.FieldByName("Menny").SetAsFloat(dose); });
    if (withdrawal) {
        db::TTable stock(session, "Stock");
        stock.SetTableName("Raktarmozgas");
        stock.SetFilter(KeyFilter("Felhanykod", felhkod));
        stock.SetFiltered(true);
        stock.Open();
        if (!stock.IsEmpty()) {
            stock.Edit();
            stock.FieldByName("Menny").SetAsFloat(*withdrawal);
            stock.Post();
            stock.FlushBuffers();
        }
    }
    transaction.Commit();
}

void DeleteRecordedUse(db::Session& session, const std::string& felhkod) {
    if (felhkod.empty())
        return;
    db::SessionTransaction transaction(session);
    reg::DeleteRows(session, "felhanyag", KeyFilter("Felhkod", felhkod));
    reg::DeleteStockMovements(session, felhkod, false);
    transaction.Commit();
}

} // namespace ops
