#include "material_posting.h"

#include "operation_records.h"
#include "platform/db/filter.h"
#include "platform/db/table.h"
#include "platform/sys/numbers.h"
#include "register/codes.h"

#include <algorithm>
#include <cmath>

namespace ops {

namespace {

bool OneOf(const std::string& unit, std::initializer_list<const char*> units) {
    return std::any_of(units.begin(), units.end(), [&](const char* u) { return unit == u; });
}

} // namespace

void AppendUseRow(db::TTable& row, const MaterialUse& use, const std::string& code,
                  const std::string& parckod, std::optional<double> fogya) {
    row.Append();
    row.FieldByName("Felhkod").SetAsString(code);
    if (!use.muvkod.empty())
        row.FieldByName("Muvkod").SetAsString(use.muvkod);
    row.FieldByName("Anyagkod").SetAsString(use.materialCode);
    row.FieldByName("Anyagtip").SetAsString(res::KindInfo(use.kind).useType);
    row.FieldByName("Tablakod").SetAsString(parckod);
    row.FieldByName("Menny").SetAsFloat(use.dose);
    row.FieldByName("Mert").SetAsString(use.doseUnit);
    if (use.betido)
        row.FieldByName("Betido").SetAsDateTime(*use.betido);
    if (use.felelos)
        row.FieldByName("Felelos").SetAsString(*use.felelos);
    if (use.kind == res::MaterialKind::Fertiliser) {
        row.FieldByName("Mutr").SetAsBoolean(use.mutr);
        row.FieldByName("Egyebtr").SetAsBoolean(use.egyebtr);
        row.FieldByName("Szervestr").SetAsBoolean(use.szervestr);
        row.FieldByName("Higtr").SetAsBoolean(use.higtr);
    }
    if (fogya)
        row.FieldByName("Fogya").SetAsFloat(*fogya);
    if (use.vido)
        row.FieldByName("Vido").SetAsString(*use.vido);
    if (use.permetle)
        row.FieldByName("Permetle").SetAsString(sys::floatToText(*use.permetle));
    if (use.sorsz)
        row.FieldByName("Sorsz").SetAsInteger(*use.sorsz);
    if (use.csira)
        row.FieldByName("Csira").SetAsString(*use.csira);
    row.Post();
}

void AppendWithdrawal(db::TTable& stock, const std::string& materialCode,
                      const std::string& felhkod, double menny, std::optional<sys::DateTime> day) {
    stock.Append();
    stock.FieldByName("Menny").SetAsFloat(menny);
    stock.FieldByName("Anyagkod").SetAsString(materialCode);
    stock.FieldByName("Felhanykod").SetAsString(felhkod);
    if (day)
        stock.FieldByName("Datum").SetAsDateTime(*day);
    stock.Post();
}

double WithdrawalQuantity(double base, double materialFactor) {
    // Taken to 1e-6 first, so that a binary hair above a thousandth is not a thousandth more.
    const double thousandths = std::round(-base * 1000 * 1e6) / 1e6;
    return std::ceil(thousandths) * 0.001 / materialFactor;
}

std::optional<double> DoseUnitFactor(res::MaterialKind kind, const std::string& unit) {
    switch (kind) {
    case res::MaterialKind::Pesticide:
        return res::UnitFactor(unit).value_or(1);
    case res::MaterialKind::Seed:
        if (!OneOf(unit, {"g", "db", "kg", "t"}))
            return std::nullopt;
        return res::UnitFactor(unit);
    case res::MaterialKind::Fertiliser:
        break;
    }
    return res::UnitFactor(unit);
}

std::optional<double> MaterialFactor(res::MaterialKind kind, const std::string& unit) {
    switch (kind) {
    case res::MaterialKind::Pesticide:
        return res::UnitFactor(unit).value_or(1);
    case res::MaterialKind::Seed:
        return OneOf(unit, {"kg", "t"}) ? *res::UnitFactor(unit) : 1.0;
    case res::MaterialKind::Fertiliser:
        break;
    }
    if (!OneOf(unit, {"g", "ml", "kg", "l", "t", "m3"}))
        return std::nullopt;
    return res::UnitFactor(unit);
}

double NeededBase(const MaterialUse& use, double operationArea) {
    return use.dose * DoseUnitFactor(use.kind, use.doseUnit).value_or(1) * operationArea * 0.0001;
}

double AvailableBase(db::Session& session, const MaterialUse& use, double shownStock,
                     bool planned) {
    const double factor = MaterialFactor(use.kind, use.materialUnit).value_or(1);
    db::TTable pending(session, "Pending");
    pending.SetTableName(TablesFor(planned).stock);
    pending.SetFilter("Datum = NULL AND Anyagkod = " + db::quoteFilterText(use.materialCode));
    pending.SetFiltered(true);
    pending.Open();
    double booked = 0;
    for (pending.First(); !pending.Eof(); pending.Next())
        booked += pending.FieldByName("Menny").AsFloat();
    return (res::ShownStock(shownStock) + booked) * factor;
}

std::string NextUseCode(db::Session& session, bool planned) {
    return reg::NextSequentialCode(session, {{TablesFor(planned).uses, "Felhkod"}});
}

std::vector<std::string> PostMaterialUse(db::Session& session, const MaterialUse& use,
                                         const std::vector<UseField>& fields, double operationArea,
                                         bool stockKeeping, bool planned) {
    const OperationTables& tables = TablesFor(planned);
    const double materialFactor = MaterialFactor(use.kind, use.materialUnit).value_or(1);
    const double needed = NeededBase(use, operationArea);

    db::SessionTransaction transaction(session);
    db::TTable uses(session, "Uses");
    uses.SetTableName(tables.uses);
    uses.Open();
    db::TTable stock(session, "Stock");
    stock.SetTableName(tables.stock);
    if (stockKeeping)
        stock.Open();

    std::vector<std::string> codes;
    std::int64_t code = sys::parseInt(NextUseCode(session, planned));
    for (const UseField& field : fields) {
        const std::string text = sys::intToText(code++);
        codes.push_back(text);
        const std::optional<double> fogya = use.kind == res::MaterialKind::Fertiliser
                                                ? std::nullopt
                                                : std::optional<double>(needed / materialFactor);
        AppendUseRow(uses, use, text, field.parckod, fogya);
        if (!stockKeeping)
            continue;
        // Each field's share: of the total given, by area, or of its own dose.
        const double share = operationArea > 0 ? field.area / operationArea : 0;
        const double base = use.totalBase ? *use.totalBase * share : NeededBase(use, field.area);
        AppendWithdrawal(stock, use.materialCode, text, WithdrawalQuantity(base, materialFactor),
                         std::nullopt);
    }
    uses.FlushBuffers();
    if (stockKeeping)
        stock.FlushBuffers();
    transaction.Commit();
    return codes;
}

std::string NutrientPercentText(const std::string& n, const std::string& p, const std::string& k) {
    return "X" + n + ";" + p + ";" + k + ";";
}

} // namespace ops
