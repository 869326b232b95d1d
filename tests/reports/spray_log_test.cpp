// The spray log from its conditions form: the pesticide uses of the chosen fields, year,
// sector and dates, the columns worked out per row, the listing's two printouts and the
// diary's spray sheet of each period, and the messages of an empty log.

#include "core/Folap.h"
#include "lists_fixture.h"
#include "register/keep_pdf.h"
#include "reports/Permnaploh.h"
#include "reports/Permnaploszukh.h"
#include "reports/spray_log.h"

#include <QHeaderView>
#include <QStyle>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <set>

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

struct Use {
    std::string muvkod, tablakod, anyagkod, anyagtip = "000001";
    double menny = 0;
    std::string mert = "l", permetle = "", felelos = "";
};

class SprayLog : public liststest::ListsReportTest {
protected:
    SprayLog() {
        AddField({.parckod = "100000", .parcsor = 1, .evj = 2009, .agazat = "Búza"});
        AddField({.parckod = "100001",
                  .parcsor = 2,
                  .evj = 2009,
                  .agazat = "Kukorica",
                  .aktiv = "N",
                  .hazmeg = "Alsó rét"});
        AddField(
            {.parckod = "100002", .parcsor = 1, .evj = 2010, .agazat = "Búza", .hazmeg = "Ék"});
        AddMachine("Erogepek", "E00001", "MTZ-82", "1");
        AddMachine("Munkagepek", "M00001", "Permetező RAU", "2");
        AddPesticide("200000", "Decis", "deltametrin", "14");
        AddPesticide("200001", "Karate", "lambda-cihalotrin", "21");
        AddOperation({.muvkod = "100000",
                      .tablakod = "100000",
                      .datum = sys::encodeDate(2009, 5, 10),
                      .muvnev = "Permetezés",
                      .ter = 12345,
                      .erogep = "E00001",
                      .munkagep = "M00001"});
        AddOperation({.muvkod = "100001",
                      .tablakod = "100001",
                      .datum = sys::encodeDate(2009, 5, 10),
                      .muvnev = "Gyomirtás",
                      .ter = 5000});
        AddOperation({.muvkod = "100002",
                      .tablakod = "100002",
                      .datum = sys::encodeDate(2009, 6, 1),
                      .muvnev = "Vetés",
                      .ter = 10000});
        AddOperation({.muvkod = "100003",
                      .tablakod = "100000",
                      .datum = sys::encodeDate(2009, 4, 1),
                      .muvnev = "Szántás"});
        AddUse({"100000", "100000", "200000", "000001", 0.25, "l", "300", "Nagy Béla"});
        AddUse({"100000", "100000", "200001", "000001", 0.2, "l", "300"});
        AddUse({"100000", "100000", "100000", "000000", 100, "kg"});
        AddUse({"100001", "100001", "200000", "000001", 0.3, "l", "200"});
        AddUse({"100002", "100002", "300000", "000002", 180, "kg"});
        AddUse({"100002", "100002", "200001", "000001", 0.15, "l", "250"});
        const int zoltan = AddPerson("Zoltán Kiss"), anna = AddPerson("Anna Nagy");
        AddWorker("100000", zoltan);
        AddWorker("100000", anna);
        AddWorker("100001", AddPerson("Kovács-Szabó Erzsébet Margit"));
        AddWorker("100001", AddPerson("Ábel Péter"));
        LinkObservation("100000", AddObservation(7));
        LinkObservation("100000", AddObservation(9));
    }

    void AddPesticide(const std::string& kod, const std::string& nev, const std::string& hata,
                      const std::string& vido) {
        AddRow("Novenyvedok", [&](db::TTable& t) {
            t.FieldByName("Kod").SetAsString(kod);
            t.FieldByName("Nev").SetAsString(nev);
            t.FieldByName("Hata").SetAsString(hata);
            t.FieldByName("Vido").SetAsString(vido);
        });
    }

    void AddUse(const Use& u) {
        AddRow("felhanyag", [&](db::TTable& t) {
            t.FieldByName("Muvkod").SetAsString(u.muvkod);
            t.FieldByName("Tablakod").SetAsString(u.tablakod);
            t.FieldByName("Anyagkod").SetAsString(u.anyagkod);
            t.FieldByName("Anyagtip").SetAsString(u.anyagtip);
            t.FieldByName("Menny").SetAsFloat(u.menny);
            t.FieldByName("Mert").SetAsString(u.mert);
            t.FieldByName("Permetle").SetAsString(u.permetle);
            t.FieldByName("Felelos").SetAsString(u.felelos);
        });
    }

    int AddPerson(const std::string& name) {
        return AddRow(
            "Szemely", [&](db::TTable& t) { t.FieldByName("Sznev").SetAsString(name); }, "Szid");
    }

    void AddWorker(const std::string& muvkod, int person) {
        AddRow("Munkavegz", [&](db::TTable& t) {
            t.FieldByName("Muvkod").SetAsString(muvkod);
            t.FieldByName("Szemkod").SetAsInteger(person);
        });
    }

    int AddObservation(int sorsz) {
        return AddRow(
            "Novvedmegf",
            [&](db::TTable& t) {
                t.FieldByName("Parc_id").SetAsString("100000");
                t.FieldByName("Sorsz").SetAsInteger(sorsz);
            },
            "Id");
    }

    void LinkObservation(const std::string& muvkod, int observation) {
        AddRow("muv_novmegf", [&](db::TTable& t) {
            t.FieldByName("Muvid").SetAsString(muvkod);
            t.FieldByName("Megfid").SetAsInteger(observation);
        });
    }

    // Runs the conditions form: `choose` sets the controls, then "Nyomtatás" opens the
    // listing, which `look` reads before it prints both lists and closes.
    void Run(const std::function<void(Tpermnaploszuk&)>& choose,
             const std::function<void(TPermNaplo&)>& look) {
        forms.On<Tpermnaploszuk>([&](Tpermnaploszuk& f) {
            choose(f);
            f.Button2->click();
            f.Button3->click();
        });
        forms.On<TPermNaplo>([&](TPermNaplo& l) {
            look(l);
            l.Button2->click();
            l.Button5->click();
            l.Button1->click();
        });
        OpenSprayLogConditions(session);
    }

    // Prints the diary's sheet with the conditions `choose` sets.
    void PrintSheet(const std::function<void(Tpermnaploszuk&)>& choose,
                    const std::string& projectFile = {}) {
        forms.On<Tpermnaploszuk>([&](Tpermnaploszuk& f) {
            choose(f);
            f.Button4->click();
            f.Button3->click();
        });
        OpenSprayLogConditions(session, projectFile);
    }

    // "Muvkod Nev" of each row, in order.
    static std::vector<std::string> Rows(db::TDataSet& q) {
        std::vector<std::string> rows;
        for (q.First(); !q.Eof(); q.Next())
            rows.push_back(q.FieldByName("Muvkod").AsString() + " " +
                           q.FieldByName("Nev").AsString());
        return rows;
    }
};

TEST(SprayLogTexts, TheQueryHasTheFixedWhereTextAndTheTailAfterItsBlank) {
    const std::vector<std::string> sql = spray::SprayLogSql("AND (Tablakod = '100000')");
    ASSERT_EQ(sql.size(), 3u);
    EXPECT_EQ(sql[0], "SELECT * FROM parcellak,ElvMuv,felhanyag,Novenyvedok");
    EXPECT_EQ(sql[1], "WHERE (Anyagtip='000001') AND (felhanyag.Tablakod = parcellak.Parckod) "
                      "AND (ElvMuv.Tablakod = felhanyag.Tablakod) AND (felhanyag.muvkod = "
                      "ElvMuv.muvkod) AND (felhanyag.Anyagkod = Novenyvedok.Kod) AND (Tablakod "
                      "= '100000')");
    EXPECT_EQ(sql[2], "ORDER BY Datum,Hazmeg;");

    lists::OperationChoices choices;
    choices.fieldCodes = {"100000", "100001"};
    choices.year = "2009";
    choices.sector = "Kiss' Búza";
    EXPECT_EQ(spray::SprayConditionTail(choices),
              "AND (Tablakod = '100000' OR Tablakod = '100001') AND Evj = '2009' AND Agazat = "
              "'Kiss'' Búza'");
    choices.fieldCodes.clear();
    EXPECT_EQ(spray::SprayConditionTail(choices), " AND Evj = '2009' AND Agazat = 'Kiss'' Búza'");
    EXPECT_EQ(spray::HectaresText(12345), "1,2345");
    EXPECT_EQ(spray::HectaresText(0), "0");
}

TEST_F(SprayLog, EveryPesticideUseInTheDatesWithItsMachinesAndWorkers) {
    Run(
        [](Tpermnaploszuk& f) {
            EXPECT_DOUBLE_EQ(f.DateTimePicker1->Date(), sys::encodeDate(2009, 4, 1));
            EXPECT_DOUBLE_EQ(f.DateTimePicker2->Date(), sys::encodeDate(2009, 6, 1));
            EXPECT_EQ(f.ConditionTail, "");
        },
        [](TPermNaplo& l) {
            const std::vector<std::string> rows = Rows(l.Query1);
            ASSERT_EQ(rows.size(), 4u); // no fertiliser, seed or operation without a pesticide
            EXPECT_EQ(rows[0], "100001 Decis"); // same day: "Alsó rét" before "Nagyföld"
            EXPECT_EQ(std::set<std::string>(rows.begin() + 1, rows.begin() + 3),
                      (std::set<std::string>{"100000 Decis", "100000 Karate"}));
            EXPECT_EQ(rows[3], "100002 Karate");
            l.Query1.First();
            EXPECT_EQ(l.Query1.FieldByName("Erogep").AsString(), "");
            EXPECT_EQ(l.Query1.FieldByName("Munkagep").AsString(), "");
            // Every name whole, separated.
            EXPECT_EQ(l.Query1.FieldByName("Szemely").AsString(),
                      "Ábel Péter, Kovács-Szabó Erzsébet Margit");
            l.Query1.Next();
            EXPECT_EQ(l.Query1.FieldByName("Erogep").AsString(), "MTZ-82");
            EXPECT_EQ(l.Query1.FieldByName("Munkagep").AsString(), "Permetező RAU");
            EXPECT_EQ(l.Query1.FieldByName("Szemely").AsString(), "Anna Nagy, Zoltán Kiss");
            EXPECT_EQ(l.Query1.FieldByName("Ter_1").AsInteger(), 12345);
            EXPECT_EQ(l.Query1.FieldByName("Vido_1").AsString(), "14"); // the pesticide's
            EXPECT_TRUE(l.Button2->isEnabled());
        });
    EXPECT_EQ(output.asked, (std::vector<std::string>{"Permetnaplo.rav", "PermetnaploM.rav"}));
    ASSERT_EQ(output.documents.size(), 2u);
    regtest::KeepPdf(output.documents[0], "permetnaplo.pdf");
    regtest::KeepPdf(output.documents[1], "permetnaplom.pdf");
    const std::vector<std::string> list = report::DocumentLines(output.documents[0]);
    EXPECT_THAT(list, Contains("Permetezési napló"));
    EXPECT_THAT(list, Contains(HasSubstr("2009. 05. 10. | 1 | Nagyföld | Búza | 12 345 | "
                                         "Permetezés | Decis | 0,25 | l | 300 | 14 | Nagy Béla")));
    EXPECT_THAT(list, Contains(HasSubstr("Kezelések száma: | 4")));
    const std::vector<std::string> machines = report::DocumentLines(output.documents[1]);
    EXPECT_THAT(machines, Contains(HasSubstr("Karate | 0,2 | l | 300 | MTZ-82 | Permetező RAU | "
                                             "Anna Nagy,")));
    const std::string pdf = regtest::PdfText(output.documents[1]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf, HasSubstr("Permetező RAU"));
    }
}

TEST_F(SprayLog, MarkedFieldsYearSectorAndDatesNarrowTheRows) {
    Run(
        [](Tpermnaploszuk& f) {
            f.CheckBox1->SetChecked(false); // the inactive field too
            EXPECT_FALSE(f.Table1.Filtered());
            for (f.Table1.First(); !f.Table1.Eof(); f.Table1.Next())
                if (f.Table1.FieldByName("Parckod").AsString() != "100002")
                    f.DBGrid1->SelectedRows().SetCurrentRowSelected(true);
            f.ComboBox2->SetText("2009");
            f.ComboBox1->SetText("Kukorica");
        },
        [](TPermNaplo& l) {
            EXPECT_EQ(permnaploszuk->ConditionTail,
                      "AND (Tablakod = '100000' OR Tablakod = '100001') AND Evj = '2009' AND "
                      "Agazat = 'Kukorica'");
            EXPECT_EQ(Rows(l.Query1), std::vector<std::string>{"100001 Decis"});
        });
    Run([](Tpermnaploszuk& f) { f.DateTimePicker1->SetDate(sys::encodeDate(2009, 5, 11)); },
        [](TPermNaplo& l) {
            EXPECT_EQ(permnaploszuk->DateRangeFilter,
                      "Datum >= '2009. 05. 11.' and Datum <= '2009. 06. 01.'");
            EXPECT_EQ(Rows(l.Query1), std::vector<std::string>{"100002 Karate"});
        });
}

TEST_F(SprayLog, AnEmptyListingIsToldAndItsPrintoutsWait) {
    dialogs.Expect("Nincs megjeleníthető adat.");
    forms.On<Tpermnaploszuk>([&](Tpermnaploszuk& f) {
        f.ComboBox1->SetText("Kiss' Búza"); // an apostrophe is a sector like any other
        f.Button2->click();
        f.Button3->click();
    });
    forms.On<TPermNaplo>([&](TPermNaplo& l) {
        EXPECT_TRUE(l.Query1.IsEmpty());
        EXPECT_FALSE(l.Button2->isEnabled());
        EXPECT_FALSE(l.Button5->isEnabled());
        ui::TKey key = ui::ctrlKey('I');
        l.FormKeyPress(nullptr, key);
        l.PopupMenu1->Items(0)->Click(); // "Nyomtatás"
        l.PopupMenu1->Items(1)->Click(); // "Nyomtatási kép"
        l.Button1->click();
    });
    OpenSprayLogConditions(session);
    dialogs.VerifyDone();
    EXPECT_EQ(dialogs.Last().type, ui::mtConfirmation);
    EXPECT_TRUE(output.documents.empty());
}

TEST_F(SprayLog, NoOperationAtAllClosesTheConditions) {
    RemoveEveryOperation();
    dialogs.Expect("Nincs megjeleníthető művelet!");
    OpenSprayLogConditions(session);
    dialogs.VerifyDone();
    EXPECT_EQ(dialogs.Last().caption, "Üres adattábla!");
}

TEST_F(SprayLog, ABadYearStopsBothPrintouts) {
    dialogs.Expect("Hiba! A(z) 'Betakarítás éve' értéke nem egész szám !");
    dialogs.Expect("Hiba! A(z) 'Betakarítás éve' értéke nem egész szám !");
    dialogs.Expect("Hiba! A(z) 'Betakarítás éve' értéke (\"200\") nem évszám !");
    forms.On<Tpermnaploszuk>([&](Tpermnaploszuk& f) {
        f.ComboBox2->SetText("2005x");
        f.Button2->click();
        f.Button4->click();
        f.ComboBox2->SetText("200");
        f.Button2->click();
        f.Button3->click();
    });
    OpenSprayLogConditions(session);
    dialogs.VerifyDone();
    EXPECT_EQ(forms.Shown(), std::vector<std::string>{"Tpermnaploszuk"});
    EXPECT_TRUE(output.documents.empty());
}

// Typing a year with a 9 in it leaves the active-field restriction alone; Ctrl+A
// toggles it, the check box and the popup item together.
TEST_F(SprayLog, OnlyCtrlATogglesTheActiveFields) {
    forms.On<Tpermnaploszuk>([&](Tpermnaploszuk& f) {
        f.ComboBox2->setFocus();
        Type(f.ComboBox2, "2009");
        EXPECT_EQ(f.ComboBox2->Text(), "2009");
        ui::TKey tab = 9;
        f.FormKeyPress(nullptr, tab);
        EXPECT_TRUE(f.CheckBox1->Checked());
        EXPECT_TRUE(f.Table1.Filtered());
        Key(f.ComboBox2, Qt::Key_A, Qt::ControlModifier);
        EXPECT_FALSE(f.CheckBox1->Checked());
        EXPECT_FALSE(f.Aktvparcellk1->Checked());
        EXPECT_FALSE(f.Table1.Filtered());
        Key(f.ComboBox2, Qt::Key_T, Qt::ControlModifier); // clears, the toggle stays
        EXPECT_EQ(f.ComboBox2->Text(), "");
        EXPECT_FALSE(f.Table1.Filtered());
        f.Button3->click();
    });
    OpenSprayLogConditions(session);
}

TEST_F(SprayLog, TheDiarySheetOfEachPeriodPrintsItsRows) {
    PrintSheet([](Tpermnaploszuk& f) {
        f.Table1.First();
        f.DBGrid1->SelectedRows().SetCurrentRowSelected(true); // 100000, the first active
        EXPECT_EQ(f.Table1.FieldByName("Parckod").AsString(), "100000");
    });
    PrintSheet([](Tpermnaploszuk&) {}, "09GN10Permetez.rav");
    EXPECT_EQ(output.asked, (std::vector<std::string>{"GN08Permetez.rav", "09GN10Permetez.rav"}));
    ASSERT_EQ(output.documents.size(), 2u);
    regtest::KeepPdf(output.documents[0], "gn08permetez.pdf");
    regtest::KeepPdf(output.documents[1], "09gn10permetez.pdf");
    const std::vector<std::string> gn08 = report::DocumentLines(output.documents[0]);
    EXPECT_THAT(gn08, Contains(HasSubstr("GN 08")));
    EXPECT_THAT(gn08, Contains(HasSubstr("Permetezési napló")));
    EXPECT_THAT(gn08,
                Contains(HasSubstr("2009. 05. 10. | Permetezés | 1 | Nagyföld | Búza | "
                                   "1,2345 | Decis | deltametrin | 0,25 | l | 300 | 14 | 7")));
    EXPECT_THAT(gn08, Not(Contains(HasSubstr("Alsó rét"))));
    const std::vector<std::string> gn10 = report::DocumentLines(output.documents[1]);
    EXPECT_THAT(gn10, Contains(HasSubstr("GN-10")));
    EXPECT_THAT(gn10, Contains(HasSubstr("Nyilvántartás a növényvédő szeres kezelésekről")));
    EXPECT_THAT(gn10, Contains(HasSubstr("2009. 05. 10. | Gyomirtás | 2 | Alsó rét | Kukorica | "
                                         "0,5 | Decis | deltametrin | 0,3 | l | 200 | 14")));
    EXPECT_THAT(gn10, Contains(HasSubstr("2009. 06. 01. | Vetés | 1 | Ék | Búza | 1 | Karate")));
    const std::string pdf = regtest::PdfText(output.documents[1]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf, HasSubstr("deltametrin"));
        EXPECT_THAT(pdf, HasSubstr("Alsó rét"));
    }
}

TEST_F(SprayLog, TheMainWindowCommandAndToolButtonOpenTheConditions) {
    app->CreateForm(Folap1, session);
    Folap1->Timer1->SetEnabled(false);
    ui::TMenuItem* item = Folap1->FindMenuItem({"Lekérdezések  ", "Permetezési napló"});
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->Enabled());
    InstallReportCommands(*Folap1, session);
    ShowActive(*Folap1);
    EXPECT_TRUE(item->Enabled());
    EXPECT_TRUE(Folap1->ToolButton10->Enabled());
    forms.On<Tpermnaploszuk>([](Tpermnaploszuk& f) { f.Button3->click(); });
    forms.On<Tpermnaploszuk>([](Tpermnaploszuk& f) {
        EXPECT_EQ(f.RvProject1.ProjectFile(), "GN08Permetez.rav");
        f.Button3->click();
    });
    item->Click();
    Folap1->ToolButton10->Click();
    forms.VerifyDone();
    Folap1->Hide();
    app.reset();
    Folap1 = nullptr;
}

} // namespace

namespace {

TEST_F(SprayLog, TheListShowsItsHeadingsAndDatesWhole) {
    Run([](Tpermnaploszuk&) {},
        [](TPermNaplo& l) {
            ui::TDBGrid& grid = *l.DBGrid1;
            QHeaderView& header = *grid.horizontalHeader();
            const int headerMargins = 2 * grid.style()->pixelMetric(QStyle::PM_HeaderMargin);
            for (int c = 0; c < grid.model()->columnCount(); ++c) {
                const QString title = grid.model()->headerData(c, Qt::Horizontal).toString();
                EXPECT_LE(header.fontMetrics().horizontalAdvance(title) + headerMargins,
                          grid.columnWidth(c))
                    << title.toStdString();
            }
            const QString date = grid.model()->index(0, 0).data().toString();
            const int margins = 2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
            EXPECT_LE(grid.fontMetrics().horizontalAdvance(date) + margins, grid.columnWidth(0))
                << date.toStdString();
            // The columns fit the grid: nothing is to be scrolled to.
            int total = 0;
            for (int c = 0; c < grid.model()->columnCount(); ++c)
                total += grid.columnWidth(c);
            EXPECT_LE(total, grid.viewport()->width());
        });
}

} // namespace
