// The form helpers: a form's Ctrl-letter table, the data sets opened on its first
// activation and closed by its close, controls made at their places, list grids, edit
// boxes over a list, and the widths of text fields; and what every form does alike: a
// handler that fails drops the row it began, Tab leaves a list, a typed text stays.

#include "db_test_support.h"
#include "platform/db/query.h"
#include "platform/ui/controls.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/form_helpers.h"

#include <QApplication>
#include <QLineEdit>
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

// A save refused part-way (a value that cannot be read after the row was begun) leaves
// no half-filled row for the next insert to post; a row the user was already editing
// before the click stays in edit.
TEST_F(FormHelpers, AHandlerThatFailsDropsTheRowItBeganAndKeepsAnEarlierOne) {
    TKulcsForm form(session);
    ShowActive(form);
    form.Button1->OnClick = [&](TObject*) {
        form.Table1.Insert();
        form.Table1.FieldByName("Kod").SetAsString("P99999");
        throw std::runtime_error("rossz dátum");
    };
    dialogs.Expect("rossz dátum.").Expect("rossz dátum.");
    form.Button1->click();
    EXPECT_EQ(form.Table1.State(), db::DataSetState::Browse);
    form.Table1.Last();
    EXPECT_EQ(form.Table1.RecordCount(), 5);

    form.Table1.First();
    form.Table1.Edit();
    form.Table1.FieldByName("Agazat").SetAsString("kézzel");
    form.Button2->OnClick = [](TObject*) { throw std::runtime_error("rossz dátum"); };
    form.Button2->click();
    EXPECT_EQ(form.Table1.State(), db::DataSetState::Edit);
    EXPECT_EQ(form.Table1.FieldByName("Agazat").AsString(), "kézzel");
    dialogs.VerifyDone();
}

// An edit box over a list gives the focus back to the button that opened it when its
// save hides it, so that the next Enter presses no hidden button; a choice box opened
// from it disables it while the choice is made.
TEST_F(FormHelpers, AnEditBoxGivesTheFocusBackAndAChoiceBoxOverItDisablesIt) {
    ui::TForm form;
    auto* open = ui::Make<ui::TButton>(&form, {8, 8, 80, 27}, "Új");
    auto* box = ui::Make<ui::TGroupBox>(&form, {8, 40, 300, 120}, "Feljegyzés");
    auto* save = ui::Make<ui::TButton>(box, {8, 80, 80, 27}, "Rögzít");
    auto* choose = ui::Make<ui::TButton>(box, {100, 80, 80, 27}, "Mintahely");
    auto* choice = ui::Make<ui::TGroupBox>(&form, {8, 40, 200, 80}, "Mintahely");
    for (QWidget* hidden : {static_cast<QWidget*>(box), static_cast<QWidget*>(choice)}) {
        hidden->hide();
        ui::EditBoxOverList(hidden);
    }
    int saves = 0;
    open->OnClick = [&](TObject*) {
        box->Show();
        save->SetFocus();
    };
    save->OnClick = [&](TObject*) {
        ++saves;
        box->Hide();
    };
    choose->OnClick = [&](TObject*) { choice->Show(); };
    ShowActive(form);
    open->SetFocus();
    Key(open, Qt::Key_Return);
    choose->click();
    EXPECT_TRUE(choice->isEnabled());
    EXPECT_FALSE(box->isEnabled());
    choice->Hide();
    EXPECT_TRUE(box->isEnabled());

    Key(save, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), open);
    Key(save, Qt::Key_Return); // hidden now
    EXPECT_EQ(saves, 1);
    EXPECT_TRUE(open->isEnabled());
}

// Tab leaves a list for the next control and keeps its current row; a box for typed
// text keeps a half-typed value instead of completing it to a listed one.
TEST_F(FormHelpers, TabLeavesAListAndATypedTextIsNotCompleted) {
    ui::TForm form;
    db::TTable table(session);
    table.SetTableName("parcellak");
    db::TDataSource source(&table);
    ui::TDBGrid* grid = ui::ListGrid(&form, {8, 8, 300, 150}, &source,
                                     {{"Kod", "Kód", 80}, {"Agazat", "Ágazat", 150}});
    auto* combo = ui::Make<ui::TComboBox>(&form, {8, 170, 200, 22});
    combo->Items().Add("SZ-2024/001");
    form.SetTabOrder({grid, combo});
    table.Open();
    ShowActive(form);
    grid->SetFocus();
    for (int i = 0; i < 3; ++i)
        Key(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(table.RecNo(), 1);

    combo->SetFocus();
    combo->lineEdit()->clear();
    Type(combo->lineEdit(), "SZ-2");
    EXPECT_EQ(combo->Text(), "SZ-2");
}

} // namespace
