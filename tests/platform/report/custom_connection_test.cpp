// Custom connections as the forms write them: the one-row pattern with its end flag and
// the multi-row grid pattern, the order of the engine's calls, and their rows in a
// report.

#include "report_test_support.h"

namespace {

using namespace reporttest;
using ::testing::Each;
using ::testing::ElementsAre;

// A form with one single-row connection of three columns, written as the forms write it.
struct OneRowForm : QObject {
    OneRowForm() {
        Connection.OnOpen = report::Bind(this, &OneRowForm::ConnectionOpen);
        Connection.OnFirst = report::Bind(this, &OneRowForm::ConnectionFirst);
        Connection.OnNext = report::Bind(this, &OneRowForm::ConnectionNext);
        Connection.OnEOF = report::Bind(this, &OneRowForm::ConnectionEOF);
        Connection.OnGetCols = report::Bind(this, &OneRowForm::ConnectionGetCols);
        Connection.OnGetRow = report::Bind(this, &OneRowForm::ConnectionGetRow);
    }
    void ConnectionOpen(TRvCustomConnection* c) {
        calls.push_back("Open");
        c->DataRows = 1;
        endFlag = false;
    }
    void ConnectionFirst(TRvCustomConnection* c) {
        calls.push_back("First");
        c->DataIndex = 0;
    }
    void ConnectionNext(TRvCustomConnection* c) {
        calls.push_back("Next");
        c->DataIndex = c->DataIndex + 1;
    }
    void ConnectionEOF(TRvCustomConnection*, bool& eof) {
        calls.push_back("EOF");
        eof = endFlag;
    }
    void ConnectionGetCols(TRvCustomConnection* c) {
        calls.push_back("GetCols");
        for (const char* name : {"szant", "gyep", "ossz"})
            c->DefineColumn(name, dtString, 50, "Cím", "Description 1");
    }
    void ConnectionGetRow(TRvCustomConnection* c) {
        calls.push_back("GetRow");
        for (const std::string& value : values)
            c->PutStringColumn("", value);
        endFlag = true;
    }

    TRvCustomConnection Connection{this, "RvCustomGN02OsszesitoConnection1"};
    bool endFlag = false;
    std::vector<std::string> values{"", "", ""};
    std::vector<std::string> calls;
};

TEST(CustomConnection, SingleRowWithEmptyValuesYieldsOneRowInTheEnginesCallOrder) {
    OneRowForm form;
    const report::ConnectionData data = report::ReadConnection(form.Connection);
    ASSERT_EQ(data.columns.size(), 3u);
    EXPECT_EQ(data.columns[0].name, "szant");
    EXPECT_EQ(data.columns[2].width, 50);
    EXPECT_EQ(data.columns[2].fullName, "Cím");
    EXPECT_EQ(data.columns[2].description, "Description 1");
    ASSERT_EQ(data.rows.size(), 1u);
    EXPECT_THAT(data.Texts(0), ElementsAre("", "", ""));
    EXPECT_THAT(form.calls,
                ElementsAre("Open", "GetCols", "First", "EOF", "GetRow", "Next", "EOF"));
    EXPECT_EQ(form.Connection.DataIndex, 1);
}

TEST(CustomConnection, RunningTwiceYieldsOneRowEachTime) {
    OneRowForm form;
    form.values = {"12,5", "3", "15,5"};
    for (int run = 0; run < 2; ++run) {
        const report::ConnectionData data = report::ReadConnection(form.Connection);
        ASSERT_EQ(data.rows.size(), 1u) << "run " << run;
        EXPECT_THAT(data.Texts(0), ElementsAre("12,5", "3", "15,5"));
        EXPECT_EQ(data.rows[0][0].number, 12.5);
    }
}

TEST(CustomConnection, ColumnsAreRedefinedAtEveryOpenAndMissingValuesAreEmpty) {
    OneRowForm form;
    form.values = {"egy"}; // fewer values than columns
    report::ConnectionData data = report::ReadConnection(form.Connection);
    EXPECT_THAT(data.Texts(0), ElementsAre("egy", "", ""));
    form.values = {"a", "b", "c", "d"}; // more: the extra one has no column
    data = report::ReadConnection(form.Connection);
    EXPECT_EQ(data.columns.size(), 3u);
    EXPECT_THAT(data.Texts(0), ElementsAre("a", "b", "c"));
}

TEST(CustomConnection, FormattedTextIsPrintedWhenGiven) {
    QObject owner;
    TRvCustomConnection c(&owner, "RvC");
    c.OnGetCols = [](TRvCustomConnection* x) {
        x->DefineColumn("a", 0, 0, "", "");
        x->DefineColumn("b", 0, -3, "", "");
    };
    c.OnOpen = [](TRvCustomConnection* x) { x->DataRows = 1; };
    c.OnGetRow = [](TRvCustomConnection* x) {
        x->PutStringColumn("1 234,50", "1234,5");
        x->PutStringColumn("", "szöveg");
    };
    const report::ConnectionData data = report::ReadConnection(c);
    EXPECT_EQ(data.columns[0].width, 0);
    EXPECT_EQ(data.columns[1].width, 0);
    ASSERT_EQ(data.rows.size(), 1u) << "without handlers, First and Next count the row index";
    EXPECT_THAT(data.Texts(0), ElementsAre("1 234,50", "szöveg"));
    EXPECT_EQ(data.rows[0][0].number, 1234.5);
    EXPECT_FALSE(data.rows[0][1].number);
}

TEST(CustomConnection, ColumnsAndValuesOutsideTheirHandlersAreProgrammingErrors) {
    QObject owner;
    TRvCustomConnection c(&owner, "RvC");
    EXPECT_THROW(c.DefineColumn("a", 0, 50, "", ""), std::logic_error);
    EXPECT_THROW(c.PutStringColumn("", "x"), std::logic_error);
    c.OnGetCols = [](TRvCustomConnection* x) { x->PutStringColumn("", "x"); };
    EXPECT_THROW(report::ReadConnection(c), std::logic_error);
    c.OnGetCols = [](TRvCustomConnection* x) { x->DefineColumn("a", 0, 50, "", ""); };
    c.OnOpen = [](TRvCustomConnection* x) { x->DataRows = 1; };
    c.OnGetRow = [](TRvCustomConnection* x) { x->DefineColumn("b", 0, 50, "", ""); };
    EXPECT_THROW(report::ReadConnection(c), std::logic_error);
    // The connection is usable again afterwards.
    c.OnGetRow = [](TRvCustomConnection* x) { x->PutStringColumn("", "ok"); };
    EXPECT_THAT(report::ReadConnection(c).Texts(0), ElementsAre("ok"));
}

// The grid pattern: the rows of a string grid that always ends with one empty row.
struct GridForm : QObject {
    GridForm() {
        Connection.OnOpen = [this](TRvCustomConnection* c) {
            c->DataRows = 1;
            c->DataIndex = 0;
        };
        Connection.OnFirst = [](TRvCustomConnection* c) { c->DataIndex = 0; };
        Connection.OnNext = [](TRvCustomConnection* c) { c->DataIndex = c->DataIndex + 1; };
        Connection.OnEOF = [this](TRvCustomConnection* c, bool& eof) {
            eof = c->DataIndex >= static_cast<int>(grid.size());
        };
        Connection.OnGetCols = [](TRvCustomConnection* c) {
            for (const char* name :
                 {"Pkod", "Megj", "Gnszam", "Gnlapsz", "Gnoszl", "Gnsor", "Date"})
                c->DefineColumn(name, dtString, 50, "Cím", "Description 1");
        };
        Connection.OnGetRow = [this](TRvCustomConnection* c) {
            for (const std::string& cell : grid.at(static_cast<std::size_t>(c->DataIndex)))
                c->PutStringColumn("", cell);
        };
    }
    void AddFilled(const std::string& code) {
        grid.back() = {code, "12, 13", "GN03", "1", "5", "3", "2009. 05. 01."};
        grid.emplace_back(7, "");
    }
    TRvCustomConnection Connection{this, "RvCustomGN03MegjConnection1"};
    std::vector<std::vector<std::string>> grid{std::vector<std::string>(7, "")};
};

TEST(CustomConnection, GridWithNoFilledRowYieldsOneEmptyRow) {
    GridForm form;
    const report::ConnectionData data = report::ReadConnection(form.Connection);
    ASSERT_EQ(data.rows.size(), 1u);
    EXPECT_THAT(data.Texts(0), Each(""));
    EXPECT_EQ(data.Texts(0).size(), 7u);
}

TEST(CustomConnection, GridWithTwoFilledRowsYieldsThreeRowsTheLastEmpty) {
    GridForm form;
    form.AddFilled("100001");
    form.AddFilled("100002");
    const report::ConnectionData data = report::ReadConnection(form.Connection);
    ASSERT_EQ(data.rows.size(), 3u);
    EXPECT_EQ(data.Texts(0)[0], "100001");
    EXPECT_EQ(data.Texts(1)[0], "100002");
    EXPECT_EQ(data.Texts(1)[6], "2009. 05. 01.");
    EXPECT_THAT(data.Texts(2), Each(""));
}

class CustomReport : public ReportTest {};

// In a report: a one-row header connection feeds the title on every run, the grid feeds
// a band whose last row is empty (a row with no text).
TEST_F(CustomReport, HeaderAndGridConnectionsInAReport) {
    // Two parts of the form that runs the report: their connections are the form's.
    OneRowForm header;
    header.setParent(&owner);
    header.values = {"120,5", "30", "150,5"};
    GridForm grid;
    grid.setParent(&owner);
    grid.AddFilled("100001");
    grid.AddFilled("100002");
    const std::string layout = R"(farmreport 1
title
text "Szántó: {RvCustomGN02OsszesitoConnection1.szant} ha, összesen {RvCustomGN02OsszesitoConnection1.ossz} ha"
band Megj connection=RvCustomGN03MegjConnection1
column Pkod caption="Kód" width=20
column Megj caption="Helyrajzi számok" width=40
foot "Sorok:"
total Megj count
)";
    for (int run = 0; run < 2; ++run) {
        const report::Document& document = this->run(layout);
        EXPECT_THAT(lines(document, 0),
                    ElementsAre("Szántó: 120,5 ha, összesen 150,5 ha", "Kód | Helyrajzi számok",
                                "100001 | 12, 13", "100002 | 12, 13", "Sorok: | 3"));
    }
    EXPECT_EQ(std::count(header.calls.begin(), header.calls.end(), "GetRow"), 2);
}

} // namespace
