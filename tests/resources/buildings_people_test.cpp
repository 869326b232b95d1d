// Buildings, employees and forecast sources: what their boxes write, the soft delete of
// a person, and the single row of the forecast sources.

#include "resources/Elorejelforrh.h"
#include "resources/Gazdeph.h"
#include "resources/Szemelyh.h"
#include "resources_fixture.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

using Buildings = restest::ResourcesTest;
using Employees = restest::ResourcesTest;
using ForecastSources = restest::ResourcesTest;

void NewBuilding(TGazdep& f, const std::string& name, bool animals, const std::string& capacity,
                 const std::string& year) {
    f.Button1->click();
    f.Edit1->SetText(name);
    f.CheckBox1->SetChecked(animals);
    f.Edit2->SetText(capacity);
    f.Edit3->SetText(year);
    f.Button6->click();
}

TEST_F(Buildings, NewBuildingsAllGetCodeOneAndAnimalsForceSquareMetres) {
    forms.On<TGazdep>([](TGazdep& f) {
        NewBuilding(f, "Magtár", false, "120", "1978");
        f.Button1->click();
        f.CheckBox1->SetChecked(true);
        EXPECT_EQ(f.ComboBox1->Text(), "m2");
        EXPECT_FALSE(f.ComboBox1->Enabled());
        f.CheckBox1->SetChecked(false);
        EXPECT_EQ(f.ComboBox1->Text(), "kg");
        EXPECT_TRUE(f.ComboBox1->Enabled());
        f.Button5->click(); // "Mégsem" writes nothing
        NewBuilding(f, "Istálló", true, "300", "1990");
        f.Button4->click();
    });
    ui::ShowModalForm(Gazdep, session);
    EXPECT_EQ(Column("Gazdepulet", "Epkod"), (std::vector<std::string>{"1", "1"}));
    EXPECT_EQ(Column("Gazdepulet", "Epnev"), (std::vector<std::string>{"Magtár", "Istálló"}));
    EXPECT_EQ(Column("Gazdepulet", "Allat"), (std::vector<std::string>{"NEM", "IGEN"}));
    EXPECT_EQ(Column("Gazdepulet", "Befmert"), (std::vector<std::string>{"kg", "m2"}));
    EXPECT_EQ(Column("Gazdepulet", "Letesit"), (std::vector<std::string>{"1978", "1990"}));
}

// A capacity is more than nothing and a year is a year: refused, the box stays open.
TEST_F(Buildings, ANegativeCapacityOrALetterInTheYearIsRefused) {
    dialogs.Expect("A(z) 'Befogadóképesség' értéke nem lehet nulla vagy negatív !");
    dialogs.Expect("Hiba! A(z) 'Létesítés éve' értéke nem egész szám !");
    forms.On<TGazdep>([](TGazdep& f) {
        NewBuilding(f, "Magtár", false, "-500", "1978");
        EXPECT_TRUE(f.GroupBox1->Visible());
        f.Edit2->SetText("500");
        f.Edit3->SetText("19a0");
        f.Button6->click();
        EXPECT_TRUE(f.GroupBox1->Visible());
        f.Button5->click();
        f.Button4->click();
    });
    ui::ShowModalForm(Gazdep, session);
    dialogs.VerifyDone();
    EXPECT_TRUE(Column("Gazdepulet", "Epnev").empty());
}

TEST_F(Buildings, ModifyKeepsAStoredUnitAndDeleteAsks) {
    restest::AddRow(session, "Gazdepulet", [](db::TTable& t) {
        t.FieldByName("Epkod").SetAsString("1");
        t.FieldByName("Epnev").SetAsString("Tyúkól");
        t.FieldByName("Allat").SetAsString("IGEN");
        t.FieldByName("Befmert").SetAsString("db");
        t.FieldByName("Befk").SetAsString("500");
    });
    dialogs.Expect("Valóban törölni szeretné a kijelölt épületel?", ui::mrNo);
    forms.On<TGazdep>([](TGazdep& f) {
        f.Button2->click();
        f.Button3->click();
        EXPECT_EQ(f.GroupBox1->Caption(), "Gazdasági épület módosítása");
        EXPECT_TRUE(f.CheckBox1->Checked());
        EXPECT_EQ(f.ComboBox1->Text(), "db");
        EXPECT_FALSE(f.ComboBox1->Enabled());
        f.Edit2->SetText("650");
        Key(f.Edit2, Qt::Key_S, Qt::ControlModifier);
        EXPECT_FALSE(f.GroupBox1->Visible());
        Key(f.DBGrid1, Qt::Key_Escape); // closes
    });
    ui::ShowModalForm(Gazdep, session);
    dialogs.VerifyDone();
    EXPECT_EQ(Column("Gazdepulet", "Befmert"), (std::vector<std::string>{"db"}));
    EXPECT_EQ(Column("Gazdepulet", "Befk"), (std::vector<std::string>{"650"}));
}

TEST_F(Buildings, ModifyAndDeleteOnAnEmptyListDoNothing) {
    dialogs.Expect("Valóban törölni szeretné a kijelölt épületel?", ui::mrYes);
    forms.On<TGazdep>([](TGazdep& f) {
        f.Button3->click();
        EXPECT_FALSE(f.GroupBox1->Visible());
        f.Button2->click();
        f.Button4->click();
    });
    ui::ShowModalForm(Gazdep, session);
    EXPECT_EQ(Count("Gazdepulet"), 0);
}

TEST_F(Employees, SavedPeopleAreListedByNameAndDeletedOnesKeepTheirRow) {
    forms.On<TSzemelyek>([](TSzemelyek& f) {
        f.Button3->click();
        Type(f.DBEdit1, "Tóth Béla");
        Type(f.DBEdit2, "Eger");
        f.Button5->click();
        f.Button3->click();
        Type(f.DBEdit1, "Antal Éva");
        Key(f.DBEdit1, Qt::Key_S, Qt::ControlModifier);
        f.Button3->click();
        EXPECT_FALSE(f.Button3->Enabled()); // the list waits while the box is open
        EXPECT_FALSE(f.Button1->Enabled());
        Type(f.DBEdit1, "Mégsem Máté");
        f.Button6->click(); // no row is left behind
        EXPECT_TRUE(f.Button3->Enabled());
        ASSERT_EQ(f.Table1.RecordCount(), 2);
        f.Table1.First();
        EXPECT_EQ(f.Table1.FieldByName("Sznev").AsString(), "Antal Éva");
        f.Button1->click(); // deletes Antal Éva, no question
        EXPECT_EQ(f.Table1.RecordCount(), 1);
        EXPECT_EQ(f.Table1.FieldByName("Sznev").AsString(), "Tóth Béla");
        f.Button2->click();
        Type(f.DBEdit5, "06-30-111");
        f.Button5->click();
        f.Button4->click();
    });
    ui::ShowModalForm(Szemelyek, session);
    EXPECT_EQ(Column("Szemely", "Sznev"), (std::vector<std::string>{"Tóth Béla", "Antal Éva"}));
    EXPECT_EQ(Column("Szemely", "Deleted"), (std::vector<std::string>{"False", "True"}));
    EXPECT_EQ(Column("Szemely", "Tel"), (std::vector<std::string>{"06-30-111", ""}));
    EXPECT_EQ(Column("Szemely", "Hely"), (std::vector<std::string>{"Eger", ""}));
}

// Enter on "Rögzít" saves and hides the box; the next Enter lands on "Új", which opened
// it, and never on the hidden "Rögzít" (whose table is no longer in insert).
TEST_F(Employees, EnterAfterASaveReachesNoHiddenButton) {
    forms.On<TSzemelyek>([](TSzemelyek& f) {
        ShowActive(f);
        f.Button3->SetFocus();
        Key(f.Button3, Qt::Key_Return);
        Type(f.DBEdit1, "Tóth Béla");
        f.Button5->SetFocus();
        Key(f.Button5, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), f.Button3);
        Key(f.Button5, Qt::Key_Return);
        f.Button4->click();
    });
    ui::ShowModalForm(Szemelyek, session);
    EXPECT_EQ(Column("Szemely", "Sznev"), (std::vector<std::string>{"Tóth Béla"}));
    dialogs.VerifyDone();
}

TEST_F(Employees, ModifyAndDeleteOnAnEmptyListDoNothing) {
    forms.On<TSzemelyek>([](TSzemelyek& f) {
        f.Button2->click();
        EXPECT_FALSE(f.GroupBox1->Visible());
        f.Button1->click();
        f.Button4->click();
    });
    ui::ShowModalForm(Szemelyek, session);
    EXPECT_EQ(Count("Szemely"), 0);
}

TEST_F(ForecastSources, TheFirstSaveMakesTheOneRowAndLaterSavesChangeIt) {
    forms.On<TElorejelforr>([](TElorejelforr& f) {
        EXPECT_TRUE(f.RadioButton1->Checked());
        EXPECT_TRUE(f.RadioButton5->Checked());
        f.RadioButton4->SetChecked(true);
        Type(f.DBEdit1, "csapdák");
        f.Button2->click();
    });
    forms.On<TElorejelforr>([](TElorejelforr& f) {
        EXPECT_TRUE(f.RadioButton4->Checked());
        EXPECT_TRUE(f.RadioButton5->Checked());
        EXPECT_EQ(f.DBEdit1->Text(), "csapdák");
        f.RadioButton7->SetChecked(true);
        f.Button2->click();
    });
    forms.On<TElorejelforr>([](TElorejelforr& f) {
        Type(f.DBEdit4, "nem marad meg");
        f.RadioButton1->SetChecked(true);
        f.Button1->click();
    });
    ui::ShowModalForm(Elorejelforr, session);
    ui::ShowModalForm(Elorejelforr, session);
    ui::ShowModalForm(Elorejelforr, session);
    EXPECT_EQ(Column("Megffej", "Kar"), (std::vector<std::string>{"3"}));
    EXPECT_EQ(Column("Megffej", "Ido"), (std::vector<std::string>{"2"}));
    EXPECT_EQ(Column("Megffej", "Karsr"), (std::vector<std::string>{"csapdák"}));
    EXPECT_EQ(Column("Megffej", "Idoszr"), (std::vector<std::string>{""}));
}

TEST_F(ForecastSources, AnUnknownStoredSourceShowsAsNoneAndIsSavedAsNone) {
    restest::AddRow(session, "Megffej", [](db::TTable& t) {
        t.FieldByName("Kar").SetAsInteger(7);
        t.FieldByName("Ido").SetAsInteger(1);
    });
    forms.On<TElorejelforr>([](TElorejelforr& f) {
        EXPECT_TRUE(f.RadioButton1->Checked());
        EXPECT_TRUE(f.RadioButton6->Checked());
        f.Button2->click();
    });
    ui::ShowModalForm(Elorejelforr, session);
    EXPECT_EQ(Column("Megffej", "Kar"), (std::vector<std::string>{"0"}));
    EXPECT_EQ(Column("Megffej", "Ido"), (std::vector<std::string>{"1"}));
}

} // namespace

namespace {

// The form's pop-up menu is the box's while the box is open, the list's otherwise.
TEST_F(Buildings, ThePopUpMenuFollowsTheBox) {
    forms.On<TGazdep>([](TGazdep& f) {
        EXPECT_EQ(f.PopupMenu(), f.PopupMenu1);
        f.PopupMenu1->Items(0)->Click(); // "Új bevitele"
        EXPECT_TRUE(f.GroupBox1->Visible());
        EXPECT_EQ(f.PopupMenu(), f.PopupMenu2);
        f.Edit1->SetText("Góré");
        f.PopupMenu2->Items(0)->Click(); // "Rögzít"
        EXPECT_FALSE(f.GroupBox1->Visible());
        EXPECT_EQ(f.PopupMenu(), f.PopupMenu1);
        f.PopupMenu1->Items(3)->Click(); // "Rendben"
    });
    ui::ShowModalForm(Gazdep, session);
    EXPECT_EQ(Column("Gazdepulet", "Epnev"), (std::vector<std::string>{"Góré"}));
}

} // namespace
