#include "stock.h"

#include "platform/db/record_codec.h"
#include "platform/db/table.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"
#include "register/codes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <span>
#include <unordered_map>

namespace res {

namespace {

// Binary fractions leave a decimal quantity a few units of the last place off (1.1 *
// 1000 is 1100.0000000000002): rounding rules that cut or raise to a whole step treat a
// value this close to the step as on it.
constexpr double kTolerance = 1e-9;

double Slack(double value) {
    return kTolerance * std::max(1.0, std::fabs(value));
}

const std::vector<MaterialKindInfo>& Kinds() {
    static const std::vector<MaterialKindInfo> kinds = {
        {MaterialKind::Fertiliser,
         "Termésnövelő",
         "Tapanyagok",
         "Kod",
         100000,
         "000000",
         {"g", "kg", "t", "ml", "l", "m3"}},
        {MaterialKind::Pesticide,
         "Növényvédő",
         "Novenyvedok",
         "Kod",
         200000,
         "000001",
         {"g", "kg", "t", "ml", "l", "m3", "db"}},
        {MaterialKind::Seed,
         "Vetőmag",
         "Vetomagok",
         "Magkod",
         300000,
         "000002",
         {"g", "kg", "t", "db"}},
    };
    return kinds;
}

} // namespace

const MaterialKindInfo& KindInfo(MaterialKind kind) {
    return Kinds()[static_cast<std::size_t>(kind)];
}

const std::vector<MaterialKind>& MaterialKinds() {
    static const std::vector<MaterialKind> kinds = {MaterialKind::Fertiliser,
                                                    MaterialKind::Pesticide, MaterialKind::Seed};
    return kinds;
}

std::optional<MaterialKind> KindOfCode(std::string_view code) {
    std::optional<std::int32_t> number = sys::tryParseInt(sys::trim(code));
    if (!number || *number < 100000 || *number >= 400000)
        return std::nullopt;
    return static_cast<MaterialKind>(*number / 100000 - 1);
}

std::optional<double> UnitFactor(std::string_view unit) {
    if (unit.empty() || unit == "g" || unit == "ml" || unit == "db")
        return 1.0;
    if (unit == "kg" || unit == "l")
        return 1000.0;
    if (unit == "t" || unit == "m3")
        return 1000000.0;
    return std::nullopt;
}

std::optional<double> EntryUnitFactor(MaterialKind kind, std::string_view unit) {
    const std::vector<std::string>& units = KindInfo(kind).entryUnits;
    if (std::find(units.begin(), units.end(), unit) == units.end())
        return std::nullopt;
    return UnitFactor(unit);
}

std::optional<double> MaterialUnitFactor(MaterialKind kind, std::string_view unit) {
    return unit.empty() ? 1.0 : EntryUnitFactor(kind, unit);
}

double ShownStock(double stock) {
    double thousandths = stock * 1000;
    return std::floor(thousandths + Slack(thousandths)) * 0.001;
}

db::Domain MovementQuantity(std::string label) {
    return db::signedQuantity(std::move(label), 1e9);
}

double BookedQuantity(double baseQuantity, double materialFactor) {
    return std::ceil(baseQuantity - Slack(baseQuantity)) / materialFactor;
}

bool MovementAllowed(double baseQuantity, double baseStock) {
    double after = baseQuantity + baseStock;
    return after >= -Slack(std::max(std::fabs(baseQuantity), std::fabs(baseStock)));
}

bool ChangeAllowed(db::Session& session, std::string_view materialCode, sys::DateTime day,
                   double booked, double changed, double materialFactor) {
    const double difference = (changed - booked) * materialFactor;
    return difference >= 0 ||
           MovementAllowed(difference, StockOnDate(session, materialCode, day) * materialFactor);
}

namespace {

// Visits the ledger rows dated `day` or earlier (a NULL date is none) of one material, or
// of every material when `materialCode` is null: the code and the day are compared as
// stored bytes (texts padded with zeros, dates big-endian with the sign flipped, so that
// bytes compare in value order; NULL is all zeros), and only the visited rows' quantity
// is decoded. The rows of one material are read through a secondary index whose first
// field is the material code when the ledger has one (the program's own ledger has
// none), otherwise by a scan of raw records, which keeps a look-up over 100 000 rows to
// a few milliseconds. Either way the rows come in key order, so sums come out the same.
void ScanLedger(db::Session& session, std::string_view ledger, const std::string* materialCode,
                sys::DateTime day,
                const std::function<void(std::span<const std::uint8_t> code, double)>& visit) {
    std::shared_ptr<db::SharedTable> table = session.open(ledger);
    const db::TableFile& file = table->file();
    const db::RecordCodec& codec = file.codec();
    const int codeField = file.fieldIndex("Anyagkod");
    const int dateField = file.fieldIndex("Datum");
    const int quantityField = file.fieldIndex("Menny");
    std::vector<std::uint8_t> probe(static_cast<std::size_t>(codec.recordSize()), 0);
    if (materialCode)
        codec.encode(db::Value(*materialCode), codeField, probe);
    codec.encode(db::Date{sys::dateTimeToParadoxDays(sys::datePart(day))}, dateField, probe);
    const auto bytes = [&](std::span<const std::uint8_t> raw, int field) {
        const std::size_t at = static_cast<std::size_t>(codec.offset(field));
        return raw.subspan(at, static_cast<std::size_t>(codec.fields()[field].size));
    };
    const auto code = bytes(probe, codeField);
    const auto last = bytes(probe, dateField);
    const auto visitRow = [&](std::span<const std::uint8_t> raw) {
        const auto rowCode = bytes(raw, codeField);
        if (materialCode && !std::ranges::equal(rowCode, code))
            return true;
        const auto date = bytes(raw, dateField);
        if (std::ranges::all_of(date, [](std::uint8_t b) { return b == 0; }) ||
            std::ranges::lexicographical_compare(last, date))
            return true;
        const db::Value quantity = codec.decode(raw, quantityField);
        const auto* number = std::get_if<double>(&quantity);
        visit(rowCode, number ? *number : 0.0);
        return true;
    };
    if (materialCode)
        for (const auto& index : table->indexes())
            if (index->fieldNumbers().front() == codeField) {
                index->visitEqual(probe, 1, visitRow);
                return;
            }
    file.scan([&](db::RecordPos, std::span<const std::uint8_t> raw) { return visitRow(raw); });
}

} // namespace

double StockOnDate(db::Session& session, std::string_view materialCode, sys::DateTime day,
                   std::string_view ledger) {
    const std::string code(materialCode);
    double stock = 0;
    ScanLedger(session, ledger, &code, day,
               [&](std::span<const std::uint8_t>, double quantity) { stock += quantity; });
    return stock;
}

std::map<std::string, double> StocksOnDate(db::Session& session, sys::DateTime day,
                                           std::string_view ledger) {
    // Keyed by the code's stored bytes (six of them: no allocation per row), decoded once
    // per material afterwards.
    std::unordered_map<std::string, double> byBytes;
    ScanLedger(session, ledger, nullptr, day, [&](std::span<const std::uint8_t> code, double q) {
        byBytes[std::string(code.begin(), code.end())] += q;
    });
    std::shared_ptr<db::SharedTable> table = session.open(ledger);
    const db::RecordCodec& codec = table->file().codec();
    const int codeField = table->file().fieldIndex("Anyagkod");
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(codec.recordSize()), 0);
    std::map<std::string, double> stocks;
    for (const auto& [bytes, stock] : byBytes) {
        std::copy(bytes.begin(), bytes.end(), raw.begin() + codec.offset(codeField));
        const db::Value code = codec.decode(raw, codeField);
        const auto* text = std::get_if<std::string>(&code);
        if (text) // the date marker has no code
            stocks[*text] += stock;
    }
    return stocks;
}

void WriteDateMarker(db::Session& session, sys::DateTime day, std::string_view ledger) {
    db::TTable table(session, "DateMarker");
    table.SetTableName(std::string(ledger));
    table.SetFilter("Anyagkod = ''");
    table.SetFiltered(true);
    db::SessionTransaction transaction(session);
    table.Open();
    while (!table.IsEmpty())
        table.Delete();
    table.SetFiltered(false);
    table.Append();
    table.FieldByName("Datum").SetAsDateTime(sys::datePart(day));
    table.Post();
    transaction.Commit();
    table.Close();
}

void BookMovement(db::Session& session, std::string_view materialCode, sys::DateTime day,
                  double quantity) {
    db::TTable table(session, "Movement");
    table.SetTableName("Raktarmozgas");
    table.Open();
    table.Append();
    table.FieldByName("Anyagkod").SetAsString(materialCode);
    table.FieldByName("Datum").SetAsDateTime(sys::datePart(day));
    table.FieldByName("Menny").SetAsFloat(quantity);
    table.Post();
    table.Close();
}

std::string NextMaterialCode(db::Session& session, MaterialKind kind) {
    const MaterialKindInfo& info = KindInfo(kind);
    return reg::NextSequentialCode(session, {{info.masterTable, info.codeField}}, info.firstCode);
}

} // namespace res
