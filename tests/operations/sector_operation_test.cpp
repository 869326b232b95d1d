// Recording one operation on every active field of a sector.

#include "operations/Agazatimuvadath.h"
#include "operations/Ujmuvh.h"
#include "register/cascade_deletes.h"
#include "register/field_fixture.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

class SectorOperationTest : public regtest::FieldTest {
protected:
    SectorOperationTest() {
        AddField("100000", 2025, 1, {{"Ter", "12345"}});
        AddField("100001", 2025, 2, {{"Ter", "12300"}});
        AddField("100002", 2025, 3, {{"Aktiv", "N"}});
        AddField("100003", 2024, 1);
        AddField("100004", 2025, 4, {{"Agazat", "Gyep 'A'"}});
        Insert("Normalhektar", {{"Kod", "900000"},
                                {"Muv", "Szántás teszt"},
                                {"Muvid", "0"},
                                {"Nha", "1"},
                                {"Extra", "1"}});
        Insert("Erogepek", {{"Gepkod", "100000"}, {"Geptip", "MTZ"}, {"Tul", "0"}});
        Insert("Munkagepek", {{"Gepkod", "100007"}, {"Gepnev", "Eke"}, {"Tul", "0"}});
    }

    void ChooseType(TAgazatimuvadat& f) {
        f.ComboBox3->SetItemIndex(0);
        ASSERT_TRUE(f.Table1.Locate("Kod", {db::Value(std::string("900000"))}));
        f.DBLookupListBox1->SetKeyValue(f.Table1.FieldByName("Kod").AsValue());
        f.DBLookupListBox1Click(nullptr);
    }
};

TEST_F(SectorOperationTest, NormalHectaresAreRaisedToTheNextHundredth) {
    EXPECT_DOUBLE_EQ(ops::SectorNha(1.0, 12345), 1.24);
    EXPECT_DOUBLE_EQ(ops::SectorNha(1.0, 12300), 1.23);
    EXPECT_DOUBLE_EQ(ops::SectorNha(0.5, 10000), 0.5);
    EXPECT_FALSE(std::signbit(ops::SectorNha(0, 12345))); // a type without factor stores 0, not -0
}

TEST_F(SectorOperationTest, EveryActiveFieldOfTheSectorAndYearGetsARowWithConsecutiveCodes) {
    Insert("ElvMuv", {{"Muvkod", "100041"}, {"Tablakod", "100003"}});
    forms.On<TAgazatimuvadat>([&](TAgazatimuvadat& f) {
        f.ComboBox1->SetItemIndex(f.ComboBox1->Items().IndexOf("búza"));
        EXPECT_EQ(f.ComboBox2->Text(), "2025"); // the latest year is chosen
        ChooseType(f);
        EXPECT_FALSE(f.Edit3->isHidden()); // the depth input of the type
        EXPECT_EQ(f.Label9->Caption(), "Mélység:");
        f.Edit1->SetText("1,5");
        f.Edit3->SetText("25");
        f.CheckBox1->SetChecked(true);
        f.Button1->Click();
    });
    ui::ShowModalForm(Agazatimuvadat, session);
    EXPECT_EQ(Column("ElvMuv", "Tablakod"),
              (std::vector<std::string>{"100003", "100000", "100001"}));
    EXPECT_EQ(Column("ElvMuv", "Muvkod", "Tablakod <> '100003'"),
              (std::vector<std::string>{"100042", "100043"}));
    EXPECT_EQ(Column("ElvMuv", "Nha", "Tablakod <> '100003'"),
              (std::vector<std::string>{"1,24", "1,23"}));
    EXPECT_EQ(Column("ElvMuv", "Ter", "Muvkod = '100042'"), std::vector<std::string>{"12345"});
    EXPECT_EQ(Column("ElvMuv", "Gepora", "Muvkod = '100042'"), std::vector<std::string>{"1,5"});
    EXPECT_EQ(Column("ElvMuv", "Szantm", "Muvkod = '100042'"), std::vector<std::string>{"25"});
    EXPECT_EQ(Column("ElvMuv", "Szolg", "Muvkod = '100042'"), std::vector<std::string>{"IGEN"});
    EXPECT_EQ(Column("ElvMuv", "Erogepkod", "Muvkod = '100042'"),
              std::vector<std::string>{"100000"});
    EXPECT_EQ(Column("ElvMuv", "Munkagepkod", "Muvkod = '100043'"),
              std::vector<std::string>{"100007"});
    EXPECT_EQ(Column("ElvMuv", "Muvid", "Muvkod = '100043'"), std::vector<std::string>{"900000"});
}

TEST_F(SectorOperationTest, ASectorWithAnApostropheWorksAndOneWithoutActiveFieldsStoresNothing) {
    ops::SectorOperation run;
    run.agazat = "Gyep 'A'";
    run.evj = 2025;
    run.factor = 1;
    EXPECT_EQ(ops::RecordSectorOperation(session, run), 1);
    EXPECT_EQ(Column("ElvMuv", "Tablakod"), std::vector<std::string>{"100004"});
    run.evj = 2023;
    EXPECT_EQ(ops::RecordSectorOperation(session, run), 0);
    EXPECT_EQ(Count("ElvMuv"), 1u);
}

TEST_F(SectorOperationTest, ARunWithoutTypeOrMachinesOrWithBadHoursIsRefused) {
    auto run = [&](const std::string& hours, bool pick = true) {
        forms.On<TAgazatimuvadat>([&](TAgazatimuvadat& f) {
            f.ComboBox1->SetItemIndex(f.ComboBox1->Items().IndexOf("búza"));
            if (pick)
                ChooseType(f);
            f.Edit1->SetText(hours);
            f.Button1->Click();
            f.Button2->Click();
        });
        ui::ShowModalForm(Agazatimuvadat, session);
    };
    dialogs.Expect("Nincs kiválasztott művelet! Válasszon művelet típust és megnevezést.");
    run("2", false); // the list's first type is not taken for a pick
    dialogs.ExpectContaining("'Gépóra' értéke nem szám");
    run("másfél");
    dialogs.Expect("A(z) 'Gépóra' értéke nem lehet negatív !");
    run("-2");
    reg::DeleteRows(session, "Munkagepek", "Gepkod = '100007'");
    dialogs.Expect("Nincs kiválasztott erőgép vagy munkagép! Válasszon mindkettőből.");
    run("2");
    dialogs.VerifyDone();
    EXPECT_EQ(Count("ElvMuv"), 0u);
}

TEST_F(SectorOperationTest, ThePlusBesideTheTypeOpensTheNewTypeForm) {
    forms.On<TAgazatimuvadat>([&](TAgazatimuvadat& f) {
        f.SpeedButton1->Click();
        f.Button2->Click();
    });
    forms.CloseWith<TUjmuv>(ui::mrCancel);
    ui::ShowModalForm(Agazatimuvadat, session);
    forms.VerifyDone();
    EXPECT_EQ(forms.Shown(), (std::vector<std::string>{"TAgazatimuvadat", "TUjmuv"}));
}

} // namespace
