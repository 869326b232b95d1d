// Table cursors as the forms use them: opening by name, navigation, fields and their
// conversions, writing, live filters, orders, several cursors, master-detail, events.

#include "platform/db/table.h"
#include "platform/sys/conversion_error.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

using namespace db;

namespace {

FieldDef field(const std::string& name, FieldType type, int size = 0, int decimals = 0) {
    return {name, type, storedSize(type, size), decimals};
}

// A field table keyed on its code, with a year, serial, sector, area and active flag.
void makeParcellak(Session& session) {
    TableSchema schema{{field("Parckod", FieldType::Alpha, 6), field("Evj", FieldType::Long),
                        field("Parcsor", FieldType::Long), field("Agazat", FieldType::Alpha, 30),
                        field("Ter", FieldType::Number), field("Aktiv", FieldType::Alpha, 1),
                        field("Datum", FieldType::Date), field("Megjegyzés", FieldType::Alpha, 10),
                        field("025", FieldType::Number)},
                       1};
    session.create("parcellak", schema, {{"AgazatInd", {"Agazat"}, true, false, false}});
}

void addParcel(TTable& t, const std::string& code, int year, int serial, const std::string& sector,
               double area, const std::string& active) {
    t.Append();
    t.FieldByName("Parckod").SetAsString(code);
    t.FieldByName("Evj").SetAsInteger(year);
    t.FieldByName("Parcsor").SetAsInteger(serial);
    t.FieldByName("Agazat").SetAsString(sector);
    t.FieldByName("Ter").SetAsFloat(area);
    t.FieldByName("Aktiv").SetAsString(active);
    t.Post();
}

// Six fields over two years, four of them active.
void fillParcellak(Session& session) {
    makeParcellak(session);
    TTable t(session);
    t.SetTableName("Parcellak.db");
    t.Open();
    addParcel(t, "100000", 2009, 2, "őszi búza", 12000, "A");
    addParcel(t, "100001", 2009, 1, "kukorica", 8000, "A");
    addParcel(t, "100002", 2010, 1, "Árpa", 5000, "N");
    addParcel(t, "100003", 2010, 2, "napraforgó", 7000, "A");
    addParcel(t, "100004", 2010, 3, "Zab", 3000, "N");
    addParcel(t, "100005", 2008, 1, "árpa", 4000, "A");
}

std::vector<std::string> column(TDataSet& t, const std::string& name) {
    std::vector<std::string> out;
    for (t.First(); !t.Eof(); t.Next())
        out.push_back(t.FieldByName(name).AsString());
    return out;
}

} // namespace

TEST(TableCursor, OpensByNameInAnyCaseAndSwitchesToATwin) {
    Session session;
    fillParcellak(session);
    std::filesystem::copy_file("parcellak.db", "Tervparcellak.DB");
    std::filesystem::copy_file("parcellak.px", "Tervparcellak.PX");

    TTable t(session);
    for (const char* name : {"parcellak", "PARCELLAK.db", "Parcellak.DB"}) {
        t.SetTableName(name);
        t.Open();
        EXPECT_TRUE(t.Active());
        EXPECT_EQ(t.RecordCount(), 6) << name;
        EXPECT_THROW(t.SetTableName("other"), DatabaseError); // only while closed
        t.Close();
    }
    t.SetTableName("tervparcellak");
    t.Open();
    t.First();
    t.Delete();
    EXPECT_EQ(t.RecordCount(), 5);
    t.Close();
    t.SetTableName("parcellak");
    t.Open();
    EXPECT_EQ(t.RecordCount(), 6); // the twin changed, not the table

    TTable missing(session);
    missing.SetTableName("nincsilyen");
    EXPECT_THROW(missing.Open(), DatabaseError);
    EXPECT_FALSE(missing.Active());
}

TEST(TableCursor, NavigatesAndFindsRows) {
    Session session;
    fillParcellak(session);
    TTable t(session);
    t.SetTableName("parcellak");
    t.Open();
    EXPECT_TRUE(t.Bof());
    EXPECT_EQ(t.FieldByName("Parckod").AsString(), "100000");
    t.Next();
    t.Next();
    EXPECT_EQ(t.RecNo(), 3);
    t.Prior();
    EXPECT_EQ(t.FieldByName("Parckod").AsString(), "100001");
    EXPECT_EQ(t.MoveBy(10), 4);
    EXPECT_EQ(t.FieldByName("Parckod").AsString(), "100005");
    EXPECT_TRUE(t.Eof());
    t.Next();
    EXPECT_TRUE(t.Eof());
    t.First();
    EXPECT_EQ(t.MoveBy(-1), 0);
    EXPECT_TRUE(t.Bof());
    t.Last();
    EXPECT_TRUE(t.Eof());
    EXPECT_FALSE(t.Bof());

    // Bookmarks survive other rows' changes.
    t.First();
    t.Next();
    const TBookmark mark = t.GetBookmark();
    t.First();
    t.Delete();
    t.GotoBookmark(mark);
    EXPECT_EQ(t.FieldByName("Parckod").AsString(), "100001");
    t.Delete();
    EXPECT_FALSE(t.BookmarkValid(mark));
    EXPECT_THROW(t.GotoBookmark(mark), DatabaseError);

    EXPECT_TRUE(t.Locate("Evj;Parcsor", {std::string("2010"), 3}));
    EXPECT_EQ(t.FieldByName("Parckod").AsString(), "100004");
    EXPECT_TRUE(t.Locate("Agazat", {std::string("ÁRPA")}, {.caseInsensitive = true}));
    EXPECT_EQ(t.FieldByName("Parckod").AsString(), "100002");
    EXPECT_TRUE(t.Locate("Agazat", {std::string("nap")}, {.partialKey = true}));
    EXPECT_EQ(t.FieldByName("Parckod").AsString(), "100003");
    EXPECT_FALSE(t.Locate("Agazat", {std::string("rozs")}));
    EXPECT_EQ(t.FieldByName("Parckod").AsString(), "100003"); // unmoved

    EXPECT_TRUE(t.FindKey({std::string("100004")}));
    EXPECT_EQ(t.FieldByName("Agazat").AsString(), "Zab");
    EXPECT_FALSE(t.FindKey({std::string("999999")}));
    t.SetIndexFieldNames("Evj;Parcsor");
    t.SetKey();
    t.FieldByName("Evj").SetAsInteger(2010);
    t.FieldByName("Parcsor").SetAsInteger(2);
    EXPECT_TRUE(t.GotoKey());
    EXPECT_EQ(t.FieldByName("Parckod").AsString(), "100003");
    EXPECT_TRUE(t.FindKey({2008}));
    EXPECT_EQ(t.FieldByName("Parckod").AsString(), "100005");
}

TEST(TableCursor, FieldsConvertTextAsTheFormsTypeIt) {
    Session session;
    makeParcellak(session);
    TTable t(session);
    t.SetTableName("parcellak");
    t.Open();
    t.Insert();
    t.FieldByName("Parckod").SetAsString("100000");
    t.FieldByName("Evj").SetAsString("2009");
    t.FieldByName("Ter").SetAsString("12,5");
    t.FieldByName("Datum").SetAsString("2010. 03. 05.");
    t.FieldByName("megjegyzés").SetAsString("árvíztűrő tükörfúrógép");
    t.FieldByName("025").SetAsString("0,25");
    t.FieldByName("Agazat").SetAsString("");
    EXPECT_THROW(t.FieldByName("Evj").SetAsString("2009a"), sys::ConversionError);
    try {
        t.FieldByName("Ter").SetAsString("tizenkettő");
        FAIL();
    } catch (const sys::ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("tizenkettő"), std::string::npos);
    }
    t.Post();
    EXPECT_EQ(t.FieldByName("Ter").AsFloat(), 12.5);
    EXPECT_EQ(t.FieldByName("Ter").AsString(), "12,5");
    EXPECT_EQ(t.FieldByName("Evj").AsInteger(), 2009);
    EXPECT_EQ(t.FieldByName("Datum").AsString(), "2010. 03. 05.");
    EXPECT_EQ(t.FieldByName("Megjegyzés").AsString(), "árvíztűrő "); // cut to 10 characters
    EXPECT_EQ(t.FieldByName("025").AsFloat(), 0.25);
    EXPECT_TRUE(t.FieldByName("Agazat").IsNull());
    EXPECT_TRUE(t.FieldByName("Parcsor").IsNull());
    EXPECT_EQ(t.FieldByName("Parcsor").AsInteger(), 0);
    EXPECT_THROW(t.FieldByName("Nincs"), DatabaseError);
    EXPECT_THROW(t.FieldByName("Evj").SetAsInteger(1), DatabaseError); // not editing
}

TEST(TableCursor, WritingStatesAndCounters) {
    Session session;
    session.create("Kodok",
                   {{field("Kod", FieldType::AutoInc), field("Nev", FieldType::Alpha, 20)}, 1});
    TTable t(session);
    t.SetTableName("Kodok");
    t.Open();
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_THROW(t.Delete(), DatabaseError);
    t.Edit(); // on an empty table: a new row
    EXPECT_EQ(t.State(), DataSetState::Insert);
    t.FieldByName("Nev").SetAsString("első");
    t.Post();
    EXPECT_EQ(t.FieldByName("Kod").AsInteger(), 1);
    t.Append();
    t.FieldByName("Nev").SetAsString("második");
    t.Post();
    EXPECT_EQ(t.FieldByName("Kod").AsInteger(), 2); // readable right after the post

    t.Edit();
    t.FieldByName("Nev").SetAsString("elvetve");
    t.Cancel();
    EXPECT_EQ(t.FieldByName("Nev").AsString(), "második");

    t.Insert();
    t.FieldByName("Nev").SetAsString("harmadik");
    t.Next(); // leaving a changed row posts it
    EXPECT_EQ(t.RecordCount(), 3);

    // Deleting every row leaves the counter where it was.
    t.First();
    while (!t.Eof())
        t.Delete();
    EXPECT_TRUE(t.IsEmpty());
    t.Append();
    t.FieldByName("Nev").SetAsString("negyedik");
    t.Post();
    EXPECT_EQ(t.FieldByName("Kod").AsInteger(), 4);

    t.Close();
    t.EmptyTable();
    t.Open();
    EXPECT_TRUE(t.IsEmpty());
    t.Append();
    t.Post();
    EXPECT_EQ(t.FieldByName("Kod").AsInteger(), 5);
    t.FlushBuffers();
}

TEST(TableCursor, LiveFiltersFollowPostsAndDeletes) {
    Session session;
    fillParcellak(session);
    TTable t(session);
    t.SetTableName("parcellak");
    t.SetFilter("Aktiv = 'A'");
    t.SetFiltered(true);
    t.Open();
    EXPECT_EQ(t.RecordCount(), 4);

    // Edit the first row until the view is empty: each post moves a row out.
    int rounds = 0;
    while (!t.IsEmpty() && rounds++ < 10) {
        t.First();
        t.Edit();
        t.FieldByName("Aktiv").SetAsString("N");
        t.Post();
    }
    EXPECT_EQ(rounds, 4);

    // A posted row that leaves the view puts the cursor on the next row.
    t.SetFilter("Aktiv = 'N'");
    EXPECT_EQ(t.RecordCount(), 6);
    t.First();
    t.Next();
    const std::string third = [&] {
        t.Next();
        const auto code = t.FieldByName("Parckod").AsString();
        t.Prior();
        return code;
    }();
    t.Edit();
    t.FieldByName("Aktiv").SetAsString("A");
    t.Post();
    EXPECT_EQ(t.FieldByName("Parckod").AsString(), third);

    // Delete the current row until none is left, under a filter naming some codes.
    t.SetFilter("Aktiv = 'N' And (Parckod = '100002' Or Parckod = '100004')");
    EXPECT_EQ(t.RecordCount(), 2);
    t.First();
    while (!t.Eof())
        t.Delete();
    t.SetFiltered(false);
    EXPECT_EQ(column(t, "Parckod"),
              (std::vector<std::string>{"100000", "100001", "100003", "100005"}));

    // OnFilterRecord reads the candidate row's fields.
    t.OnFilterRecord = [](TDataSet& ds, bool& accept) {
        accept = ds.FieldByName("Ter").AsFloat() > 4500;
    };
    t.SetFilter("");
    t.SetFiltered(true);
    EXPECT_EQ(column(t, "Parckod"), (std::vector<std::string>{"100000", "100001", "100003"}));
    EXPECT_THROW(t.SetFilter("Aktiv = "), FilterError);
}

TEST(TableCursor, OrdersSwitchAtRunTime) {
    Session session;
    fillParcellak(session);
    TTable t(session);
    t.SetTableName("parcellak");
    t.SetIndexFieldNames("Evj;Parcsor");
    t.Open();
    EXPECT_EQ(column(t, "Parckod"), (std::vector<std::string>{"100005", "100001", "100000",
                                                              "100002", "100003", "100004"}));
    t.SetIndexName("agazatind"); // case-insensitive text order of the named index
    EXPECT_EQ(column(t, "Agazat"), (std::vector<std::string>{"Árpa", "árpa", "kukorica",
                                                             "napraforgó", "őszi búza", "Zab"}));
    t.SetIndexName("");
    EXPECT_EQ(column(t, "Parckod").front(), "100000");
    EXPECT_THROW(t.SetIndexName("NincsIlyen"), DatabaseError);
}

// Many rows share each value of the order: they come in the order's sequence, rows of
// one value in the order of the primary key, whichever order they were added in.
TEST(TableCursor, RowsOfOneOrderValueKeepThePrimaryKeyOrder) {
    Session session;
    makeParcellak(session);
    TTable t(session);
    t.SetTableName("parcellak");
    t.Open();
    constexpr std::size_t kRows = 300;
    std::vector<std::tuple<int, int, std::string>> expected;
    for (std::size_t n = 0; n < kRows; ++n) {
        const int i = static_cast<int>((n * 7919) % kRows); // not in key order
        const std::string code = std::to_string(100000 + i);
        const int year = 2008 + (i * 13) % 5;
        const int serial = 1 + (i * 31) % 3;
        addParcel(t, code, year, serial, i % 2 ? "árpa" : "Árpa", 1, "A");
        expected.emplace_back(year, serial, code);
    }
    std::sort(expected.begin(), expected.end());
    t.SetIndexFieldNames("Evj;Parcsor");
    std::vector<std::tuple<int, int, std::string>> seen;
    for (t.First(); !t.Eof(); t.Next())
        seen.emplace_back(t.FieldByName("Evj").AsInteger(), t.FieldByName("Parcsor").AsInteger(),
                          t.FieldByName("Parckod").AsString());
    EXPECT_EQ(seen, expected);
    t.SetIndexName("agazatind"); // "Árpa" and "árpa" are one value here
    const auto codes = column(t, "Parckod");
    EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()));
    EXPECT_EQ(codes.size(), kRows);
}

TEST(TableCursor, TwoCursorsSeeEachOthersWrites) {
    Session session;
    fillParcellak(session);
    TTable a(session, "Table1"), b(session, "Table2");
    a.SetTableName("parcellak");
    b.SetTableName("PARCELLAK.DB");
    a.Open();
    b.Open();
    b.FindKey({std::string("100003")});
    a.FindKey({std::string("100003")});
    a.Edit();
    a.FieldByName("Agazat").SetAsString("szója");
    a.Post();
    EXPECT_EQ(b.FieldByName("Agazat").AsString(), "szója");
    addParcel(a, "100006", 2011, 1, "repce", 100, "A");
    EXPECT_EQ(b.RecordCount(), 7);
    b.Last();
    EXPECT_EQ(b.FieldByName("Parckod").AsString(), "100006");
    b.Delete();
    EXPECT_EQ(a.RecordCount(), 6);
}

TEST(TableCursor, DetailFollowsItsMaster) {
    Session session;
    fillParcellak(session);
    session.create("ElvMuv",
                   {{field("Muvkod", FieldType::Alpha, 6), field("Tablakod", FieldType::Alpha, 6),
                     field("Ter", FieldType::Number)},
                    1});
    TTable ops(session, "Table2");
    ops.SetTableName("ElvMuv");
    ops.Open();
    for (const auto& [code, field] : std::vector<std::pair<std::string, std::string>>{
             {"100000", "100001"}, {"100001", "100003"}, {"100002", "100001"}}) {
        ops.Append();
        ops.FieldByName("Muvkod").SetAsString(code);
        ops.FieldByName("Tablakod").SetAsString(field);
        ops.Post();
    }
    ops.Close();

    TTable fields(session);
    fields.SetTableName("parcellak");
    fields.Open();
    TDataSource source(&fields);
    ops.SetIndexFieldNames("Tablakod");
    ops.SetMasterSource(&source);
    ops.SetMasterFields("Parckod");
    ops.Open();
    EXPECT_TRUE(ops.IsEmpty()); // 100000 has no operations
    fields.Next();
    EXPECT_EQ(column(ops, "Muvkod"), (std::vector<std::string>{"100000", "100002"}));
    fields.FindKey({std::string("100003")});
    EXPECT_EQ(column(ops, "Muvkod"), (std::vector<std::string>{"100001"}));

    ops.Append(); // a new detail row takes its master's key
    ops.FieldByName("Muvkod").SetAsString("100003");
    ops.Post();
    EXPECT_EQ(ops.FieldByName("Tablakod").AsString(), "100003");
    EXPECT_EQ(ops.RecordCount(), 2);
    ops.Delete();

    ops.SetMasterSource(nullptr); // unlinked: every row
    EXPECT_EQ(ops.RecordCount(), 3);
    ops.SetMasterSource(&source);
    EXPECT_EQ(ops.RecordCount(), 1);

    // A loop with the master's controls held: the detail still follows every row, the
    // controls hear once at the end, and the master is back on its row.
    struct Control final : DataSetObserver {
        void dataSetEvent(TDataSet&, DataEvent event) override { events.push_back(event); }
        std::vector<DataEvent> events;
    } grid;
    fields.addObserver(&grid);
    std::vector<int> counts;
    {
        const ControlsHeld held(fields);
        for (fields.First(); !fields.Eof(); fields.Next())
            counts.push_back(ops.RecordCount());
    }
    fields.removeObserver(&grid);
    EXPECT_EQ(counts, (std::vector<int>{0, 2, 0, 1, 0, 0}));
    EXPECT_EQ(grid.events, std::vector<DataEvent>{DataEvent::RowsChanged});
    EXPECT_EQ(fields.FieldByName("Parckod").AsString(), "100003");
    EXPECT_EQ(column(ops, "Muvkod"), (std::vector<std::string>{"100001"}));
}

TEST(TableCursor, EventsAndCalculatedFields) {
    Session session;
    fillParcellak(session);
    TTable t(session);
    t.SetTableName("parcellak");
    std::vector<std::string> log;
    t.AfterOpen = [&](TDataSet&) { log.push_back("AfterOpen"); };
    t.BeforeClose = [&](TDataSet&) { log.push_back("BeforeClose"); };
    t.BeforePost = [&](TDataSet& ds) {
        log.push_back("BeforePost");
        ds.FieldByName("Aktiv").SetAsString("A"); // a last change before the write
    };
    t.AfterPost = [&](TDataSet&) { log.push_back("AfterPost"); };
    t.AfterDelete = [&](TDataSet&) { log.push_back("AfterDelete"); };
    t.AfterScroll = [&](TDataSet&) { log.push_back("AfterScroll"); };
    t.AddCalcField("Hektar", FieldType::Alpha, 6);
    int calculations = 0;
    t.OnCalcFields = [&](TDataSet& ds) {
        ++calculations;
        EXPECT_TRUE(ds.FieldByName("Hektar").IsNull()); // cleared before each calculation
        ds.FieldByName("Hektar").SetAsString(
            std::to_string(ds.FieldByName("Ter").AsFloat() / 10000));
    };
    t.Open();
    EXPECT_EQ(t.FieldByName("Hektar").AsString(), "1.2000"); // cut to its width
    t.Next();
    EXPECT_EQ(t.FieldByName("Hektar").AsString(), "0.8000");
    EXPECT_GE(calculations, 2);
    t.Edit();
    t.FieldByName("Aktiv").SetAsString("N");
    t.Post();
    EXPECT_EQ(t.FieldByName("Aktiv").AsString(), "A");
    t.Delete();
    t.Close();
    EXPECT_EQ(log,
              (std::vector<std::string>{"AfterOpen", "AfterScroll", "AfterScroll", "BeforePost",
                                        "AfterPost", "AfterDelete", "AfterScroll", "BeforeClose"}));
}

TEST(TableCursor, AddedColumnsKeepRowsAndNamedIndexes) {
    Session session;
    fillParcellak(session);
    auto shared = session.open("parcellak");
    shared->addFields({field("Hozam", FieldType::Number), field("Megj2", FieldType::Alpha, 40)});
    ASSERT_NE(shared->index("AgazatInd"), nullptr);
    EXPECT_EQ(shared->index("AgazatInd")->verify(), "");
    shared.reset();

    Session later; // a new process: the index files are checked at open
    TTable t(later);
    t.SetTableName("parcellak");
    t.SetIndexName("AgazatInd");
    t.Open();
    EXPECT_TRUE(later.log().empty());
    EXPECT_EQ(t.RecordCount(), 6);
    EXPECT_TRUE(t.FieldByName("Hozam").IsNull());
    t.First();
    t.Edit();
    t.FieldByName("Hozam").SetAsString("4,5");
    t.Post();
    EXPECT_EQ(t.FieldByName("Agazat").AsString(), "Árpa");
    EXPECT_EQ(t.FieldByName("Hozam").AsFloat(), 4.5);
}

TEST(TableCursor, ADetailOutlivesItsMaster) {
    Session session;
    fillParcellak(session);
    TTable detail(session, "Table2");
    {
        TTable master(session);
        master.SetTableName("parcellak");
        master.Open();
        TDataSource source(&master);
        detail.SetTableName("parcellak");
        detail.SetMasterSource(&source);
        detail.SetMasterFields("Parckod");
        detail.Open();
        EXPECT_EQ(detail.RecordCount(), 1);
    }
    EXPECT_EQ(detail.MasterSource(), nullptr);
    detail.Refresh();
    EXPECT_EQ(detail.RecordCount(), 1); // narrowed as it was until relinked
}

// An index is checked against its table when the session first opens the table; reopened
// unchanged, it is taken as it is; changed by anything else meanwhile, it is checked again.
TEST(TableCursor, IndexesAreCheckedAgainOnlyWhenTheirFilesChanged) {
    Session session;
    fillParcellak(session);
    std::filesystem::path xPath;
    {
        auto shared = session.open("parcellak");
        xPath = shared->index("AgazatInd")->xPath();
    }
    // Changes the first index record's first byte (the header's size is at offset 2).
    const auto damage = [&](char value) {
        const auto before = std::filesystem::last_write_time(xPath);
        std::fstream file(xPath, std::ios::in | std::ios::out | std::ios::binary);
        unsigned char size[2] = {};
        file.seekg(2);
        file.read(reinterpret_cast<char*>(size), 2);
        file.seekp(size[0] + size[1] * 256 + 6);
        file.put(value);
        file.close();
        return before;
    };

    // The same size and time as the session left them: not read again.
    const auto time = damage('\x7f');
    std::filesystem::last_write_time(xPath, time);
    session.open("parcellak").reset();
    EXPECT_TRUE(session.log().empty());

    // A later change by another program: checked, found wrong, rebuilt.
    damage('\x7e');
    std::filesystem::last_write_time(xPath, time + std::chrono::seconds(5));
    auto shared = session.open("parcellak");
    ASSERT_EQ(session.log().size(), 1u);
    EXPECT_EQ(shared->index("AgazatInd")->verify(), "");
}

// The check is also spared to the next session (the stamps are kept in a file of the
// folder), but only while the headers agree: a data file put back from an archive with
// the size and time of the newer one is checked, and so is every index when the file
// of stamps is damaged.
TEST(TableCursor, TheNextSessionChecksAnIndexOnlyWhenTheHeadersChanged) {
    std::filesystem::path xPath, dbPath;
    {
        Session first;
        fillParcellak(first);
        auto shared = first.open("parcellak");
        xPath = shared->index("AgazatInd")->xPath();
        dbPath = shared->file().path();
    }
    ASSERT_TRUE(std::filesystem::exists(Session::kIndexCheckFile));
    // Changes one byte of the first index record, keeping the file's size and time.
    const auto damageInPlace = [&](char value) {
        const auto time = std::filesystem::last_write_time(xPath);
        std::fstream file(xPath, std::ios::in | std::ios::out | std::ios::binary);
        unsigned char size[2] = {};
        file.seekg(2);
        file.read(reinterpret_cast<char*>(size), 2);
        file.seekp(size[0] + size[1] * 256 + 6);
        file.put(value);
        file.close();
        std::filesystem::last_write_time(xPath, time);
    };
    {
        damageInPlace('\x7f');
        Session second; // trusts what the first left: the damage goes unseen
        second.open("parcellak").reset();
        EXPECT_TRUE(second.log().empty());
        damageInPlace('\x7e');
        Session third;
        third.open("parcellak").reset();
        EXPECT_TRUE(third.log().empty());
    }
    {
        std::ofstream(Session::kIndexCheckFile, std::ios::app) << "x"; // its checksum fails
        Session fourth;
        auto shared = fourth.open("parcellak");
        ASSERT_EQ(fourth.log().size(), 1u);
        EXPECT_NE(fourth.log()[0].find("rebuilt"), std::string::npos) << fourth.log()[0];
    }
    // An archive's copy of the data file, then a change of a row in place (same size).
    std::filesystem::copy_file(dbPath, "archived.db");
    {
        Session fifth;
        TTable t(fifth);
        t.SetTableName("parcellak");
        t.Open();
        ASSERT_TRUE(t.Locate("Parckod", {Value(std::string("100003"))}));
        t.Edit();
        t.FieldByName("Agazat").SetAsString("zab");
        t.Post();
        EXPECT_TRUE(fifth.log().empty());
    }
    const auto sizeNow = std::filesystem::file_size(dbPath);
    const auto timeNow = std::filesystem::last_write_time(dbPath);
    std::filesystem::copy_file("archived.db", dbPath,
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_EQ(std::filesystem::file_size(dbPath), sizeNow);
    std::filesystem::last_write_time(dbPath, timeNow);
    Session sixth;
    auto shared = sixth.open("parcellak");
    ASSERT_EQ(sixth.log().size(), 1u);
    EXPECT_NE(sixth.log()[0].find("rebuilt"), std::string::npos) << sixth.log()[0];
    EXPECT_EQ(shared->index("AgazatInd")->verify(), "");
}
