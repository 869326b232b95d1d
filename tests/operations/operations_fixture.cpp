#include "operations_fixture.h"

#include "support/table_rows.h"

#include <QFontMetrics>
#include <QHeaderView>

namespace opstest {

void AddRow(db::Session& session, const std::string& table,
            const std::function<void(db::TTable&)>& fill) {
    db::TTable t(session);
    t.SetTableName(table);
    t.Open();
    t.Append();
    fill(t);
    t.Post();
}

void AddField(db::Session& session, const std::string& parckod, double area,
              const std::string& agazat, int parcsor) {
    AddRow(session, "parcellak", [&](db::TTable& t) {
        t.FieldByName("Parckod").SetAsString(parckod);
        t.FieldByName("Evj").SetAsInteger(2010);
        t.FieldByName("Parcsor").SetAsInteger(parcsor);
        t.FieldByName("Agazat").SetAsString(agazat);
        t.FieldByName("Ter").SetAsFloat(area);
        t.FieldByName("Aktiv").SetAsString("A");
    });
}

void AddFertiliser(db::Session& session, const std::string& kod, const std::string& name,
                   const std::string& unit) {
    AddRow(session, "Tapanyagok", [&](db::TTable& t) {
        t.FieldByName("Kod").SetAsString(kod);
        t.FieldByName("Nev").SetAsString(name);
        t.FieldByName("Mert").SetAsString(unit);
        t.FieldByName("Nit").SetAsFloat(34);
    });
}

void AddPesticide(db::Session& session, const std::string& kod, const std::string& name,
                  const std::string& unit) {
    AddRow(session, "Novenyvedok", [&](db::TTable& t) {
        t.FieldByName("Kod").SetAsString(kod);
        t.FieldByName("Nev").SetAsString(name);
        t.FieldByName("Mert").SetAsString(unit);
    });
}

void Buy(db::Session& session, const std::string& kod, double quantity, sys::DateTime day) {
    AddRow(session, "Raktarmozgas", [&](db::TTable& t) {
        t.FieldByName("Anyagkod").SetAsString(kod);
        t.FieldByName("Menny").SetAsFloat(quantity);
        t.FieldByName("Datum").SetAsDateTime(day);
    });
}

void AddPendingUse(db::Session& session, const std::string& felhkod, const std::string& field,
                   const std::string& anyagkod, double withdrawal, bool planned) {
    AddRow(session, planned ? "Tervfanyag" : "felhanyag", [&](db::TTable& t) {
        t.FieldByName("Felhkod").SetAsString(felhkod);
        t.FieldByName("Tablakod").SetAsString(field);
        t.FieldByName("Anyagkod").SetAsString(anyagkod);
    });
    AddRow(session, planned ? "Tervrmozgas" : "Raktarmozgas", [&](db::TTable& t) {
        t.FieldByName("Anyagkod").SetAsString(anyagkod);
        t.FieldByName("Menny").SetAsFloat(withdrawal);
        t.FieldByName("Felhanykod").SetAsString(felhkod);
    });
}

void AddPendingWorker(db::Session& session, int szemkod, bool planned) {
    AddRow(session, planned ? "Tervmunkas" : "Munkavegz",
           [&](db::TTable& t) { t.FieldByName("Szemkod").SetAsInteger(szemkod); });
}

namespace {
std::string Needs(const QString& text, int needed, int width) {
    return text.toStdString() + " (" + std::to_string(needed) + " > " + std::to_string(width) + ")";
}
} // namespace

std::vector<std::string> CutGridTexts(ui::TDBGrid& grid) {
    constexpr int headerMargin = 12; // the header's text margins and section border
    constexpr int cellMargin = 8;
    QFont bold = grid.horizontalHeader()->font();
    bold.setBold(true);
    const QFontMetrics header(bold);
    const QFontMetrics cells(grid.font());
    std::vector<std::string> cut;
    auto* model = grid.model();
    for (int c = 0; c < model->columnCount(); ++c) {
        if (grid.isColumnHidden(c))
            continue;
        const int width = grid.columnWidth(c);
        const QString title = model->headerData(c, Qt::Horizontal).toString();
        if (header.horizontalAdvance(title) + headerMargin > width)
            cut.push_back(Needs(title, header.horizontalAdvance(title) + headerMargin, width));
        for (int r = 0; r < model->rowCount(); ++r) {
            const QString text = model->data(model->index(r, c)).toString();
            if (cells.horizontalAdvance(text) + cellMargin > width)
                cut.push_back(Needs(text, cells.horizontalAdvance(text) + cellMargin, width));
        }
    }
    return cut;
}

OperationsTest::OperationsTest() {
    core::CreateFreshDatabase(session);
    numbers = std::make_unique<ui::OwnedForm<TNumericInt>>(NumericInt, session);
}

OperationsTest::~OperationsTest() {
    numbers.reset();
    app.reset();
}

std::vector<std::string> OperationsTest::Column(const std::string& table, const std::string& field,
                                                const std::string& filter) {
    return testenv::ColumnValues(session, table, field, filter);
}

int OperationsTest::Count(const std::string& table, const std::string& filter) {
    return testenv::RowCount(session, table, filter);
}

} // namespace opstest
