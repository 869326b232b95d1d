// Choosing and deleting a recorded operation: the lists as the user sees them, the
// choice handed on, the deletion with its materials, and the main-window command.

#include "core/Folap.h"
#include "operations/Muvmod.h"
#include "operations/Muvmodvalh.h"
#include "operations/commands.h"
#include "operations_fixture.h"

#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace opstest {
namespace {

class ChooseOperationTest : public OperationsTest {
protected:
    ChooseOperationTest() {
        AddRow(session, "tablak",
               [](db::TTable& t) { t.FieldByName("Helysz").SetAsString("Dűlő"); });
        AddField(session, "100001", 10000, "búza", 2);
        AddField(session, "100000", 20000, "árpa", 1);
    }
    void AddOperation(const std::string& muvkod, const std::string& field, const std::string& name,
                      int irrigation = 0) {
        AddRow(session, "ElvMuv", [&](db::TTable& t) {
            t.FieldByName("Muvkod").SetAsString(muvkod);
            t.FieldByName("Tablakod").SetAsString(field);
            t.FieldByName("Muvnev").SetAsString(name);
            t.FieldByName("Datum").SetAsDateTime(sys::encodeDate(2010, 4, 1));
            t.FieldByName("Evj").SetAsInteger(irrigation);
            t.FieldByName("Ter").SetAsFloat(5000);
        });
    }
    std::vector<std::string> Listed(TMuvModVal& form) {
        std::vector<std::string> names;
        for (form.Query2.First(); !form.Query2.Eof(); form.Query2.Next())
            names.push_back(form.Query2.FieldByName("Muvnev").AsString());
        form.Query2.First();
        return names;
    }
};

TEST_F(ChooseOperationTest, TheListStartsWithTheFirstActiveFieldAndShowsAllOnRequest) {
    AddOperation("100000", "100000", "Vetés", 1);
    AddOperation("100001", "100001", "Szántás");
    AddOperation("100002", "999999", "Árva"); // its field is gone: never listed
    AddRow(session, "parcellak", [](db::TTable& t) {
        t.FieldByName("Parckod").SetAsString("100002");
        t.FieldByName("Evj").SetAsInteger(2009);
        t.FieldByName("Parcsor").SetAsInteger(1);
        t.FieldByName("Aktiv").SetAsString("I");
    });
    AddOperation("100003", "100002", "Aratás"); // a closed field: only among all
    forms.On<TMuvModVal>([&](TMuvModVal& f) {
        EXPECT_EQ(f.Table1.RecordCount(), 2); // the active fields only
        EXPECT_EQ(Listed(f), std::vector<std::string>{"Vetés"});
        // The field's columns carry the suffix, the operation's keep their names.
        EXPECT_EQ(f.Query2.FieldByName("Agazat_1").AsString(), "árpa");
        EXPECT_EQ(f.Query2.FieldByName("Evj_1").AsInteger(), 2010);
        EXPECT_EQ(f.Query2.FieldByName("Evj").AsInteger(), 1);
        EXPECT_EQ(f.Query2.FieldByName("Ter").AsFloat(), 5000);
        f.Table1.Next();
        EXPECT_EQ(Listed(f), std::vector<std::string>{"Szántás"});
        f.Button1->Click();
        EXPECT_EQ(Listed(f), (std::vector<std::string>{"Vetés", "Szántás", "Aratás"}));
        f.Button2->Click();
    });
    ui::ShowModalForm(MuvModVal, session);
    dialogs.VerifyDone();
}

TEST_F(ChooseOperationTest, TheGridsShowTheirTitlesAndTheDateWhole) {
    AddOperation("100000", "100000", "műtrágyaszórás");
    forms.On<TMuvModVal>([&](TMuvModVal& f) {
        ShowActive(f);
        EXPECT_EQ(CutGridTexts(*f.DBGrid3), std::vector<std::string>{});
        EXPECT_EQ(CutGridTexts(*f.DBGrid2), std::vector<std::string>{});
        for (ui::TDBGrid* grid : {f.DBGrid3, f.DBGrid2}) // every column in sight
            EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
        f.Button2->Click();
    });
    ui::ShowModalForm(MuvModVal, session);
}

TEST_F(ChooseOperationTest, AFieldCodeWithAQuoteIsMatchedAsText) {
    AddField(session, "O'Neil", 1000, "zab", 0);
    AddOperation("100000", "O'Neil", "Vetés");
    forms.On<TMuvModVal>([&](TMuvModVal& f) {
        EXPECT_EQ(Listed(f), std::vector<std::string>{"Vetés"});
        f.Button2->Click();
    });
    ui::ShowModalForm(MuvModVal, session);
}

TEST_F(ChooseOperationTest, TheChoiceIsHandedOnAndAnEmptyListIsRefused) {
    AddOperation("100001", "100001", "Szántás");
    forms.On<TMuvModVal>([&](TMuvModVal& f) {
        f.Button3->Click(); // the first field has no operation
        EXPECT_EQ(f.SelectedOperationCode, "");
        f.Table1.Next();
        // Enter on the operations grid, as the keyboard sends it; answered No: the
        // chooser closes.
        QTest::keyClick(f.DBGrid2, Qt::Key_Return);
        EXPECT_EQ(f.SelectedOperationCode, "100001");
    });
    forms.On<TMuvModo>([](TMuvModo& f) { f.Button1->click(); });
    dialogs.Expect("A műveletek listája táblázat üres !");
    dialogs.Expect("Kér-e további módosítást ?", ui::mrNo);
    ui::ShowModalForm(MuvModVal, session);
    dialogs.VerifyDone();
}

TEST_F(ChooseOperationTest, AChoiceOutsideTheNameColumnIsRefused) {
    AddOperation("100000", "100000", "Vetés");
    forms.On<TMuvModVal>([&](TMuvModVal& f) {
        f.DBGrid2->setCurrentIndex(f.DBGrid2->model()->index(0, 2));
        f.Button3->Click();
        EXPECT_EQ(f.SelectedOperationCode, "");
        f.Button2->Click();
    });
    dialogs.Expect("Nincs művelet kijelölve !");
    ui::ShowModalForm(MuvModVal, session);
    dialogs.VerifyDone();
    EXPECT_EQ(dialogs.Shown()[0].caption, "Nincs művelet!");
}

TEST_F(ChooseOperationTest, DeletingTakesTheMaterialsBackToStockAndKeepsTheField) {
    AddFertiliser(session, "100000", "Pétisó", "kg");
    Buy(session, "100000", 100, sys::encodeDate(2010, 3, 1));
    AddOperation("100000", "100000", "Műtrágyázás");
    AddOperation("100001", "100000", "Vetés");
    AddOperation("100002", "100001", "Szántás"); // another field's
    AddRow(session, "felhanyag", [](db::TTable& t) {
        t.FieldByName("Felhkod").SetAsString("100000");
        t.FieldByName("Muvkod").SetAsString("100000");
        t.FieldByName("Tablakod").SetAsString("100000");
        t.FieldByName("Anyagkod").SetAsString("100000");
    });
    AddRow(session, "Raktarmozgas", [](db::TTable& t) {
        t.FieldByName("Anyagkod").SetAsString("100000");
        t.FieldByName("Menny").SetAsFloat(-30);
        t.FieldByName("Felhanykod").SetAsString("100000");
    });
    forms.On<TMuvModVal>([&](TMuvModVal& f) {
        f.Button4->Click(); // answered No: nothing goes
        EXPECT_EQ(Listed(f).size(), 2u);
        f.Button4->Click();
        EXPECT_EQ(Listed(f), std::vector<std::string>{"Vetés"}); // still this field only
        f.Button2->Click();
    });
    dialogs.Expect("Valóban törli a kijelölt műveletet?", ui::mrNo);
    dialogs.Expect("Valóban törli a kijelölt műveletet?", ui::mrYes);
    ui::ShowModalForm(MuvModVal, session);
    dialogs.VerifyDone();
    EXPECT_EQ(Count("ElvMuv"), 2);
    EXPECT_EQ(Count("felhanyag"), 0);
    EXPECT_EQ(Column("Raktarmozgas", "Menny"), std::vector<std::string>{"100"});
}

// The first field has no operation: the deletion still asks and then deletes nothing.
TEST_F(ChooseOperationTest, DeletingFromAnEmptyListAsksAndDeletesNothing) {
    AddOperation("100001", "100001", "Szántás");
    forms.On<TMuvModVal>([&](TMuvModVal& f) {
        EXPECT_TRUE(Listed(f).empty());
        f.Button4->Click();
        EXPECT_TRUE(Listed(f).empty());
        f.Button2->Click();
    });
    dialogs.Expect("Valóban törli a kijelölt műveletet?", ui::mrYes);
    ui::ShowModalForm(MuvModVal, session);
    dialogs.VerifyDone();
    EXPECT_EQ(Count("ElvMuv"), 1);
}

TEST_F(ChooseOperationTest, NoLandParcelsDisablesTheActionsUntilARowIsClicked) {
    db::TTable t(session);
    t.SetTableName("tablak");
    t.Open();
    t.Delete();
    t.Close();
    forms.On<TMuvModVal>([&](TMuvModVal& f) {
        EXPECT_FALSE(f.Button3->Enabled());
        EXPECT_FALSE(f.Button4->Enabled());
        f.DBGrid2->OnCellClick(f.DBGrid2->Columns()[0]);
        EXPECT_TRUE(f.Button3->Enabled());
        f.Button2->Click();
    });
    dialogs.Expect("Nincsenek táblák rögzítve !");
    ui::ShowModalForm(MuvModVal, session);
    dialogs.VerifyDone();
}

TEST_F(ChooseOperationTest, TheMainWindowCommandAndButtonOpenTheForm) {
    app->CreateForm(Folap1, session);
    Folap1->Timer1->SetEnabled(false);
    InstallOperationCommands(*Folap1, session);
    ui::TMenuItem* item = Folap1->FindMenuItem({"Műveletek", "Műveletek módosítása"});
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->Enabled());
    EXPECT_TRUE(Folap1->ToolButton2->Enabled());
    EXPECT_EQ(Folap1->ToolButton2->Hint(), "Műveletek módosítása");
    ShowActive(*Folap1);
    forms.CloseWith<TMuvModVal>(ui::mrCancel);
    forms.CloseWith<TMuvModVal>(ui::mrCancel);
    item->Click();
    Folap1->ToolButton2->Click();
    forms.VerifyDone();
    EXPECT_EQ(forms.Shown(), (std::vector<std::string>{"TMuvModVal", "TMuvModVal"}));
    app.reset();
    Folap1 = nullptr;
}

} // namespace
} // namespace opstest
