// The performed-operations list from its conditions form: the rows of the marked fields,
// year and dates, the totals, the calculated columns, and the printout.

#include "lists_fixture.h"
#include "reports/Elvmuvlista.h"
#include "reports/Muveleteklist.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::Contains;

class OperationsList : public liststest::ListsReportTest {
protected:
    OperationsList() {
        AddField({.parckod = "100000", .parcsor = 1, .evj = 2009, .agazat = "Búza"});
        AddField({.parckod = "100001",
                  .parcsor = 2,
                  .evj = 2009,
                  .agazat = "Kukorica",
                  .hazmeg = "O'Neil dűlő"});
        AddField({.parckod = "100002", .parcsor = 1, .evj = 2010, .agazat = "Búza"});
        AddOperation({.muvkod = "100000",
                      .tablakod = "100000",
                      .datum = sys::encodeDate(2009, 3, 1),
                      .muvnev = "Szántás",
                      .ter = 20000,
                      .gepora = 1.5,
                      .keziora = 0.5,
                      .nha = 2,
                      .szantm = "25"});
        AddOperation({.muvkod = "100001",
                      .tablakod = "100000",
                      .datum = sys::encodeDate(2009, 7, 10),
                      .muvnev = "Aratás",
                      .ter = 20000,
                      .gepora = 3,
                      .nha = 1,
                      .hozam = 5.5,
                      .mellek = "szalma"});
        AddOperation({.muvkod = "100002",
                      .tablakod = "100001",
                      .datum = sys::encodeDate(2009, 4, 2),
                      .muvnev = "Vetés",
                      .ter = 10000,
                      .gepora = 1,
                      .nha = 1});
        AddOperation({.muvkod = "100003",
                      .tablakod = "100002",
                      .datum = sys::encodeDate(2009, 9, 30),
                      .muvnev = "Tárcsázás",
                      .ter = 10000,
                      .gepora = 2,
                      .nha = 1});
        AddOperation({.muvkod = "100004",
                      .tablakod = "999999", // matches no field
                      .datum = sys::encodeDate(2009, 5, 5),
                      .muvnev = "Elveszett"});
    }

    // Runs the conditions form: `choose` sets the controls, then "Tovább >>" opens the
    // list, whose rows and totals `look` reads before it prints and closes.
    void Run(const std::function<void(Telvmuvlist&)>& choose,
             const std::function<void(TMuvList&)>& look) {
        forms.On<Telvmuvlist>([&](Telvmuvlist& f) {
            choose(f);
            f.Button2->click();
            f.Button3->click();
        });
        forms.On<TMuvList>([&](TMuvList& l) {
            look(l);
            l.Button2->click();
            l.Button1->click();
        });
        ui::ShowModalForm(elvmuvlist, session);
    }

    static std::vector<std::string> Codes(TMuvList& l) {
        std::vector<std::string> codes;
        for (l.Query1.First(); !l.Query1.Eof(); l.Query1.Next())
            codes.push_back(l.Query1.FieldByName("Muvkod").AsString());
        return codes;
    }
};

TEST_F(OperationsList, EveryFieldInTheDateRangeWithTotalsAndCalculatedColumns) {
    Run(
        [](Telvmuvlist& f) {
            EXPECT_DOUBLE_EQ(f.DateTimePicker1->Date(), sys::encodeDate(2009, 3, 1));
            EXPECT_DOUBLE_EQ(f.DateTimePicker2->Date(), sys::encodeDate(2009, 9, 30));
        },
        [](TMuvList& l) {
            EXPECT_EQ(Codes(l), (std::vector<std::string>{"100000", "100001", "100002", "100003"}));
            l.Query1.First();
            EXPECT_EQ(l.Query1.FieldByName("EwjW").AsString(), "2008/09");
            EXPECT_EQ(l.Query1.FieldByName("Pluss").AsString(), "25 cm");
            l.Query1.Next();
            EXPECT_EQ(l.Query1.FieldByName("Pluss").AsString(), " 5,5 t/ha szalma");
            EXPECT_EQ(l.Edit1->Text(), "4");
            EXPECT_EQ(l.Edit2->Text(), "2");
            EXPECT_EQ(l.Edit3->Text(), "3");
            EXPECT_EQ(l.Edit4->Text(), "7,5");
            EXPECT_EQ(l.Edit5->Text(), "0,5");
            EXPECT_EQ(l.Edit6->Text(), "5");
            l.PopupMenu1->Items(0)->Click(); // "Nyomtatás         CTRL+P"
        });
    ASSERT_EQ(output.documents.size(), 2u);
    EXPECT_EQ(output.asked, (std::vector<std::string>{"Muvlist.rav", "Muvlist.rav"}));
    const std::vector<std::string> lines = report::DocumentLines(output.documents[0]);
    EXPECT_THAT(lines, Contains("2008/09   1. tábla   Búza   Nagyföld"));
    EXPECT_THAT(lines, Contains("2009. 03. 01. | Szántás | 20 000 | 1,5 | 0,5 | 2,00 | 25 cm"));
    EXPECT_THAT(lines, Contains("2008/09   2. tábla   Kukorica   O'Neil dűlő"));
    EXPECT_THAT(lines, Contains("Összesen: | 4 | 7,5 | 0,5 | 5,00"));
}

TEST_F(OperationsList, MarkedFieldsYearSectorAndDatesNarrowTheRowsAndTotals) {
    Run(
        [](Telvmuvlist& f) {
            f.CheckBox1->SetChecked(false); // every field of every year
            for (f.Query4.First(); !f.Query4.Eof(); f.Query4.Next())
                if (f.Query4.FieldByName("Parckod").AsString() != "100001")
                    f.DBGrid1->SelectedRows().SetCurrentRowSelected(true);
            f.ComboBox2->SetText("2009");
            f.DateTimePicker1->SetDate(sys::encodeDate(2009, 7, 10));
        },
        [](TMuvList& l) {
            EXPECT_EQ(Codes(l), std::vector<std::string>{"100001"});
            EXPECT_EQ(l.Edit1->Text(), "1");
            EXPECT_EQ(l.Edit4->Text(), "3");
        });
    EXPECT_EQ(elvmuvlist, nullptr);
}

TEST_F(OperationsList, AnApostropheInTheSectorIsASectorAndABadYearIsTold) {
    dialogs.Expect("Nincs megjeleníthető művelet!");
    dialogs.Expect("Hiba! A(z) 'betakarítás éve' értéke nem egész szám !");
    forms.On<Telvmuvlist>([&](Telvmuvlist& f) {
        f.ComboBox1->SetText("Kiss' Búza");
        f.Button2->click();
        f.ComboBox2->SetText("2005x");
        f.Button2->click(); // no list
        f.Button3->click();
    });
    forms.On<TMuvList>([&](TMuvList& l) {
        EXPECT_TRUE(l.Query1.IsEmpty());
        EXPECT_FALSE(l.Button2->isEnabled());
        l.Button1->click();
    });
    ui::ShowModalForm(elvmuvlist, session);
    dialogs.VerifyDone();
    EXPECT_TRUE(output.documents.empty());
}

TEST_F(OperationsList, NoOperationAtAllClosesTheConditions) {
    RemoveEveryOperation();
    dialogs.Expect("Nincs megjeleníthető művelet!");
    ui::ShowModalForm(elvmuvlist, session);
    dialogs.VerifyDone();
    EXPECT_EQ(dialogs.Last().caption, "Üres adattábla!");
}

} // namespace
