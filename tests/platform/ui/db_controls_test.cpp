// Controls bound to one field, lookup controls and the control grid: they show the right
// field of the current row, write what the user enters into it, write the chosen key, and
// let go of a data set that is destroyed.

#include "platform/sys/conversion_error.h"
#include "platform/ui/db_controls.h"
#include "platform/ui/db_ctrl_grid.h"
#include "platform/ui/db_lookup.h"
#include "platform/ui/db_test_support.h"
#include "support/ui_test.h"

#include <QFocusEvent>
#include <QLabel>
#include <gtest/gtest.h>
#include <memory>
#include <string>

using namespace uitest;

namespace {

void focusOut(QWidget& widget) {
    QFocusEvent event(QEvent::FocusOut);
    QApplication::sendEvent(&widget, &event);
}

struct Crops {
    explicit Crops(db::Session& session) : table(session, "Crops") {
        makeCrops(session);
        table.SetTableName("magfajtak");
        table.Open();
    }
    db::TTable table;
    db::TDataSource source{&table};
};

// Each test runs with the application and its scripted dialogs: an error that reaches
// the error display without a test expecting it fails the test.
using DBEdit = testui::UiTest;
using DBText = testui::UiTest;
using DBCheckBox = testui::UiTest;
using DBComboBox = testui::UiTest;
using DBLookupComboBox = testui::UiTest;
using DBLookupListBox = testui::UiTest;
using DBCtrlGrid = testui::UiTest;
using DBControls = testui::UiTest;

} // namespace

TEST_F(DBEdit, ShowsTheFieldOfTheCurrentRowAndWritesWhatIsTyped) {
    Parcels parcels;
    ui::TDBEdit edit;
    edit.SetDataSource(&parcels.source);
    edit.SetDataField("Agazat");
    EXPECT_EQ(edit.Text(), "ágazat 0");
    parcels.table.MoveBy(2);
    EXPECT_EQ(edit.Text(), "ágazat 2");
    EXPECT_EQ(edit.maxLength(), 30);

    edit.selectAll();
    QTest::keyClicks(&edit, "rozs");
    EXPECT_EQ(parcels.table.State(), db::DataSetState::Edit); // the first key edits
    EXPECT_EQ(parcels.table.FieldByName("Agazat").AsString(), "ágazat 2");
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_EQ(parcels.table.FieldByName("Agazat").AsString(), "rozs");
    parcels.table.Post();
    EXPECT_EQ(parcels.stored("P00002", "Agazat"), "rozs");

    edit.selectAll();
    QTest::keyClicks(&edit, "koles");
    focusOut(edit);
    EXPECT_EQ(parcels.table.FieldByName("Agazat").AsString(), "koles");
    parcels.table.Cancel();
    EXPECT_EQ(edit.Text(), "rozs");
}

TEST_F(DBEdit, TypedTextIsWrittenWhenTheRowIsPostedOrLeft) {
    Parcels parcels;
    ui::TDBEdit year;
    year.SetDataSource(&parcels.source);
    year.SetDataField("Evj");
    year.selectAll();
    QTest::keyClicks(&year, "1999");
    parcels.table.Post(); // a shortcut posts while the box has the focus
    EXPECT_EQ(parcels.stored("P00000", "Evj"), "1999");

    year.selectAll();
    QTest::keyClicks(&year, "1998");
    parcels.table.Next(); // leaving the row posts it
    EXPECT_EQ(parcels.stored("P00000", "Evj"), "1998");
    EXPECT_EQ(year.Text(), "2001");

    year.selectAll();
    QTest::keyClicks(&year, "nem szam");
    EXPECT_THROW(year.UpdateRecord(), sys::ConversionError);
    EXPECT_TRUE(year.Modified()); // the text stays for the user to correct
    QTest::keyClick(&year, Qt::Key_Escape);
    EXPECT_EQ(year.Text(), "2001");
    parcels.table.Cancel();
}

// A box on a text field takes the smaller of its limit and the field's width; a longer
// text already stored is shown whole (neither shown nor stored cut). A limit holds for
// the other fields.
TEST_F(DBEdit, ATextFieldTakesTheSmallerOfItsWidthAndTheLimitAndShowsAStoredTextWhole) {
    Parcels parcels;
    ui::TDBEdit edit;
    edit.SetMaxLength(12);
    edit.SetDataSource(&parcels.source);
    edit.SetDataField("Agazat");
    EXPECT_EQ(edit.maxLength(), 12);
    edit.SetMaxLength(40);
    EXPECT_EQ(edit.maxLength(), 30);
    edit.SetMaxLength(5);
    EXPECT_EQ(edit.Text(), "ágazat 0");
    EXPECT_EQ(edit.maxLength(), 8);
    edit.SetDataField("Evj");
    EXPECT_EQ(edit.maxLength(), 5);
}

TEST_F(DBEdit, IsReadOnlyWhenTheControlOrTheDataSetIs) {
    Parcels parcels;
    ui::TDBEdit edit;
    edit.SetDataSource(&parcels.source);
    edit.SetDataField("Kod");
    edit.SetReadOnly(true);
    EXPECT_TRUE(edit.isReadOnly());
    edit.SetReadOnly(false);
    EXPECT_FALSE(edit.isReadOnly());
    parcels.table.Close();
    EXPECT_TRUE(edit.isReadOnly());
    EXPECT_EQ(edit.Text(), "");
}

TEST_F(DBText, FollowsTheCursor) {
    Parcels parcels;
    ui::TDBText label;
    label.SetDataSource(&parcels.source);
    label.SetDataField("Kod");
    EXPECT_EQ(label.Caption(), "P00000");
    parcels.table.Last();
    EXPECT_EQ(label.Caption(), "P00005");
}

TEST_F(DBCheckBox, ReadsAndWritesItsCheckedAndUncheckedValues) {
    Parcels parcels;
    ui::TDBCheckBox active;
    active.SetDataSource(&parcels.source);
    active.SetDataField("Aktiv");
    active.SetValueChecked("A");
    active.SetValueUnchecked("N");
    EXPECT_TRUE(active.Checked());
    parcels.table.Next();
    EXPECT_FALSE(active.Checked());
    active.click();
    EXPECT_EQ(parcels.table.FieldByName("Aktiv").AsString(), "A");
    EXPECT_TRUE(active.Checked());
    parcels.table.Post();
    EXPECT_EQ(parcels.stored("P00001", "Aktiv"), "A");

    ui::TDBCheckBox logical; // True/False by default, on a logical field
    logical.SetDataSource(&parcels.source);
    logical.SetDataField("Ont");
    EXPECT_FALSE(logical.Checked());
    logical.SetChecked(true);
    parcels.table.Post();
    EXPECT_EQ(parcels.stored("P00001", "Ont"), "True");

    active.SetReadOnly(true);
    active.click();
    EXPECT_EQ(parcels.table.State(), db::DataSetState::Browse);
}

TEST_F(DBComboBox, WritesTheChosenOrTypedText) {
    Parcels parcels;
    ui::TDBComboBox sector;
    sector.SetDataSource(&parcels.source);
    sector.SetDataField("Agazat");
    sector.SetItems({"árpa", "búza", "ágazat 0"});
    EXPECT_EQ(sector.Text(), "ágazat 0");
    sector.setCurrentIndex(1);
    emit sector.activated(1);
    EXPECT_EQ(parcels.table.FieldByName("Agazat").AsString(), "búza");
    parcels.table.Post();

    sector.lineEdit()->selectAll();
    QTest::keyClicks(sector.lineEdit(), "kender");
    focusOut(sector);
    parcels.table.Post();
    EXPECT_EQ(parcels.stored("P00000", "Agazat"), "kender");

    sector.SetStyleDropDownList(true);
    parcels.table.Next();
    EXPECT_EQ(sector.currentIndex(), -1); // "ágazat 1" is not in the list
}

TEST_F(DBLookupComboBox, ShowsTheListFieldAndWritesTheKey) {
    Parcels parcels;
    Crops crops(parcels.session);
    ui::TDBLookupComboBox box;
    box.SetDataSource(&parcels.source);
    box.SetDataField("Evj");
    box.SetListSource(&crops.source);
    box.SetKeyField("Id");
    box.SetListField("Faj");
    box.SetDropDownRows(12);
    ASSERT_EQ(box.count(), 3);
    EXPECT_EQ(box.itemText(1), "búza");
    EXPECT_EQ(box.currentIndex(), -1); // 2000 is no crop's key
    EXPECT_EQ(box.DropDownRows(), 12);

    int clicks = 0;
    box.OnClick = [&](ui::TObject*) { ++clicks; };
    emit box.activated(2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(parcels.table.FieldByName("Evj").AsInteger(), 12);
    EXPECT_EQ(box.Text(), "zab");
    EXPECT_EQ(crops.table.FieldByName("Faj").AsString(), "zab"); // the list follows
    parcels.table.Post();
    EXPECT_EQ(parcels.stored("P00000", "Evj"), "12");

    parcels.table.Next();
    EXPECT_EQ(box.currentIndex(), -1);
    parcels.table.Prior();
    EXPECT_EQ(box.Text(), "zab");
    EXPECT_EQ(std::get<std::int32_t>(box.KeyValue()), 12);
}

TEST_F(DBLookupComboBox, WritesAKeyOfAnotherTypeAsTextAndKeepsAKeyWithoutAField) {
    Parcels parcels;
    Crops crops(parcels.session);
    ui::TDBLookupComboBox box;
    box.SetDataSource(&parcels.source);
    box.SetDataField("Agazat");
    box.SetListSource(&crops.source);
    box.SetKeyField("Id");
    box.SetListField("Faj");
    box.Choose(0);
    EXPECT_EQ(parcels.table.FieldByName("Agazat").AsString(), "10");
    parcels.table.Cancel();

    ui::TDBLookupComboBox free; // no field: the choice is its key value
    free.SetListSource(&crops.source);
    free.SetKeyField("Faj");
    free.Choose(1);
    EXPECT_EQ(std::get<std::string>(free.KeyValue()), "búza");
    free.SetKeyValue(std::string("zab"));
    EXPECT_EQ(free.Text(), "zab");

    crops.table.Append(); // the list reads its rows again when they change
    crops.table.FieldByName("Faj").SetAsString("kukorica");
    crops.table.Post();
    EXPECT_EQ(free.count(), 4);
    EXPECT_EQ(free.Text(), "zab");
}

TEST_F(DBLookupListBox, WritesTheKeyOfTheRowClicked) {
    Parcels parcels;
    Crops crops(parcels.session);
    ui::TDBLookupListBox list;
    list.SetDataSource(&parcels.source);
    list.SetDataField("Agazat");
    list.SetListSource(&crops.source);
    list.SetKeyField("Faj");
    ASSERT_EQ(list.count(), 3);
    list.resize(200, 200);
    list.show();
    const QRect rect = list.visualItemRect(list.item(1));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(parcels.table.FieldByName("Agazat").AsString(), "búza");
    EXPECT_EQ(list.SelectedText(), "búza");
    parcels.table.Cancel();
    EXPECT_EQ(list.currentRow(), -1);
}

TEST_F(DBCtrlGrid, RepeatsAPanelPerRowAroundTheCursor) {
    Parcels parcels;
    ui::TDBCtrlGrid rows;
    rows.SetRowCount(3);
    rows.SetPanelFactory([](const ui::DbRow& row) {
        return new QLabel(QString::fromStdString(row.AsString("Kod")));
    });
    rows.SetDataSource(&parcels.source);
    rows.resize(200, 300);
    rows.show();
    const auto panelText = [&](int i) { return rows.Panel(i)->findChild<QLabel*>()->text(); };
    ASSERT_EQ(rows.PanelCount(), 3);
    EXPECT_EQ(panelText(2), "P00002");
    EXPECT_EQ(rows.PanelIndex(), 0);

    QTest::mouseClick(&rows, Qt::LeftButton, {}, rows.Panel(2)->geometry().center());
    EXPECT_EQ(parcels.table.RecNo(), 3);
    EXPECT_EQ(rows.PanelIndex(), 2);
    QTest::keyClick(&rows, Qt::Key_Down); // the window follows the cursor
    EXPECT_EQ(rows.TopRow(), 1);
    EXPECT_EQ(panelText(2), "P00003");
    parcels.table.Last();
    EXPECT_EQ(rows.TopRow(), 3);
    EXPECT_EQ(panelText(2), "P00005");
    EXPECT_EQ(rows.PanelIndex(), 2);
}

TEST_F(DBControls, LetGoOfADestroyedDataSet) {
    Parcels parcels;
    auto table = std::make_unique<db::TTable>(parcels.session, "Temp");
    table->SetTableName("parcellak");
    table->Open();
    db::TDataSource source(table.get());
    ui::TDBEdit edit;
    edit.SetDataSource(&source);
    edit.SetDataField("Kod");
    ui::TDBCheckBox check;
    check.SetDataSource(&source);
    check.SetDataField("Ont");
    ui::TDBLookupListBox list;
    list.SetListSource(&source);
    list.SetKeyField("Kod");
    ui::TDBCtrlGrid rows;
    rows.SetPanelFactory([](const ui::DbRow&) { return new QLabel("x"); });
    rows.SetDataSource(&source);
    EXPECT_EQ(edit.Text(), "P00000");
    EXPECT_EQ(list.count(), 6);
    table.reset();
    EXPECT_EQ(edit.Text(), "");
    EXPECT_FALSE(check.Checked());
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(rows.PanelCount(), 0);
}
