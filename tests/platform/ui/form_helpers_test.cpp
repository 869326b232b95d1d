// The form helpers: a form's Ctrl-letter table, the data sets opened on its first
// activation and closed by its close, controls made at their places, list grids, and
// the widths of text fields.

#include "db_test_support.h"
#include "platform/db/query.h"
#include "platform/ui/controls.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/form_helpers.h"

#include <stdexcept>

using testui::UiTest;
using ui::TObject;

namespace {

// A small editing form written the way the program's forms are: a key table, two
// data sets opened on the first activation (the second a detail of the first).
class TKulcsForm : public ui::TForm {
public:
    explicit TKulcsForm(db::Session& session) : Table1(session), Table2(session) {
        Table1.SetTableName("parcellak");
        Table2.SetTableName("magfajtak");
        Button1 = ui::Make<ui::TButton>(this, {10, 20, 90, 27}, "Rögzítés");
        Button2 = ui::Make<ui::TButton>(this, {110, 20, 90, 27}, "Mégsem");
        Button1->OnClick = [this](TObject*) { ++saves; };
        Button2->OnClick = [this](TObject*) { Close(); };
        OnActivate = [this](TObject*) { ui::OpenOnFirstActivate(this, {&Table1, &Table2}); };
        OnClose = [this](TObject*, ui::TCloseAction& action) {
            if (keepOpen)
                action = ui::caNone;
        };
        OnKeyPress = [this](TObject*, ui::TKey& key) {
            ui::Shortcuts(key, {{'R', saveAllowed ? Button1 : nullptr}, {'X', Button2}});
        };
        SetKeyPreview(true);
    }
    db::TTable Table1;
    db::TTable Table2;
    ui::TButton* Button1;
    ui::TButton* Button2;
    int saves = 0;
    bool saveAllowed = true;
    bool keepOpen = false;
};

class FormHelpers : public UiTest {
protected:
    FormHelpers() {
        uitest::makeParcels(session, 5);
        uitest::makeCrops(session);
    }
    db::Session session;
};

TEST_F(FormHelpers, AKeyOfTheTableClicksItsButtonAndIsConsumed) {
    TKulcsForm form(session);
    ui::TKey key = ui::ctrlKey('R');
    EXPECT_TRUE(ui::Shortcuts(key, {{'R', form.Button1}, {'X', form.Button2}}));
    EXPECT_EQ(key, ui::keyNone);
    EXPECT_EQ(form.saves, 1);

    // Keys outside the table pass on untouched: other letters, Enter (never Ctrl+M).
    for (ui::TKey other : {ui::ctrlKey('T'), ui::TKey('r'), ui::keyEnter, ui::keyTab}) {
        ui::TKey passed = other;
        EXPECT_FALSE(ui::Shortcuts(passed, {{'R', form.Button1}, {'M', form.Button2}}));
        EXPECT_EQ(passed, other);
    }
    EXPECT_EQ(form.saves, 1);
}

TEST_F(FormHelpers, AKeyWithoutItsButtonIsConsumedAndClicksNothing) {
    TKulcsForm form(session);
    ShowActive(form);
    form.saveAllowed = false;
    Key(form.Button2, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(form.saves, 0);
    form.saveAllowed = true;
    Key(form.Button2, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(form.saves, 1);
    Key(form.Button2, Qt::Key_X, Qt::ControlModifier); // through the form's own key handler
    EXPECT_FALSE(form.isVisible());
}

TEST_F(FormHelpers, DataSetsOpenOnTheFirstActivationAndCloseWithTheForm) {
    TKulcsForm form(session);
    EXPECT_FALSE(form.Table1.Active());
    form.Activate();
    ASSERT_TRUE(form.Table1.Active());
    ASSERT_TRUE(form.Table2.Active());
    // A later activation (a dialog in front closed) keeps the rows where they are.
    form.Table1.Last();
    form.Activate();
    EXPECT_EQ(form.Table1.FieldByName("Kod").AsString(), "P00004");

    form.Close();
    EXPECT_FALSE(form.Table1.Active());
    EXPECT_FALSE(form.Table2.Active());
    // Opened again by the next show's activation, and closed again by its close.
    form.Activate();
    EXPECT_TRUE(form.Table1.Active());
    form.Close();
    EXPECT_FALSE(form.Table1.Active());
}

TEST_F(FormHelpers, AFormKeptOpenByItsCloseHandlerKeepsItsDataSets) {
    TKulcsForm form(session);
    form.Activate();
    form.keepOpen = true;
    form.Close();
    EXPECT_TRUE(form.Table1.Active());
    form.keepOpen = false;
    form.Close();
    EXPECT_FALSE(form.Table1.Active());
}

TEST_F(FormHelpers, ADataSetOpenBeforeTheActivationStaysTheCallersToClose) {
    TKulcsForm form(session);
    form.Table2.Open();
    form.Activate();
    form.Close();
    EXPECT_FALSE(form.Table1.Active());
    EXPECT_TRUE(form.Table2.Active());
}

TEST_F(FormHelpers, TheLastDataSetOpenedIsClosedFirst) {
    TKulcsForm form(session);
    std::vector<std::string> closed;
    form.Table1.BeforeClose = [&](db::TDataSet&) { closed.push_back("Table1"); };
    form.Table2.BeforeClose = [&](db::TDataSet&) { closed.push_back("Table2"); };
    form.Activate();
    form.Close();
    EXPECT_EQ(closed, (std::vector<std::string>{"Table2", "Table1"}));
}

TEST_F(FormHelpers, MakePlacesTheControlAndListGridShowsTheColumnsReadOnly) {
    ui::TForm form;
    db::TTable table(session);
    table.SetTableName("parcellak");
    db::TDataSource source(&table);
    auto* box = ui::Make<ui::TGroupBox>(&form, {8, 10, 300, 120}, "Módosítás :");
    auto* label = ui::Make<ui::TLabel>(box, {12, 28, 70, 16}, "Név :");
    auto* combo = ui::Make<ui::TComboBox>(box, {86, 24, 200, 22}, ui::csDropDownList);
    EXPECT_EQ(box->geometry(), QRect(8, 10, 300, 120));
    EXPECT_EQ(label->parentWidget(), box);
    EXPECT_EQ(label->Caption(), "Név :");
    EXPECT_EQ(combo->geometry(), QRect(86, 24, 200, 22));
    EXPECT_EQ(combo->Style(), ui::csDropDownList);

    ui::TDBGrid* grid = ui::ListGrid(&form, {8, 140, 400, 200}, &source,
                                     {{"Kod", "Kód", 80}, {"Agazat", "Ágazat", 150}});
    table.Open();
    EXPECT_EQ(grid->geometry(), QRect(8, 140, 400, 200));
    EXPECT_TRUE(grid->ReadOnly());
    EXPECT_TRUE(grid->RowSelect());
    ASSERT_EQ(grid->Columns().Count(), 2);
    EXPECT_EQ(grid->Columns()[1].FieldName(), "Agazat");
    EXPECT_EQ(grid->Columns()[1].TitleCaption(), "Ágazat");
    EXPECT_EQ(grid->Columns()[1].Width(), 150);
}

TEST_F(FormHelpers, TextFieldWidthIsTheWidthInTheFile) {
    EXPECT_EQ(ui::TextFieldWidth(session, "parcellak", "Agazat"), 30);
    EXPECT_EQ(ui::TextFieldWidth(session, "PARCELLAK.DB", "kod"), 6);
    EXPECT_THROW(ui::TextFieldWidth(session, "parcellak", "Evj"), std::invalid_argument);
    EXPECT_THROW(ui::TextFieldWidth(session, "parcellak", "Nincs"), std::invalid_argument);
}

} // namespace
