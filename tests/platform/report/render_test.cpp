// Reports over table, query and data-set connections, read back from the page model:
// rows, groups and totals, page breaks with repeated headers and page numbers,
// master-detail bands, field aliases, and what the data sets (and a grid on them) look like
// afterwards.

#include "platform/report/render.h"
#include "platform/sys/datetime.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/form.h"
#include "report_test_support.h"

#include <QItemSelectionModel>
#include <QScrollBar>

namespace {

using namespace reporttest;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::string grouped(int value) {
    const std::string digits = std::to_string(value);
    return digits.size() > 3
               ? digits.substr(0, digits.size() - 3) + " " + digits.substr(digits.size() - 3)
               : digits;
}

class TableReport : public ReportTest {
protected:
    TableReport() {
        std::vector<Parcel> parcels;
        for (int id = 1; id <= 120; ++id)
            parcels.push_back(
                {id, std::to_string(id), "000001", id <= 50 ? "búza" : "kukorica", id * 10.0});
        makeParcels(session, parcels);
        table.SetTableName("tablak");
    }
    db::TTable table{session, "Table1"};
    TRvTableConnection connection{&owner, "RvTablakConnection", &table};
};

const char* const kGroupedLayout = R"rav(farmreport 1
# parcels by sector, with sector and grand totals
page size=A4 margin=15 font=9
pageheader
text "Parcellák" bold
text "Oldal: {#page} / {#pages}" align=right x=120 width=60 sameline
line
pagefooter
text "Nyomtatva: {#date}"
band Parcellak connection=RvTablakConnection
column Helysz caption="Helyrajzi szám" width=30
column Agazat caption="Ágazat" width=40
column Ter caption="Terület (m²)" width=30 align=right format="#,##0"
group Agazat
grouphead "{Agazat} ágazat" bold
groupfoot "Összesen:"
grouptotal Agazat count
grouptotal Ter sum
foot "Mindösszesen:"
total Ter sum
)rav";

TEST_F(TableReport, RowsGroupsTotalsAndPageBreaksWithRepeatedHeaders) {
    const report::Document& document = run(kGroupedLayout);
    const int pages = static_cast<int>(document.pages.size());
    ASSERT_EQ(pages, 3);
    std::vector<std::string> body;
    for (int p = 0; p < pages; ++p) {
        const std::vector<std::string> page = lines(document, p);
        ASSERT_GE(page.size(), 4u);
        EXPECT_EQ(page[0], "Parcellák | Oldal: " + std::to_string(p + 1) + " / 3");
        EXPECT_EQ(page[1], "Helyrajzi szám | Ágazat | Terület (m²)");
        EXPECT_EQ(page.back(), "Nyomtatva: " + sys::dateToText(sys::today()));
        body.insert(body.end(), page.begin() + 2, page.end() - 1);
        // The rules under the header and under the headings; on the last page the rule
        // above the grand total too.
        EXPECT_EQ(document.pages[static_cast<std::size_t>(p)].lines.size(), p == 2 ? 3u : 2u);
    }
    std::vector<std::string> expected{"búza ágazat"};
    for (int id = 1; id <= 120; ++id) {
        if (id == 51) {
            expected.push_back("Összesen: | 50 | 12 750");
            expected.push_back("kukorica ágazat");
        }
        const std::string sector = id <= 50 ? "búza" : "kukorica";
        expected.push_back(std::to_string(id) + " | " + sector + " | " + grouped(id * 10));
    }
    expected.push_back("Összesen: | 70 | 59 850");
    expected.push_back("Mindösszesen: | 72 600");
    EXPECT_THAT(body, ElementsAreArray(expected));
}

TEST_F(TableReport, PagesStayInsideTheMarginsAndRowsDoNotOverlap) {
    const report::Document& document = run(kGroupedLayout);
    EXPECT_EQ(document.width, 210);
    EXPECT_EQ(document.height, 297);
    for (const report::Page& page : document.pages) {
        double lastTop = -1;
        for (const report::TextItem& item : page.texts) {
            EXPECT_GE(item.x, 15);
            EXPECT_LE(item.x + item.width, 195 + 1e-9);
            EXPECT_GE(item.y, 15);
            EXPECT_LE(item.y + item.height, 282 + 1e-9);
            EXPECT_GE(item.y + 1e-9, lastTop - 10); // sameline texts share a top
            lastTop = std::max(lastTop, item.y);
        }
    }
}

TEST_F(TableReport, ClosedDataSetIsOpenedForTheReportAndClosedAgain) {
    ASSERT_FALSE(table.Active());
    run(kGroupedLayout);
    EXPECT_FALSE(table.Active());
    // An open data set stays open; it is read from its first row whatever its position,
    // and goes back to the row it was on.
    table.Open();
    table.Last();
    table.Prior();
    run(kGroupedLayout);
    EXPECT_TRUE(table.Active());
    EXPECT_FALSE(table.Eof());
    EXPECT_EQ(table.RecNo(), 119);
    EXPECT_EQ(report::DocumentLines(output.documents[0]),
              report::DocumentLines(output.documents[1]));
}

TEST_F(TableReport, GridOnTheDataSetIsNotMovedByTheRowsTheReportReads) {
    ui::TForm form;
    form.SetClientSize(400, 300);
    auto& grid = *new ui::TDBGrid(&form);
    grid.SetBounds(0, 0, 400, 300);
    db::TDataSource source(&table);
    grid.SetDataSource(&source);
    table.Open();
    table.MoveBy(7);
    form.Show();
    int moves = 0, scrolls = 0;
    QObject::connect(grid.selectionModel(), &QItemSelectionModel::currentChanged, [&] { ++moves; });
    QObject::connect(grid.verticalScrollBar(), &QScrollBar::valueChanged, [&] { ++scrolls; });
    run(kGroupedLayout);
    EXPECT_EQ(moves, 0);
    EXPECT_EQ(scrolls, 0);
    EXPECT_EQ(grid.currentIndex().row(), 7);
    EXPECT_EQ(table.RecNo(), 8);
    form.Hide();
}

TEST_F(TableReport, GroupOnANewPageAndAnEmptyBand) {
    table.SetFilter("Ter > 470");
    table.SetFiltered(true);
    TRvCustomConnection empty(&owner, "RvUres");
    empty.OnGetCols = [](TRvCustomConnection* c) { c->DefineColumn("Nev", 0, 50, "", ""); };
    const report::Document& document = run(R"(farmreport 1
page size=A3
title
text "Cím" size=14 align=center
band Parcellak connection=RvTablakConnection headings=no
column Helysz
group Agazat newpage
grouphead "{Agazat}"
band Ures connection=RvUres
column Nev
foot "soha"
summary
text "Vége"
)");
    EXPECT_EQ(document.width, 297);
    EXPECT_EQ(document.height, 420);
    ASSERT_EQ(document.pages.size(), 2u);
    EXPECT_THAT(lines(document, 0), ElementsAre("Cím", "búza", "48", "49", "50"));
    std::vector<std::string> second{"kukorica"};
    for (int id = 51; id <= 120; ++id)
        second.push_back(std::to_string(id));
    second.push_back("Vége");
    EXPECT_THAT(lines(document, 1), ElementsAreArray(second));
    const report::TextItem title = document.pages[0].texts[0];
    EXPECT_EQ(title.align, report::Align::Center);
    EXPECT_EQ(title.fontSize, 14);
    const report::Document& landscape = run("farmreport 1\npage orientation=landscape\n");
    EXPECT_EQ(landscape.width, 297);
    EXPECT_EQ(landscape.height, 210);
    EXPECT_EQ(landscape.pages.size(), 1u);
}

TEST_F(TableReport, FirstGroupStaysWithTheBandsHeadingsLaterGroupsStartAPage) {
    table.SetFilter("Ter > 470 And Ter < 600");
    table.SetFiltered(true);
    TRvCustomConnection before(&owner, "RvElotte");
    before.OnGetCols = [](TRvCustomConnection* c) { c->DefineColumn("Szoveg", 0, 50, "", ""); };
    before.OnOpen = [](TRvCustomConnection* c) { c->DataRows = 1; };
    before.OnGetRow = [](TRvCustomConnection* c) { c->PutStringColumn("", "előtte"); };
    const report::Document& document = run(R"(farmreport 1
band Elotte connection=RvElotte headings=no
column Szoveg
band Parcellak connection=RvTablakConnection
column Helysz caption="Hrsz."
group Agazat newpage
grouphead "{Agazat}"
)");
    ASSERT_EQ(document.pages.size(), 2u);
    EXPECT_THAT(lines(document, 0), ElementsAre("előtte", "Hrsz.", "búza", "48", "49", "50"));
    EXPECT_THAT(lines(document, 1), ElementsAre("Hrsz.", "kukorica", "51", "52", "53", "54", "55",
                                                "56", "57", "58", "59"));
}

TEST_F(TableReport, UserCancelsALongReportDuringTheLayout) {
    struct Cancelling : report::CaptureOutput {
        struct Reporter : report::ProgressReporter {
            int* steps;
            explicit Reporter(int* s) : steps(s) {}
            bool Step(int done) override {
                *steps = done;
                return false;
            }
        };
        std::unique_ptr<report::ProgressReporter> StartProgress(const std::string&) override {
            return std::make_unique<Reporter>(&steps);
        }
        int steps = 0;
    } cancelling;
    report::ScopedOutput use(cancelling);
    writeFile("Teszt.rav", kGroupedLayout);
    TRvProject project(&owner, "RvProject1", "Teszt");
    project.ExecuteActiveReport();
    EXPECT_EQ(cancelling.steps, 100);
    EXPECT_TRUE(cancelling.documents.empty());
    EXPECT_FALSE(table.Active()) << "the data set is closed again after a cancel";
}

// A layout stopped at a finished page keeps the pages before it as a whole run lays them
// out; the whole run into a document the preview shows is the plain run.
TEST_F(TableReport, StoppedAtAPageKeepsThePagesFinishedBeforeIt) {
    const report::Layout layout = report::ParseLayout(kGroupedLayout, "Teszt.rav");
    auto find = [&](std::string_view name) { return report::FindConnection(&owner, name); };
    const report::Document whole = report::RenderReport(layout, find);
    ASSERT_EQ(whole.pages.size(), 3u);
    struct StopAtSecond : report::ProgressReporter {
        bool Step(int) override { return true; }
        bool PageDone(const report::Document& document) override {
            return document.pages.size() < 2;
        }
    } stop;
    report::Document stopped;
    EXPECT_THROW(report::RenderReport(stopped, layout, find, &stop), report::ReportCancelled);
    ASSERT_EQ(stopped.pages.size(), 2u);
    for (int page = 0; page < 2; ++page) {
        std::vector<std::string> texts = lines(stopped, page);
        for (std::string& text : texts)
            if (const auto at = text.find(report::kPageCountMark); at != std::string::npos)
                text.replace(at, report::kPageCountMark.size(), "3");
        EXPECT_EQ(texts, lines(whole, page));
    }
    EXPECT_FALSE(table.Active());
    report::Document streamed;
    report::RenderReport(streamed, layout, find);
    EXPECT_EQ(report::DocumentLines(streamed), report::DocumentLines(whole));
}

// --- master and detail ---------------------------------------------------------------------

class MasterDetail : public ReportTest {
protected:
    MasterDetail() {
        makeOwners(session, {{"000001", "Kovács Béla", "Szeged"},
                             {"000002", "Nagy Éva", "Pécs"},
                             {"000003", "Szabó Ödön", "Győr"}});
        makeParcels(session, {{1, "12", "000001", "búza", 1000},
                              {2, "7", "000002", "árpa", 500},
                              {3, "15", "000001", "zab", 2500},
                              {4, "9", "000002", "búza", 250.5}});
        owners.SetTableName("tulaj");
    }
    db::TTable owners{session, "Table1"};
    TRvTableConnection ownerConnection{&owner, "RvTulaj", &owners};

    const std::vector<std::string> expected{
        "Név | Cím",        "Kovács Béla | Szeged", "Kovács Béla táblái:",
        "12 | 1 000,0",     "15 | 2 500,0",         "Összesen: | 3 500,0",
        "Nagy Éva | Pécs",  "Nagy Éva táblái:",     "7 | 500,0",
        "9 | 250,5",        "Összesen: | 750,5",    "Szabó Ödön | Győr",
        "Tulajdonosok: | 3"};
};

const char* const kDetailBand = R"(
column Helysz width=20
column Ter width=30 align=right format="#,##0.0"
caption "{RvTulaj.Tulnev} táblái:"
foot "Összesen:"
total Ter sum
)";

TEST_F(MasterDetail, LinkedDetailQueryPrintsTheRowsOfEachMasterRow) {
    db::TQuery query(session, "Query1");
    query.SQL().Add("SELECT * FROM tablak ORDER BY Tableid");
    TRvQueryConnection parcels(&owner, "RvTablak", &query);
    const report::Document& document = run(std::string(R"(farmreport 1
band Tulaj connection=RvTulaj
column Tulnev caption="Név" width=50
column Cim caption="Cím" width=40
foot "Tulajdonosok:"
total Cim count
band Tablak connection=RvTablak master=Tulaj link="Tulkod=Tulkod" indent=10 headings=no
)") + kDetailBand);
    ASSERT_EQ(document.pages.size(), 1u);
    EXPECT_THAT(lines(document, 0), ElementsAreArray(expected));
    EXPECT_FALSE(query.Active());
    // The detail sits to the right of its master.
    const report::Page page = document.pages[0];
    for (const report::TextItem& item : page.texts) {
        if (item.text == "12") {
            EXPECT_DOUBLE_EQ(item.x, 15 + 10 + 0.5);
        }
    }
}

// Columns no band prints still reach the texts that name them and the links.
TEST_F(MasterDetail, TextsAndLinksReadColumnsNoBandPrints) {
    db::TQuery query(session, "Query1");
    query.SQL().Add("SELECT * FROM tablak ORDER BY Tableid");
    TRvQueryConnection parcels(&owner, "RvTablak", &query);
    const report::Document& document = run(R"(farmreport 1
band Tulaj connection=RvTulaj headings=no
column Tulnev width=50
band Tablak connection=RvTablak master=Tulaj link="Tulkod=Tulkod" indent=10 headings=no
column Helysz width=20
caption "{RvTulaj.Cim}:"
foot "utolsó: {Agazat}, {RvTablak.Tableid}"
)");
    EXPECT_THAT(lines(document, 0),
                ElementsAre("Kovács Béla", "Szeged:", "12", "15", "utolsó: zab, 3", "Nagy Éva",
                            "Pécs:", "7", "9", "utolsó: búza, 4", "Szabó Ödön"));
}

TEST_F(MasterDetail, DetailTableFollowingItsMasterIsReadAgainPerMasterRow) {
    db::TDataSource source(&owners);
    db::TTable parcelTable(session, "Table2");
    parcelTable.SetTableName("tablak");
    parcelTable.SetIndexFieldNames("Tulkod");
    parcelTable.SetMasterSource(&source);
    parcelTable.SetMasterFields("Tulkod");
    TRvTableConnection parcels(&owner, "RvTablak", &parcelTable);
    owners.Open();
    parcelTable.Open();
    const report::Document& document = run(std::string(R"(farmreport 1
band Tulaj connection=RvTulaj
column Tulnev caption="Név" width=50
column Cim caption="Cím" width=40
foot "Tulajdonosok:"
total Cim count
band Tablak connection=RvTablak master=Tulaj indent=10 headings=no
)") + kDetailBand);
    EXPECT_THAT(lines(document, 0), ElementsAreArray(expected));
}

// Two linked details over one table, ordered by sector, so that an owner's parcels are not
// next to each other: the second detail's reading makes the first read all its rows at once.
TEST_F(MasterDetail, TwoLinkedDetailsOverOneTablePrintTheRowsOfEachMasterRow) {
    db::TTable parcelTable(session, "Table2");
    parcelTable.SetTableName("tablak");
    parcelTable.SetIndexFieldNames("Agazat");
    TRvTableConnection parcels(&owner, "RvTablak", &parcelTable);
    TRvTableConnection again(&owner, "RvTablak2", &parcelTable);
    const report::Document& document = run(R"(farmreport 1
band Tulaj connection=RvTulaj headings=no
column Tulnev width=50
band A connection=RvTablak master=Tulaj link="Tulkod=Tulkod" headings=no
column Helysz width=20
band B connection=RvTablak2 master=Tulaj link="Tulkod=Tulkod" headings=no
column Agazat width=20
)");
    EXPECT_THAT(lines(document, 0),
                ElementsAre("Kovács Béla", "12", "15", "búza", "zab", "Nagy Éva", "7", "9", "árpa",
                            "búza", "Szabó Ödön"));
    EXPECT_FALSE(parcelTable.Active());
}

TEST_F(MasterDetail, DetailOnTheConnectionItsMasterReadsIsRefused) {
    writeFile("Teszt.rav", R"(farmreport 1
band A connection=RvTulaj
column Tulnev
band B connection=rvtulaj master=A
column Cim
)");
    TRvProject project(&owner, "RvProject1", "Teszt");
    try {
        project.ExecuteActiveReport();
        FAIL() << "no error";
    } catch (const report::LayoutError& error) {
        EXPECT_EQ(error.line(), 4);
    }
    EXPECT_FALSE(owners.Active());
}

// --- aliases and data-set connections -----------------------------------------------------

TEST_F(MasterDetail, FieldAliasPresentsACalculatedFieldUnderAnotherName) {
    db::TQuery query(session, "Query3");
    query.SQL().Add("SELECT Tableid, Helysz, Agazat FROM tablak ORDER BY Tableid");
    query.AddCalcField("NewHasznIr", db::FieldType::Alpha, 4);
    query.OnCalcFields = [](db::TDataSet& ds) {
        ds.FieldByName("NewHasznIr").SetAsString("K" + ds.FieldByName("Helysz").AsString());
    };
    TRvQueryConnection connection(&owner, "RvQueryGN03ParcOssConnection1", &query);
    connection.FieldAliasList.Add("NewHasznIr=Agazat");
    connection.RuntimeVisibility = rtDeveloper;
    const report::Document& document = run(R"(farmreport 1
band Sorok connection=RvQueryGN03ParcOssConnection1 headings=no
column Helysz width=20
column Agazat width=20
column NewHasznIr width=20
)");
    // The alias hides the query's own Agazat; the field stays reachable by its name.
    EXPECT_THAT(lines(document, 0),
                ElementsAre("12 | K12 | K12", "7 | K7 | K7", "15 | K15 | K15", "9 | K9 | K9"));
}

TEST_F(MasterDetail, DataSetConnectionReadsAnyDataSet) {
    db::TQuery query(session, "Query1");
    query.SQL().Add("SELECT Tulkod, SUM(Ter) FROM tablak GROUP BY Tulkod");
    report::TRvDataSetConnection connection(&owner, "GN1909RvDataSetConnection1", &query);
    query.Open();
    const report::ConnectionData data = report::ReadConnection(connection);
    ASSERT_EQ(data.columns.size(), 2u);
    EXPECT_EQ(data.columns[0].name, "Tulkod");
    EXPECT_EQ(data.columns[1].name, "SUM OF Ter");
    EXPECT_EQ(data.columns[1].dataType, report::dtFloat);
    ASSERT_EQ(data.rows.size(), 2u);
    EXPECT_THAT(data.Texts(0), ElementsAre("000001", "3500"));
    EXPECT_THAT(data.Texts(1), ElementsAre("000002", "750,5"));
    EXPECT_EQ(data.rows[1][1].number, 750.5);
    EXPECT_TRUE(query.Active());
}

TEST(DataSetConnection, WithoutADataSetIsAnError) {
    QObject owner;
    TRvTableConnection connection(&owner, "RvTableConnection1");
    EXPECT_THROW(report::ReadConnection(connection), report::ReportError);
}

// --- number formats ------------------------------------------------------------------------

TEST(NumberFormat, HungarianNotation) {
    EXPECT_EQ(report::FormatNumber(1234.567, "0"), "1235");
    EXPECT_EQ(report::FormatNumber(1234.567, "0.00"), "1234,57");
    EXPECT_EQ(report::FormatNumber(1234.567, "#,##0"), "1 235");
    EXPECT_EQ(report::FormatNumber(1234.567, "#,##0.0#"), "1 234,57");
    EXPECT_EQ(report::FormatNumber(1234.5, "#,##0.0#"), "1 234,5");
    EXPECT_EQ(report::FormatNumber(1234.567, "0.0000 ha"), "1234,5670 ha");
    EXPECT_EQ(report::FormatNumber(-1234567.891, "#,##0.00 Ft"), "-1 234 567,89 Ft");
    EXPECT_EQ(report::FormatNumber(-0.004, "0.00"), "0,00");
    EXPECT_EQ(report::FormatNumber(0.5, "#"), "1");
    EXPECT_EQ(report::FormatNumber(2.5, "0"), "3");
    EXPECT_EQ(report::FormatNumber(1.005, "0.00"), "1,01");
    EXPECT_EQ(report::FormatNumber(0.004, "0.##"), "0");
    EXPECT_EQ(report::FormatNumber(7, "000"), "007");
    EXPECT_EQ(report::FormatNumber(0.25, "#.##"), "0,25");
    // A carry through every digit, a value far under the last decimal, a half in the
    // decimals, and a value beyond its 15 significant digits.
    EXPECT_EQ(report::FormatNumber(99.996, "#,##0.00"), "100,00");
    EXPECT_EQ(report::FormatNumber(1e-300, "0.000"), "0,000");
    EXPECT_EQ(report::FormatNumber(0.00015, "0.0000"), "0,0002");
    EXPECT_EQ(report::FormatNumber(123456789012345678.0, "#,##0"), "123 456 789 012 346 000");
    EXPECT_EQ(report::FormatNumber(1234567890123455.0, "0"), "1234567890123460");
    EXPECT_EQ(report::FormatNumber(1234567890123445.0, "0"), "1234567890123440");
    EXPECT_FALSE(report::ValidNumberFormat("abc"));
    EXPECT_FALSE(report::ValidNumberFormat("0.0.0"));
    EXPECT_FALSE(report::ValidNumberFormat("0.#0"));
    EXPECT_TRUE(report::ValidNumberFormat("Ft 0"));
}

} // namespace
