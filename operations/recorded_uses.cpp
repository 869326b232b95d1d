#include "recorded_uses.h"

#include "platform/db/filter.h"
#include "platform/db/table.h"
#include "register/cascade_deletes.h"
#include "register/codes.h"
#include "resources/stock.h"

#include <cmath>
#include <map>

namespace ops {

namespace {

// The product of two floats, rounded once to a float (the double product is exact).
float Times(float a, float b) {
    return static_cast<float>(static_cast<double>(a) * static_cast<double>(b));
}

float F(double value) {
    return static_cast<float>(value);
}

// The unit of a material in its master; none when the code names no master row.
std::optional<std::string> MasterUnit(db::Session& session, const std::string& code) {
    const auto kind = res::KindOfCode(code);
    if (!kind)
        return std::nullopt;
    const res::MaterialKindInfo& info = res::KindInfo(*kind);
    db::TTable master(session, "Master");
    master.SetTableName(info.masterTable);
    master.SetFilter(db::filterEquals(info.codeField.c_str(), code));
    master.SetFiltered(true);
    master.Open();
    if (master.IsEmpty())
        return std::nullopt;
    return master.FieldByName("Mert").AsString();
}

double FactorOf(const std::string& unit) {
    return res::UnitFactor(unit).value_or(1);
}

// The first withdrawal booked by the use `felhkod`; none without one.
std::optional<double> BookedWithdrawal(db::Session& session, const std::string& felhkod) {
    db::TTable stock(session, "Stock");
    stock.SetTableName("Raktarmozgas");
    stock.SetFilter(db::filterEquals("Felhanykod", felhkod));
    stock.SetFiltered(true);
    stock.Open();
    if (stock.IsEmpty())
        return std::nullopt;
    return stock.FieldByName("Menny").AsFloat();
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
        stock.SetFilter(db::filterEquals("Felhanykod", felhkod));
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

std::vector<AreaWithdrawal> WithdrawalsForArea(db::Session& session, const std::string& muvkod,
                                               long long ter) {
    std::vector<AreaWithdrawal> withdrawals;
    if (muvkod.empty())
        return withdrawals;
    db::TTable operation(session, "Operation");
    operation.SetTableName("ElvMuv");
    operation.SetFilter(db::filterEquals("Muvkod", muvkod));
    operation.SetFiltered(true);
    operation.Open();
    if (operation.IsEmpty() || operation.FieldByName("Ter").AsFloat() == static_cast<double>(ter))
        return withdrawals;
    const float hectares = OperationHectares(static_cast<double>(ter));
    db::TTable uses(session, "Uses");
    uses.SetTableName("felhanyag");
    uses.SetFilter(db::filterEquals("Muvkod", muvkod));
    uses.SetFiltered(true);
    uses.Open();
    for (uses.First(); !uses.Eof(); uses.Next()) {
        AreaWithdrawal w;
        w.felhkod = uses.FieldByName("Felhkod").AsString();
        w.materialCode = uses.FieldByName("Anyagkod").AsString();
        const auto booked = w.felhkod.empty() ? std::nullopt : BookedWithdrawal(session, w.felhkod);
        const auto unit = MasterUnit(session, w.materialCode);
        if (!booked || !unit)
            continue;
        w.materialFactor = FactorOf(*unit);
        w.before = *booked;
        const float base = ChangedDoseBase(uses.FieldByName("Menny").AsFloat(),
                                           FactorOf(uses.FieldByName("Mert").AsString()), hectares);
        w.after = RecordedWithdrawal(base, w.materialFactor);
        withdrawals.push_back(w);
    }
    return withdrawals;
}

std::optional<std::string> MaterialShortOfArea(db::Session& session,
                                               const std::vector<AreaWithdrawal>& withdrawals,
                                               sys::DateTime day) {
    std::map<std::string, double> extraBase; // what the new area takes beyond the booked
    for (const AreaWithdrawal& w : withdrawals)
        extraBase[w.materialCode] += (w.after - w.before) * w.materialFactor;
    for (const AreaWithdrawal& w : withdrawals) {
        const double extra = extraBase[w.materialCode];
        const double stock = res::StockOnDate(session, w.materialCode, day) * w.materialFactor;
        if (extra < 0 && !res::MovementAllowed(extra, stock))
            return w.materialCode;
    }
    return std::nullopt;
}

void RewriteAreaWithdrawals(db::Session& session, const std::vector<AreaWithdrawal>& withdrawals) {
    db::TTable stock(session, "Stock");
    stock.SetTableName("Raktarmozgas");
    stock.Open();
    for (const AreaWithdrawal& w : withdrawals) {
        stock.SetFilter(db::filterEquals("Felhanykod", w.felhkod));
        stock.SetFiltered(true);
        stock.First();
        if (stock.IsEmpty())
            continue;
        stock.Edit();
        stock.FieldByName("Menny").SetAsFloat(w.after);
        stock.Post();
    }
}

void DeleteRecordedUse(db::Session& session, const std::string& felhkod) {
    if (felhkod.empty())
        return;
    db::SessionTransaction transaction(session);
    reg::DeleteRows(session, "felhanyag", db::filterEquals("Felhkod", felhkod));
    reg::DeleteStockMovements(session, felhkod, false);
    transaction.Commit();
}

} // namespace ops
