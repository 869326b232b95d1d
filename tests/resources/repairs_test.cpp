// Machine repairs in both modes: the repairs of one kind listed by date with their
// machine, new, modified and deleted repairs, and the form without own machines.

#include "resources/Gepjavitash.h"
#include "resources_fixture.h"

#include <gtest/gtest.h>

namespace {

using restest::AddMachine;

class Repairs : public restest::ResourcesTest {
protected:
    Repairs() {
        AddMachine(session, "Erogepek", "100001", "MTZ 82", 0);
        AddMachine(session, "Erogepek", "100002", "Zetor", 0);
        AddMachine(session, "Munkagepek", "100001", "Eke", 0);
        AddMachine(session, "Munkagepek", "100002", "Tárcsa", 0);
    }

    void AddRepair(const std::string& gepid, bool tractor, int day, const std::string& fault) {
        restest::AddRow(session, "Gepjavitas", [&](db::TTable& t) {
            t.FieldByName("Gepid").SetAsString(gepid);
            t.FieldByName("Erogep").SetAsBoolean(tractor);
            t.FieldByName("Datum").SetAsDateTime(sys::encodeDate(2010, 5, day));
            t.FieldByName("Hiba").SetAsString(fault);
        });
    }

    // Opens the form in a mode and plays `body` on it, then closes it.
    void WithRepairs(bool tractors, const std::function<void(TGepjavitas&)>& body) {
        forms.On<TGepjavitas>([&](TGepjavitas& f) {
            body(f);
            f.Button1->click();
        });
        ui::OwnedForm<TGepjavitas> form(Gepjavitas, session);
        form->PowerMachineMode = tractors;
        form->ShowModal();
    }

    static std::vector<std::string> Listed(TGepjavitas& f, const std::string& field) {
        std::vector<std::string> values;
        for (f.Query1.First(); !f.Query1.Eof(); f.Query1.Next())
            values.push_back(f.Query1.FieldByName(field).AsString());
        f.Query1.First();
        return values;
    }
};

TEST_F(Repairs, EachModeListsItsOwnKindByDateWithTheMachine) {
    AddRepair("100002", true, 20, "kuplung");
    AddRepair("100001", false, 3, "ekevas");
    AddRepair("100001", true, 7, "olajcsere");
    AddRepair("100009", true, 1, "a gép már nincs meg");
    WithRepairs(true, [](TGepjavitas& f) {
        EXPECT_EQ(f.Label1->Caption(), "Erőgépek javítása");
        EXPECT_EQ(f.HelpContext(), 31);
        EXPECT_EQ(Listed(f, "Hiba"), (std::vector<std::string>{"olajcsere", "kuplung"}));
        EXPECT_EQ(Listed(f, "Geptip"), (std::vector<std::string>{"MTZ 82", "Zetor"}));
        EXPECT_TRUE(f.DBGrid2->Visible());
        EXPECT_FALSE(f.DBGrid3->Visible());
    });
    WithRepairs(false, [](TGepjavitas& f) {
        EXPECT_EQ(f.Label1->Caption(), "Munkagép javítása");
        EXPECT_EQ(f.HelpContext(), 32);
        EXPECT_EQ(Listed(f, "Hiba"), (std::vector<std::string>{"ekevas"}));
        EXPECT_EQ(Listed(f, "Haziszam"), (std::vector<std::string>{"Eke"}));
    });
    EXPECT_EQ(Count("Gepjavitas"), 4); // the orphan repair stays in the table
}

TEST_F(Repairs, ANewImplementRepairIsWrittenForTheMachineChosenInTheBox) {
    WithRepairs(false, [](TGepjavitas& f) {
        f.Button2->click();
        ASSERT_TRUE(f.GroupBox1->Visible());
        EXPECT_EQ(f.GroupBox1->Caption(), "Új javítás");
        EXPECT_FALSE(f.DBGrid1->Enabled());
        f.DateTimePicker1->SetDate(sys::encodeDate(2011, 3, 4));
        ASSERT_TRUE(f.Table3.Locate("Gepkod", {db::Value(std::string("100002"))}));
        f.Edit1->SetText("csapágy");
        f.Edit2->SetText("Kovács");
        Key(f.Edit2, Qt::Key_S, Qt::ControlModifier);
        EXPECT_FALSE(f.GroupBox1->Visible());
        EXPECT_EQ(Listed(f, "Haziszam"), (std::vector<std::string>{"Tárcsa"}));
    });
    EXPECT_EQ(Column("Gepjavitas", "Erogep"), (std::vector<std::string>{"False"}));
    EXPECT_EQ(Column("Gepjavitas", "Gepid"), (std::vector<std::string>{"100002"}));
    EXPECT_EQ(Column("Gepjavitas", "Szerelo"), (std::vector<std::string>{"Kovács"}));
    EXPECT_EQ(Column("Gepjavitas", "Datum"), (std::vector<std::string>{"2011. 03. 04."}));
}

TEST_F(Repairs, ModifyKeepsTheIdAndDeleteAsksFirst) {
    AddRepair("100001", true, 7, "olajcsere");
    AddRepair("100002", true, 9, "fék");
    const std::vector<std::string> ids = Column("Gepjavitas", "Id");
    dialogs.Expect("Biztosan törli a kijelölt elemet?", ui::mrNo)
        .Expect("Biztosan törli a kijelölt elemet?", ui::mrYes);
    WithRepairs(true, [](TGepjavitas& f) {
        f.Query1.First();
        f.Button3->click();
        EXPECT_EQ(f.GroupBox1->Caption(), "Javítás módosítása");
        EXPECT_EQ(f.Edit1->Text(), "olajcsere");
        EXPECT_EQ(f.Table2.FieldByName("Gepkod").AsString(), "100001");
        ASSERT_TRUE(f.Table2.Locate("Gepkod", {db::Value(std::string("100002"))}));
        f.Edit1->SetText("olaj- és szűrőcsere");
        f.Button6->click();
        EXPECT_EQ(Listed(f, "Hiba"), (std::vector<std::string>{"olaj- és szűrőcsere", "fék"}));
        f.Query1.Last();
        f.Button4->click(); // No
        f.Button4->click(); // Yes
        EXPECT_EQ(Listed(f, "Hiba"), (std::vector<std::string>{"olaj- és szűrőcsere"}));
    });
    dialogs.VerifyDone();
    EXPECT_EQ(Column("Gepjavitas", "Id"), (std::vector<std::string>{ids.front()}));
    EXPECT_EQ(Column("Gepjavitas", "Gepid"), (std::vector<std::string>{"100002"}));
}

TEST_F(Repairs, WithoutOwnMachinesOfTheKindTheFormOnlyLists) {
    db::TTable implements(session); // every implement retired
    implements.SetTableName("Munkagepek");
    implements.SetFilter("Tul = 0");
    implements.SetFiltered(true);
    implements.Open();
    while (!implements.IsEmpty()) {
        implements.Edit();
        implements.FieldByName("Tul").SetAsInteger(1);
        implements.Post();
    }
    WithRepairs(false, [](TGepjavitas& f) {
        EXPECT_FALSE(f.Button2->Enabled());
        EXPECT_FALSE(f.Button3->Enabled());
        EXPECT_FALSE(f.Button4->Enabled());
        Key(f.DBGrid1, Qt::Key_U, Qt::ControlModifier);
        EXPECT_FALSE(f.GroupBox1->Visible());
    });
    WithRepairs(true, [](TGepjavitas& f) {
        EXPECT_TRUE(f.Button2->Enabled());
        Key(f.DBGrid1, Qt::Key_U, Qt::ControlModifier); // an empty list: the key does nothing
        EXPECT_FALSE(f.GroupBox1->Visible());
        f.Button2->click(); // the button still opens the box
        EXPECT_TRUE(f.GroupBox1->Visible());
        f.Button5->click();
    });
    EXPECT_EQ(Count("Gepjavitas"), 0);
}

} // namespace
