// Query data sets: statement lines, parameters, reuse, and the result used like a table.

#include "platform/db/query.h"
#include "platform/db/table.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace db;

namespace {

FieldDef field(const std::string& name, FieldType type, int size = 0) {
    return {name, type, storedSize(type, size), 0};
}

// Fields and their operations, each with an id.
void makeTables(Session& session) {
    auto fields = session.create(
        "Parcellak", {{field("Id", FieldType::Long), field("Parckod", FieldType::Alpha, 6),
                       field("Evj", FieldType::Long), field("Agazat", FieldType::Alpha, 20),
                       field("Datum", FieldType::Date)},
                      1});
    auto ops = session.create(
        "ElvMuv", {{field("Id", FieldType::Long), field("Tablakod", FieldType::Alpha, 6),
                    field("Ter", FieldType::Number), field("Kesz", FieldType::Logical)},
                   1});
    const char* sectors[] = {"búza", "kukorica", "árpa"};
    for (int i = 1; i <= 6; ++i) {
        Record r{i, "10000" + std::to_string(i), 2008 + i % 3, std::string(sectors[i % 3]),
                 Date{733000 + i}};
        fields->insert(r);
    }
    for (int i = 1; i <= 9; ++i) {
        Record r{i, "10000" + std::to_string(1 + i % 4), i * 0.5, i % 2 == 0};
        ops->insert(r);
    }
}

std::vector<std::string> column(TDataSet& ds, const std::string& name) {
    std::vector<std::string> out;
    for (ds.First(); !ds.Eof(); ds.Next())
        out.push_back(ds.FieldByName(name).AsString());
    return out;
}

} // namespace

TEST(QueryDataSet, ParametersAndReuse) {
    Session session;
    makeTables(session);
    TQuery q(session);
    q.SQL().Clear();
    q.SQL().Add("SELECT Parckod, Evj FROM parcellak.db");
    q.SQL().Add("WHERE Evj = :Ev AND Agazat <> :Kizart");
    q.SQL().Add("ORDER BY Parckod DESC");
    ASSERT_EQ(q.ParamCount(), 2);
    q.ParamByName("ev").SetAsInteger(2009);
    q.ParamByName("Kizart").SetAsString("árpa");
    q.Open();
    EXPECT_EQ(column(q, "Parckod"), (std::vector<std::string>{"100004", "100001"}));
    q.Close();
    EXPECT_TRUE(q.Prepared());
    q.ParamByName("Ev").SetAsString("2010");
    q.ParamByName("Kizart").SetAsString("búza");
    q.Open();
    EXPECT_EQ(q.RecordCount(), 2);
    EXPECT_THROW(q.ParamByName("Nincs"), DatabaseError);

    q.SQL().Add(""); // a change closes and unprepares the query
    EXPECT_FALSE(q.Active());
    EXPECT_FALSE(q.Prepared());
    EXPECT_EQ(q.ParamByName("Ev").AsValue(), Value(std::string("2010"))); // values kept by name

    TQuery dates(session, "Query2");
    dates.SQL().Add("SELECT Parckod FROM Parcellak WHERE Datum >= :Tol");
    dates.ParamByName("Tol").SetAsDate(sys::paradoxDaysToDateTime(733004));
    dates.Open();
    EXPECT_EQ(dates.RecordCount(), 3);
}

TEST(QueryDataSet, ResultsBehaveLikeAReadOnlyTable) {
    Session session;
    makeTables(session);
    TQuery q(session);
    q.SQL().Add("SELECT Parcellak.Id, ElvMuv.Id, Parckod, Ter FROM Parcellak, ElvMuv");
    q.SQL().Add("WHERE Parcellak.Parckod = ElvMuv.Tablakod ORDER BY ElvMuv.Id");
    q.Open();
    EXPECT_EQ(q.Fields(1).FieldName(), "Id_1");
    EXPECT_EQ(q.RecordCount(), 9);
    EXPECT_THROW(q.Edit(), DatabaseError);
    EXPECT_THROW(q.Delete(), DatabaseError);

    q.SetFilter("Id_1 = 5");
    q.SetFiltered(true);
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName("Parckod").AsString(), "100002");
    q.SetFiltered(false);

    q.Last();
    const TBookmark last = q.GetBookmark();
    q.First();
    q.GotoBookmark(last);
    EXPECT_EQ(q.FieldByName("Id_1").AsInteger(), 9);
    EXPECT_TRUE(q.Locate("Ter", {2.5}));
    EXPECT_EQ(q.FieldByName("Id_1").AsInteger(), 5);

    // A table follows a query as its master.
    TDataSource source(&q);
    TTable detail(session, "Table1");
    detail.SetTableName("Parcellak");
    detail.SetIndexFieldNames("Parckod");
    detail.SetMasterSource(&source);
    detail.SetMasterFields("Parckod");
    detail.Open();
    EXPECT_EQ(column(detail, "Id"), (std::vector<std::string>{"2"}));
}

TEST(QueryDataSet, CalculatedFieldsAndAlterTable) {
    Session session;
    makeTables(session);
    TQuery q(session);
    q.SQL().Add("SELECT Tablakod, SUM(Ter) AS Osszes FROM ElvMuv GROUP BY Tablakod");
    q.AddCalcField("Hektar", FieldType::Number);
    q.OnCalcFields = [](TDataSet& ds) {
        ds.FieldByName("Hektar").SetAsFloat(ds.FieldByName("Osszes").AsFloat() / 10000);
    };
    q.Open();
    q.First();
    EXPECT_DOUBLE_EQ(q.FieldByName("Hektar").AsFloat(), q.FieldByName("Osszes").AsFloat() / 10000);

    TQuery alter(session, "Query2");
    alter.SQL().Add("ALTER TABLE ElvMuv ADD Hozam NUMERIC(10,4)");
    alter.ExecSQL();
    TTable t(session);
    t.SetTableName("elvmuv");
    t.Open();
    ASSERT_NE(t.FindField("Hozam"), nullptr);
    EXPECT_EQ(t.FieldByName("Hozam").DataType(), FieldType::Bcd);
    EXPECT_EQ(t.RecordCount(), 9);
}

// Opening finds the columns alone; the rows come on first use, with the parameters and
// the filter as they were when the rows were first looked at.
TEST(QueryDataSet, RowsAreMadeOnFirstUse) {
    Session session;
    makeTables(session);
    TQuery q(session);
    q.SQL().Add("SELECT * FROM ElvMuv WHERE Ter > :Min");
    q.ParamByName("Min").SetAsFloat(2.0);
    q.Open();
    ASSERT_EQ(q.FieldCount(), 4);
    EXPECT_EQ(q.Fields(3).FieldName(), "Kesz");
    q.ParamByName("Min").SetAsFloat(4.0); // after opening: not used until reopened
    q.SetFilter("Kesz = True");
    q.SetFiltered(true);
    EXPECT_EQ(column(q, "Id"), (std::vector<std::string>{"6", "8"}));
    EXPECT_EQ(q.RecordCount(), 2);
    q.SetFiltered(false);
    EXPECT_EQ(q.RecordCount(), 5);
    q.Close();
    q.Open();
    EXPECT_EQ(q.RecordCount(), 1);
    EXPECT_FALSE(q.Eof());
    EXPECT_EQ(q.FieldByName("Id").AsInteger(), 9);
}

TEST(QueryDataSet, EmptyResultIsAtItsEndOnOpening) {
    Session session;
    makeTables(session);
    TQuery q(session);
    q.SQL().Add("SELECT Id FROM ElvMuv WHERE Ter > 100");
    q.Open();
    EXPECT_TRUE(q.Eof());
    EXPECT_TRUE(q.Bof());
    EXPECT_TRUE(q.IsEmpty());
}

// The columns of a query come from the tables' headers: a table whose blocks are damaged
// still tells its fields; its rows give the error when they are read.
TEST(QueryDataSet, ColumnsWithoutReadingABlock) {
    {
        Session session;
        makeTables(session);
    }
    const auto path = Session().tablePath("ElvMuv");
    const auto headerSize = TableFile::open(path)->header().headerSize;
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(headerSize); // block 1: its link to the next block
        file.write("\x77\x77\x77\x77", 4);
    }
    Session session;
    TQuery q(session);
    q.SQL().Add("SELECT * FROM ElvMuv");
    q.Open();
    EXPECT_EQ(q.FieldCount(), 4);
    EXPECT_EQ(session.layout("elvmuv.DB")->fields().size(), 4u);
    EXPECT_THROW(q.RecordCount(), std::exception);
}

// The rows are those of the moment the statement ran: changes to its tables afterwards
// (an edited field, a deleted record) show once the query runs again, not before.
TEST(QueryDataSet, RowsStayAsTheyRanWhileTheirTablesChange) {
    Session session;
    makeTables(session);
    TQuery q(session);
    q.SQL().Add("SELECT p.Parckod, p.Agazat, e.Id, e.Ter, e.Kesz");
    q.SQL().Add("FROM Parcellak p LEFT JOIN ElvMuv e ON e.Tablakod = p.Parckod");
    q.SQL().Add("ORDER BY p.Agazat, e.Id");
    q.Open();
    const auto rows = [&] {
        std::vector<std::string> out;
        for (q.First(); !q.Eof(); q.Next()) {
            std::string row;
            for (int f = 0; f < q.FieldCount(); ++f)
                row += (q.Fields(f).IsNull() ? "-" : q.Fields(f).AsString()) + "|";
            out.push_back(row);
        }
        return out;
    };
    const auto before = rows();
    ASSERT_EQ(before.size(), 11u); // 9 operations, 2 fields without any
    EXPECT_EQ(before.front(), "100005|árpa|-|-|-|");
    EXPECT_EQ(before[1].substr(0, 15), "100002|árpa|1|"); // á: two bytes

    TTable ops(session);
    ops.SetTableName("ElvMuv");
    ops.Open();
    ops.Edit();
    ops.FieldByName("Ter").SetAsFloat(99);
    ops.Post();
    ops.Last();
    ops.Delete();
    TTable fields(session);
    fields.SetTableName("Parcellak");
    fields.Open();
    fields.Edit();
    fields.FieldByName("Agazat").SetAsString("zab");
    fields.Post();
    EXPECT_EQ(rows(), before);

    q.Close();
    q.Open();
    const auto after = rows();
    EXPECT_EQ(after.size(), 10u);
    EXPECT_NE(after, before);

    // A text filling its whole field, and accented letters, come back as stored.
    auto notes = session.create(
        "Jegyzet", {{field("Id", FieldType::Long), field("Szoveg", FieldType::Alpha, 255)}, 1});
    const std::string full(255, 'x');
    Record note{1, full};
    notes->insert(note);
    note = {2, std::string("Őszi árpa, tűzőgép")};
    notes->insert(note);
    TQuery texts(session, "Query2");
    texts.SQL().Add("SELECT Szoveg FROM Jegyzet ORDER BY Id DESC");
    texts.Open();
    EXPECT_EQ(column(texts, "Szoveg"), (std::vector<std::string>{"Őszi árpa, tűzőgép", full}));
}
