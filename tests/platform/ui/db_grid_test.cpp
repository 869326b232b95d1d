// The data grid: columns and captions, following the cursor both ways, rows marked with
// Ctrl and Shift kept as bookmarks in the order marked, editing that posts when the row is
// left, events, and a large table read only where it is shown.

#include "platform/ui/db_grid.h"
#include "platform/ui/db_test_support.h"
#include "platform/ui/form.h"
#include "support/ui_test.h"

#include <QHeaderView>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace uitest;

namespace {

QString cell(const ui::TDBGrid& grid, int row, int column) {
    return grid.model()->index(row, column).data().toString();
}

QString header(const ui::TDBGrid& grid, int column) {
    return grid.model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

// A click on a row's first cell, as the user makes it.
void click(ui::TDBGrid& grid, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QRect rect = grid.visualRect(grid.model()->index(row, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, rect.center());
}

// A grid over the parcels on a form, shown at a size that holds every row.
struct GridTest : testui::UiTest {
    GridTest() {
        form.SetClientSize(600, 400);
        grid.SetBounds(0, 0, 600, 400);
        grid.SetDataSource(&parcels.source);
        ShowActive(form);
    }
    ~GridTest() override { form.Hide(); }
    std::vector<std::string> marked() {
        std::vector<std::string> codes;
        for (int i = 0; i < grid.SelectedRows().Count(); ++i)
            codes.push_back(parcels.codeAt(grid.SelectedRows()[i]));
        return codes;
    }

    Parcels parcels;
    ui::TForm form;
    ui::TDBGrid& grid = *new ui::TDBGrid(&form);
};

} // namespace

TEST_F(GridTest, ShowsEveryFieldWithoutColumnsAndTheColumnsWithTheirCaptions) {
    EXPECT_EQ(grid.model()->rowCount(), 6);
    EXPECT_EQ(grid.model()->columnCount(), 5);
    EXPECT_EQ(header(grid, 2), "Agazat");
    EXPECT_EQ(cell(grid, 3, 0), "P00003");

    grid.Columns().Add("Evj", "G. év", 80);
    grid.Columns().Add("Agazat", "Ágazat");
    grid.Columns().Add("Aktiv").SetVisible(false);
    grid.Columns().Add("Kod");
    ASSERT_EQ(grid.model()->columnCount(), 3);
    EXPECT_EQ(header(grid, 0), "G. év");
    EXPECT_EQ(header(grid, 2), "Kod"); // no caption: the field name
    EXPECT_EQ(cell(grid, 1, 0), "2001");
    EXPECT_EQ(cell(grid, 5, 1), "ágazat 5");
    EXPECT_EQ(grid.horizontalHeader()->sectionSize(0), 80);
    // A column narrower than its heading widens to show the heading whole.
    grid.Columns()[1].SetWidth(10);
    EXPECT_GT(grid.horizontalHeader()->sectionSize(1),
              grid.horizontalHeader()->fontMetrics().horizontalAdvance("Ágazat"));

    parcels.table.Close(); // the columns stay; the rows go
    EXPECT_EQ(grid.model()->rowCount(), 0);
    parcels.table.Open();
    EXPECT_EQ(grid.model()->rowCount(), 6);
    EXPECT_EQ(header(grid, 1), "Ágazat");
}

TEST_F(GridTest, FollowsTheCursorAndMovesIt) {
    parcels.table.MoveBy(3);
    EXPECT_EQ(grid.currentIndex().row(), 3);
    parcels.table.Last();
    EXPECT_EQ(grid.currentIndex().row(), 5);

    click(grid, 1);
    EXPECT_EQ(parcels.table.RecNo(), 2);
    QTest::keyClick(grid.viewport(), Qt::Key_Down);
    EXPECT_EQ(parcels.table.FieldByName("Kod").AsString(), "P00002");

    parcels.table.DisableControls(); // a walk over the rows leaves the grid alone
    for (parcels.table.First(); !parcels.table.Eof(); parcels.table.Next()) {
    }
    EXPECT_EQ(grid.currentIndex().row(), 2);
    parcels.table.MoveBy(-2);
    parcels.table.EnableControls();
    EXPECT_EQ(grid.currentIndex().row(), 3);
}

TEST_F(GridTest, FollowsTheOrderAndFilterOfTheDataSet) {
    parcels.table.SetIndexFieldNames("Aktiv;Kod"); // P0 P2 P4 P1 P3 P5
    EXPECT_EQ(cell(grid, 3, 0), "P00001");
    parcels.table.SetFilter("Aktiv = 'A'");
    parcels.table.SetFiltered(true);
    EXPECT_EQ(grid.model()->rowCount(), 3);
    EXPECT_EQ(cell(grid, 2, 0), "P00004");
    parcels.table.Insert(); // the new row is shown at the cursor
    EXPECT_EQ(grid.model()->rowCount(), 4);
    EXPECT_EQ(grid.currentIndex().row(), 0);
    EXPECT_EQ(cell(grid, 1, 0), "P00000");
    parcels.table.Cancel();
    EXPECT_EQ(grid.model()->rowCount(), 3);
}

TEST_F(GridTest, MarksRowsWithCtrlAndShiftInTheOrderMarked) {
    grid.SetReadOnly(true);
    grid.SetMultiSelect(true);
    click(grid, 4);
    click(grid, 1, Qt::ControlModifier);
    click(grid, 3, Qt::ControlModifier);
    EXPECT_EQ(marked(), (std::vector<std::string>{"P00004", "P00001", "P00003"}));
    EXPECT_EQ(parcels.table.RecNo(), 4); // the cursor is on the row clicked last
    EXPECT_TRUE(grid.SelectedRows().CurrentRowSelected());

    click(grid, 1, Qt::ControlModifier); // a second Ctrl click takes the mark off
    EXPECT_EQ(marked(), (std::vector<std::string>{"P00004", "P00003"}));

    click(grid, 5); // a plain click marks only its row
    click(grid, 2, Qt::ShiftModifier);
    EXPECT_EQ(marked(), (std::vector<std::string>{"P00005", "P00004", "P00003", "P00002"}));

    grid.SelectedRows().Clear();
    EXPECT_EQ(grid.SelectedRows().Count(), 0);
    EXPECT_TRUE(grid.selectionModel()->selectedRows().isEmpty());
}

TEST_F(GridTest, AChoiceByKeyIsHeardAsAClickIs) {
    grid.SetReadOnly(true);
    grid.SetMultiSelect(true);
    std::vector<std::vector<std::string>> heard; // the marks each time the form hears
    grid.OnCellClick = [&](ui::TColumn&) { heard.push_back(marked()); };
    click(grid, 1);
    grid.setFocus();
    Key(&grid, Qt::Key_Down, Qt::ShiftModifier);
    Key(&grid, Qt::Key_Down);
    Key(&grid, Qt::Key_A, Qt::ControlModifier);
    Key(&grid, Qt::Key_Left); // nothing moves: nothing to hear
    ASSERT_EQ(heard.size(), 4U);
    EXPECT_EQ(heard[1], (std::vector<std::string>{"P00001", "P00002"}));
    EXPECT_EQ(heard[2], (std::vector<std::string>{"P00003"}));
    EXPECT_EQ(heard[3].size(), 6U);
}

TEST_F(GridTest, MarksSurviveAChangeOfTheRowsAndCanBeSetByTheProgram) {
    grid.SetMultiSelect(true);
    click(grid, 2);
    click(grid, 4, Qt::ControlModifier);
    parcels.table.SetIndexFieldNames("Aktiv;Kod"); // P0 P2 P4 P1 P3 P5
    EXPECT_EQ(marked(), (std::vector<std::string>{"P00002", "P00004"}));
    QList<int> rows;
    for (const QModelIndex& index : grid.selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (QList<int>{1, 2}));

    parcels.table.First();
    grid.SelectedRows().SetCurrentRowSelected(true);
    EXPECT_EQ(grid.SelectedRows().Count(), 3);
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(0, {}));
    grid.SelectedRows().SetCurrentRowSelected(false);
    EXPECT_EQ(grid.SelectedRows().Count(), 2);
}

TEST_F(GridTest, AMarkedRowAFilterHidesIsMarkedNoLonger) {
    grid.SetMultiSelect(true);
    click(grid, 1); // P00001, inactive
    click(grid, 2, Qt::ControlModifier);
    parcels.table.SetFilter("Aktiv = 'A'");
    parcels.table.SetFiltered(true);
    ASSERT_EQ(marked(), (std::vector<std::string>{"P00002"}));
    for (int i = 0; i < grid.SelectedRows().Count(); ++i)
        EXPECT_NO_THROW(parcels.table.GotoBookmark(grid.SelectedRows()[i]));
    parcels.table.SetFiltered(false); // shown again, but not marked again
    EXPECT_EQ(marked(), (std::vector<std::string>{"P00002"}));
}

TEST_F(GridTest, EditsTheCurrentRowAndPostsWhenTheRowIsLeft) {
    grid.Columns().Add("Kod");
    grid.Columns().Add("Agazat");
    click(grid, 2);
    ASSERT_TRUE(grid.model()->setData(grid.model()->index(2, 1), "tönköly"));
    EXPECT_EQ(parcels.table.State(), db::DataSetState::Edit);
    EXPECT_EQ(cell(grid, 2, 1), "tönköly");
    EXPECT_EQ(parcels.stored("P00002", "Agazat"), "ágazat 2"); // not yet posted

    click(grid, 4);
    EXPECT_EQ(parcels.table.State(), db::DataSetState::Browse);
    EXPECT_EQ(parcels.stored("P00002", "Agazat"), "tönköly");
    EXPECT_EQ(parcels.table.RecNo(), 5);

    // Through the cell editor: type, Enter, then leave the row with the arrow key.
    grid.setCurrentIndex(grid.model()->index(4, 1));
    grid.edit(grid.currentIndex());
    auto* editor = grid.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("zab");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the delegate commits a queued call later
    EXPECT_EQ(parcels.table.FieldByName("Agazat").AsString(), "zab");
    QTest::keyClick(grid.viewport(), Qt::Key_Up);
    EXPECT_EQ(parcels.stored("P00004", "Agazat"), "zab");
    EXPECT_EQ(parcels.table.RecNo(), 4);
}

TEST_F(GridTest, ReadOnlyGridsAndRowSelectionDoNotEdit) {
    grid.SetReadOnly(true);
    EXPECT_FALSE(grid.model()->flags(grid.model()->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid.model()->setData(grid.model()->index(0, 1), "x"));
    grid.SetReadOnly(false);
    EXPECT_TRUE(grid.model()->flags(grid.model()->index(0, 1)) & Qt::ItemIsEditable);
    grid.SetRowSelect(true);
    EXPECT_FALSE(grid.model()->flags(grid.model()->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_EQ(grid.selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(GridTest, ReportsCellClicksDoubleClicksAndKeys) {
    grid.Columns().Add("Kod");
    grid.Columns().Add("Evj");
    grid.SetReadOnly(true);
    std::string clicked;
    int doubleClicks = 0;
    std::string keys;
    grid.OnCellClick = [&](ui::TColumn& column) {
        clicked = column.FieldName() + "@" + parcels.table.FieldByName("Kod").AsString();
    };
    grid.OnDblClick = [&](ui::TObject* sender) { doubleClicks += sender == &grid; };
    grid.OnKeyPress = [&](ui::TObject*, ui::TKey& key) { // through the form, as on any control
        keys +=
            key == ui::keyEnter ? std::string("<Enter>") : std::string(1, static_cast<char>(key));
        if (key == ui::keyEnter)
            key = ui::keyNone;
    };
    const QRect rect = grid.visualRect(grid.model()->index(3, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(clicked, "Evj@P00003");
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(doubleClicks, 1);
    Key(&grid, Qt::Key_Return);
    Key(&grid, Qt::Key_A);
    EXPECT_EQ(keys, "<Enter>a");
}

TEST_F(GridTest, LetsGoOfADestroyedDataSet) {
    auto table = std::make_unique<db::TTable>(parcels.session, "Temp");
    table->SetTableName("parcellak");
    table->Open();
    db::TDataSource source(table.get());
    grid.SetDataSource(&source);
    EXPECT_EQ(grid.model()->rowCount(), 6);
    table.reset();
    EXPECT_EQ(grid.DataSet(), nullptr);
    EXPECT_EQ(grid.model()->rowCount(), 0);
    grid.grab(); // paints without the data set
}

TEST(GridLargeTable, ReadsOnlyTheRowsItShows) {
    testui::Qt();
    CountingDataSet rows(100000);
    rows.Open();
    db::TDataSource source(&rows);
    ui::TDBGrid grid;
    grid.resize(600, 400);
    grid.SetDataSource(&source);
    grid.show();
    grid.grab();
    EXPECT_EQ(grid.model()->rowCount(), 100000);
    EXPECT_EQ(cell(grid, 99998, 1), "sor 99999");
    EXPECT_LT(rows.reads, 1000u);

    rows.reads = 0;
    rows.Last();
    grid.grab();
    EXPECT_EQ(grid.currentIndex().row(), 99999);
    EXPECT_LT(rows.reads, 1000u);

    grid.SetMultiSelect(true);
    click(grid, grid.rowAt(grid.viewport()->height() / 2));
    ASSERT_EQ(grid.SelectedRows().Count(), 1);
    EXPECT_GT(grid.SelectedRows()[0].hint, 99000u);
    EXPECT_LT(rows.reads, 2000u);
}
