// The copier form and the planned-operations list, driven as the user drives them.

#include "operations/Muvmasoloh.h"
#include "operations/Tervkezelesh.h"
#include "register/field_fixture.h"

#include <gtest/gtest.h>

namespace {

class CopierForms : public regtest::FieldTest {
protected:
    CopierForms() {
        AddField("100000", 2025, 1);
        AddField("100001", 2025, 2);
        AddField("100002", 2025, 3);
        Insert("Raktarmozgas",
               {{"Anyagkod", "100000"}, {"Menny", "500"}, {"Datum", "2025. 03. 01."}});
    }
    void AddOperation(bool planned, const std::string& muvkod, const std::string& field,
                      const std::string& felhkod) {
        Insert(planned ? "Tervelvmuv" : "ElvMuv", {{"Muvkod", muvkod},
                                                   {"Tablakod", field},
                                                   {"Datum", "2025. 04. 01."},
                                                   {"Muvnev", "Tárcsázás"}});
        Insert(planned ? "Tervfanyag" : "felhanyag", {{"Felhkod", felhkod},
                                                      {"Muvkod", muvkod},
                                                      {"Tablakod", field},
                                                      {"Anyagkod", "100000"},
                                                      {"Menny", "100"}});
        Insert(planned ? "Tervrmozgas" : "Raktarmozgas", {{"Anyagkod", "100000"},
                                                          {"Menny", "-100"},
                                                          {"Felhanykod", felhkod},
                                                          {"Datum", "2025. 04. 01."}});
    }
    double Stock() {
        double sum = 0;
        for (const std::string& q : Column("Raktarmozgas", "Menny", "Anyagkod = '100000'"))
            sum += std::stod(q);
        return sum;
    }
};

TEST_F(CopierForms, TheSelectedOperationAndThenAllOperationsGoToTwoTargetFields) {
    AddOperation(false, "100000", "100000", "100000");
    Insert("ElvMuv", {{"Muvkod", "100001"},
                      {"Tablakod", "100000"},
                      {"Datum", "2025. 05. 01."},
                      {"Muvnev", "Vetés"}});
    forms.On<Tmuvmasolo>([&](Tmuvmasolo& f) {
        EXPECT_EQ(f.Table2.RecordCount(), 2);
        f.Table3.Next(); // the second field
        f.Button1->Click();
        f.Table3.Next(); // the third field: the lists stayed where they were
        EXPECT_EQ(f.Table3.FieldByName("Parckod").AsString(), "100002");
        f.Button2->Click();
    });
    dialogs.Expect("Valóban másolja a kijelölt műveletet a céltábla műveleteihet?", ui::mrYes);
    dialogs.Expect("A másolás befejeződött. Kér további másolását?", ui::mrYes);
    dialogs.Expect("Valóban másolja a kijelölt forrás parcellához tartozó összes műveletet a "
                   "céltábla műveleteihet?",
                   ui::mrYes);
    dialogs.Expect("A másolás befejeződött. Kér további másolását?", ui::mrNo);
    ui::ShowModalForm(muvmasolo, session);
    dialogs.VerifyDone();
    EXPECT_EQ(Count("ElvMuv", "Tablakod = '100001'"), 1u);
    EXPECT_EQ(Count("ElvMuv", "Tablakod = '100002'"), 2u);
    EXPECT_EQ(Count("felhanyag"), 3u);
    EXPECT_EQ(Stock(), 200);
}

TEST_F(CopierForms, ACopyWithoutATargetFieldIsRefusedAndNoAnswerCopiesNothing) {
    AddOperation(false, "100000", "100000", "100000");
    for (const char* field : {"100000", "100001", "100002"}) {
        db::TTable rows(session, "Fields");
        rows.SetTableName("parcellak");
        rows.Open();
        ASSERT_TRUE(rows.Locate("Parckod", {db::Value(std::string(field))}));
        rows.Edit();
        rows.FieldByName("Aktiv").SetAsString("N");
        rows.Post();
    }
    forms.On<Tmuvmasolo>([&](Tmuvmasolo& f) {
        EXPECT_TRUE(f.Table1.IsEmpty());
        f.CheckBox1->SetChecked(false); // the inactive fields of the source list
        EXPECT_EQ(f.Table2.RecordCount(), 1);
        f.Button1->Click();
        f.Button1->Click();
        f.Button3->Click();
    });
    dialogs.Expect("Valóban másolja a kijelölt műveletet a céltábla műveleteihet?", ui::mrNo);
    dialogs.Expect("Valóban másolja a kijelölt műveletet a céltábla műveleteihet?", ui::mrYes);
    dialogs.Expect("Nincs kiválasztott cél tábla, a másolás nem végezhető el!");
    ui::ShowModalForm(muvmasolo, session);
    dialogs.VerifyDone();
    EXPECT_EQ(Count("ElvMuv"), 1u);
}

TEST_F(CopierForms, RealisingAndDeletingPlansFromTheList) {
    AddOperation(true, "100000", "100001", "100000");
    AddOperation(true, "100001", "100002", "100001");
    AddOperation(true, "100002", "100002", "100002");
    forms.On<TTervkezeles>([&](TTervkezeles& f) {
        ASSERT_EQ(f.Query1.RecordCount(), 3);
        EXPECT_EQ(f.Query1.FieldByName("Muvkod").AsString(), "100000");
        f.Button2->Click();
        EXPECT_EQ(f.Query1.RecordCount(), 2);
        f.Button2->Click(); // the next one gets the next code
        EXPECT_EQ(f.Query1.RecordCount(), 1);
        f.Button4->Click();
        EXPECT_TRUE(f.Query1.IsEmpty());
        f.Button2->Click(); // nothing is current: nothing happens
        f.Button4->Click();
        f.Button1->Click();
    });
    ui::ShowModalForm(Tervkezeles, session);
    EXPECT_EQ(Column("ElvMuv", "Muvkod"), (std::vector<std::string>{"100000", "100001"}));
    EXPECT_EQ(Column("ElvMuv", "Tablakod"), (std::vector<std::string>{"100001", "100002"}));
    EXPECT_EQ(Column("ElvMuv", "Datum", "Muvkod = '100000'"),
              std::vector<std::string>{"2025. 04. 01."});
    EXPECT_EQ(Count("felhanyag"), 2u);
    EXPECT_EQ(Stock(), 300);
    for (const char* table : {"Tervelvmuv", "Tervfanyag", "Tervrmozgas"})
        EXPECT_EQ(Count(table), 0u) << table;
}

} // namespace
