// The parcel diary sheets run from their condition form: the condition tail, the start
// page, the empty-result message, the computed columns and each sheet's rows on its pages.

#include "diary_fixture.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "register/keep_pdf.h"
#include "reports/Gnparszukh.h"
#include "reports/commands.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

using diarytest::JoinedLines;

class DiarySheets : public diarytest::DiaryTest {
protected:
    DiarySheets() {
        RegisterReportLayouts();
        report::WriteBuiltInLayouts(std::filesystem::current_path());
        diarytest::AddRow(session, "Alapadatok", [](db::TTable& t) {
            t.FieldByName("Nev").SetAsString("Aranykalász Bt.");
            t.FieldByName("Cim").SetAsString("5600 Békéscsaba, Fő utca 1.");
        });
        Field("100000", 2008, 1, "Őszi búza", 20000);
        Field("100001", 2008, 2, "Kukorica", 50000);
        Field("100002", 2008, 3, "Mustár", 20000, "IGEN");
        Field("100003", 2007, 1, "Napraforgó", 20000);
        Rotation("100000", "100003");
        Rotation("100002", "100000");
        OperationType("100000", "Szántás", 0);
        OperationType("100001", "Aratás", 4);
        OperationType("100002", "Műtrágyázás", 2);
        OperationType("100003", "Öntözés", 3);
        Seed("300000", "GK Öthalom");
        Fertiliser("100000", "Pétisó");
        Fertiliser("100001", "Istállótrágya");
        Operation({.muvkod = "100000",
                   .field = "100000",
                   .datum = sys::encodeDate(2008, 3, 5),
                   .muvid = "100002",
                   .ter = 20000,
                   .muvnev = "Műtrágyázás"});
        Operation({.muvkod = "100001",
                   .field = "100000",
                   .datum = sys::encodeDate(2008, 3, 9),
                   .ter = 20000,
                   .szantm = "25",
                   .muvnev = "Szántás"});
        Operation({.muvkod = "100002",
                   .field = "100000",
                   .datum = sys::encodeDate(2008, 7, 10),
                   .muvid = "100001",
                   .ter = 20000,
                   .hozam = 5.5,
                   .muvnev = "Aratás"});
        Operation({.muvkod = "100003",
                   .field = "100001",
                   .datum = sys::encodeDate(2008, 6, 2),
                   .muvid = "100003",
                   .ter = 50000,
                   .muvnev = "Öntözés",
                   .evj = 1});
        Operation({.muvkod = "100004",
                   .field = "100001",
                   .datum = sys::encodeDate(2008, 2, 1),
                   .muvid = "100002",
                   .ter = 50000,
                   .muvnev = "Trágyázás"});
        Operation({.muvkod = "100005",
                   .field = "100000",
                   .datum = sys::encodeDate(2007, 10, 1),
                   .muvid = "100000",
                   .ter = 20000,
                   .muvnev = "Vetés"});
        Material({.felhkod = "100000",
                  .muvkod = "100000",
                  .field = "100000",
                  .anyagkod = "100000",
                  .menny = 200,
                  .mert = "kg",
                  .felelos = "X27;0;0;",
                  .egyhatoany = " (ammónium-nitrát)",
                  .mutr = true});
        Material({.felhkod = "100001",
                  .muvkod = "100003",
                  .field = "100001",
                  .anyagkod = "100000",
                  .menny = 0.2,
                  .mert = "t",
                  .felelos = "X27;0;0;"});
        Material({.felhkod = "100002",
                  .muvkod = "100004",
                  .field = "100001",
                  .anyagkod = "100001",
                  .menny = 30,
                  .mert = "t",
                  .szervestr = true,
                  .betido = sys::encodeDate(2008, 2, 3)});
        Material({.felhkod = "100003",
                  .muvkod = "100005",
                  .field = "100000",
                  .anyagkod = "300000",
                  .anyagtip = "000002",
                  .menny = 220,
                  .mert = "kg"});
        diarytest::AddRow(session, "Ontozes", [](db::TTable& t) {
            t.FieldByName("Muvkod").SetAsString("100003");
            t.FieldByName("Parckod").SetAsString("100001");
            t.FieldByName("Ko").SetAsString("6");
            t.FieldByName("Kp").SetAsString("30");
            t.FieldByName("Vo").SetAsString("14");
            t.FieldByName("Vp").SetAsString("0");
            t.FieldByName("Uora").SetAsFloat(7.5);
            t.FieldByName("Menny").SetAsFloat(1250);
            t.FieldByName("Megj").SetAsString("Esőztető");
        });
        diarytest::AddRow(session, "Tapterv", [](db::TTable& t) {
            t.FieldByName("Parckod").SetAsString("100000");
            t.FieldByName("Anyagkod").SetAsString("100000");
            t.FieldByName("Menny").SetAsFloat(200);
            t.FieldByName("Me").SetAsString("kg/ha");
            t.FieldByName("N").SetAsFloat(54);
        });
        diarytest::AddRow(session, "vizkivet", [](db::TTable& t) {
            t.FieldByName("Nev").SetAsString("Körös-kút");
            t.FieldByName("Engsz").SetAsString("V-123/2007");
            t.FieldByName("Deleted").SetAsBoolean(false);
        });
    }

    // Opens the form in the mode, lets `set` fill the conditions, prints and closes.
    void Print(int mode, const std::function<void(TGNParSzuk&)>& set = {},
               const std::string& file = {}) {
        forms.On<TGNParSzuk>([set](TGNParSzuk& f) {
            if (set)
                set(f);
            f.Button1->click();
            f.Button3->click();
        });
        OpenDiaryParcelConditions(session, mode, file);
    }

    report::CaptureOutput output;
    report::ScopedOutput use{output};
};

TEST(DiaryConditions, TheTailNamesFieldsSectorYearsSerialsAndActiveFields) {
    EXPECT_EQ(DiaryConditionTail({}, "Parckod"), "");
    DiaryFieldConditions c;
    c.fields = {"100000", "100002", "100001"};
    c.sector = "Őszi búza";
    c.firstYear = "2007";
    c.lastYear = "2008";
    c.serialTo = 5;
    c.activeOnly = true;
    EXPECT_EQ(DiaryConditionTail(c, "Parckod"),
              " AND (Parckod = '100000' OR Parckod = '100002' OR Parckod = '100001')"
              " AND parcellak.Agazat = 'Őszi búza' AND parcellak.Evj >= 2007 AND "
              "parcellak.Evj <= 2008 AND parcellak.parcsor <= 5 AND Aktiv = 'A'");
    DiaryFieldConditions quoted;
    quoted.sector = "O'Neil";
    quoted.serialFrom = 2;
    EXPECT_EQ(DiaryConditionTail(quoted, "Tablakod"),
              " AND parcellak.Agazat = 'O''Neil' AND parcellak.parcsor >= 2");
    EXPECT_EQ(sys::filterDateText(sys::encodeDate(2008, 3, 5)), "2008. 3. 5.");
    EXPECT_EQ(sys::monthDayYearText(sys::encodeDate(2008, 12, 31)), "12/31/2008");
}

TEST(DiaryConditions, NutrientTextsGiveTheirPercentages) {
    EXPECT_EQ(NutrientPercents("X27;0;0;"), (std::array<double, 3>{27, 0, 0}));
    EXPECT_EQ(NutrientPercents("X15,5;8;16;"), (std::array<double, 3>{15.5, 8, 16}));
    EXPECT_EQ(NutrientPercents(""), (std::array<double, 3>{0, 0, 0}));
    EXPECT_EQ(NutrientPercents("27;0;0;"), (std::array<double, 3>{0, 0, 0}));
    EXPECT_THROW(NutrientPercents("X27;0;0"), sys::ConversionError);
    EXPECT_THROW(NutrientPercents("Xab;0;0;"), sys::ConversionError);
}

TEST_F(DiarySheets, ModesOneTwoAndThreeInSequenceWithTheStartPage) {
    Print(1, [](TGNParSzuk& f) {
        f.CheckBox1->SetChecked(false);
        f.ComboBox2->SetText("2008");
        f.Edit1->SetText("7");
    });
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked.back(), "GN04ParcAdatok.rav");
    const std::string gn04 = JoinedLines(output.documents[0]);
    regtest::KeepPdf(output.documents[0], "GN04ParcAdatok.pdf");
    EXPECT_THAT(gn04, HasSubstr("Szántóföldi tábla alapadatai"));
    EXPECT_THAT(gn04, HasSubstr("Aranykalász Bt."));
    EXPECT_THAT(gn04, HasSubstr("2008. gazdasági év, 1. tábla: Dűlő 100000 (napló 7. oldal)"));
    EXPECT_THAT(gn04, HasSubstr("2008. gazdasági év, 3. tábla: Dűlő 100002 (napló 9. oldal)"));
    EXPECT_THAT(gn04, HasSubstr("Napraforgó;"));
    EXPECT_THAT(gn04, HasSubstr("GK Öthalom;"));
    EXPECT_THAT(gn04, HasSubstr("5,5;"));
    EXPECT_THAT(gn04, HasSubstr("Pétisó"));
    EXPECT_THAT(gn04, ::testing::Not(HasSubstr("Dűlő 100003")));

    int kiegid = 0;
    {
        db::TTable plantation(session);
        plantation.SetTableName("Parckiegadat");
        plantation.Open();
        plantation.Append();
        plantation.FieldByName("Parckod").SetAsString("100000");
        plantation.FieldByName("Fajta").SetAsString("Olaszrizling");
        plantation.FieldByName("Tokedb").SetAsInteger(4000);
        plantation.Post();
        kiegid = plantation.FieldByName("Kiegid").AsInteger();
    }
    diarytest::AddRow(session, "Ultkieg02", [kiegid](db::TTable& t) {
        t.FieldByName("Parckod").SetAsString("100000");
        t.FieldByName("Ultkod").SetAsInteger(kiegid);
        t.FieldByName("Faj").SetAsString("Szőlő");
        t.FieldByName("Alanynev").SetAsString("T5C");
        t.FieldByName("Reszarany").SetAsFloat(100);
    });
    Print(2, [](TGNParSzuk& f) { f.Edit1->SetText(""); });
    ASSERT_EQ(output.documents.size(), 2u);
    const std::string gn05 = JoinedLines(output.documents[1]);
    EXPECT_THAT(gn05, HasSubstr("(napló 1. oldal)"));
    // The variety's own yield is empty: the field's harvest stands in for it.
    EXPECT_THAT(gn05, HasSubstr("Olaszrizling | Szőlő | T5C | 100 | 4 000 |"));
    EXPECT_THAT(gn05, HasSubstr("| 5,5;"));
    regtest::KeepPdf(output.documents[1], "GN05ParcAdatok.pdf");

    Print(3, [](TGNParSzuk& f) {
        f.DateTimePicker1->SetDate(sys::encodeDate(2008, 3, 5));
        f.DateTimePicker2->SetDate(sys::encodeDate(2008, 12, 31));
    });
    ASSERT_EQ(output.documents.size(), 3u);
    const std::string gn06 = JoinedLines(output.documents[2]);
    regtest::KeepPdf(output.documents[2], "GN06MuvAdatok.pdf");
    EXPECT_THAT(gn06, HasSubstr("Folyamatos műveleti napló táblánként"));
    EXPECT_THAT(gn06, HasSubstr("Mélység:"));
    EXPECT_THAT(gn06, HasSubstr("t/ha"));
    EXPECT_THAT(gn06, HasSubstr("Pétisó"));
    EXPECT_THAT(gn06, ::testing::Not(HasSubstr("Vetés")));
}

TEST_F(DiarySheets, IrrigationSheetWithFertiliserAndWaterPoints) {
    Print(4, {}, "09GN11Ontozes.rav");
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked.back(), "09GN11Ontozes.rav");
    regtest::KeepPdf(output.documents[0], "09GN11Ontozes.pdf");
    const std::string text = JoinedLines(output.documents[0]);
    EXPECT_THAT(text, HasSubstr("GN-11"));
    EXPECT_THAT(text, HasSubstr("Öntözési nyilvántartás"));
    EXPECT_THAT(text, HasSubstr("Esőztető"));
    EXPECT_THAT(text, HasSubstr("1 250,0"));
    EXPECT_THAT(text, HasSubstr("Nitrogén"));
    EXPECT_THAT(text, HasSubstr("54,0"));
    EXPECT_THAT(text, HasSubstr("Körös-kút"));
}

TEST_F(DiarySheets, FertilisingLogComputesNutrientsAndIncorporation) {
    // 27 % of 64,4 kg is 17,388 kg: the product's binary trace above it is no extra step.
    Material({.felhkod = "100009",
              .muvkod = "100004",
              .field = "100001",
              .anyagkod = "100000",
              .menny = 64.4,
              .mert = "kg",
              .felelos = "X27;0;0;"});
    Print(5);
    ASSERT_EQ(output.documents.size(), 1u);
    regtest::KeepPdf(output.documents[0], "GN11TraNapl.pdf");
    const std::string text = JoinedLines(output.documents[0]);
    EXPECT_THAT(text, HasSubstr("Trágyázási napló"));
    EXPECT_THAT(text, HasSubstr("54 kg"));
    EXPECT_THAT(text, HasSubstr("17,388 kg"));
    EXPECT_THAT(text, ::testing::Not(HasSubstr("17,3881")));
    EXPECT_THAT(text, HasSubstr("Pétisó"));
    EXPECT_THAT(text, HasSubstr("30,0"));
    EXPECT_THAT(text, HasSubstr(sys::dateToText(sys::encodeDate(2008, 2, 3))));
    EXPECT_THAT(text, HasSubstr(sys::dateToText(sys::encodeDate(2008, 3, 9))));
}

TEST_F(DiarySheets, AnEmptySelectionShowsTheMessageAndPrintsNothing) {
    for (int mode : {3, 4, 5}) {
        dialogs.Expect("Nincs megjeleníthető művelet!");
        Print(mode, [](TGNParSzuk& f) { f.ComboBox1->SetText("Szója"); });
    }
    EXPECT_TRUE(output.documents.empty());
    Print(0);
    EXPECT_TRUE(output.documents.empty());
}

TEST_F(DiarySheets, BadYearsOrSerialRangeStopThePrint) {
    dialogs.Expect("Hiba! A(z) 'Első gazdasági év' értéke nem egész szám !");
    Print(1, [](TGNParSzuk& f) { f.ComboBox2->SetText("2008x"); });
    dialogs.Expect("Hiba! A(z) 'Utolsó gazdasági év' értéke (\"201\") nem évszám !");
    Print(1, [](TGNParSzuk& f) { f.ComboBox3->SetText("201"); });
    dialogs.Expect("Hiba! A(z) 'intervallum vége' értéke nem egész szám !");
    Print(1, [](TGNParSzuk& f) {
        f.CheckBox2->SetChecked(true);
        f.Edit3->SetText("két");
    });
    EXPECT_TRUE(output.documents.empty());
    dialogs.Expect("Hiba! A(z) 'Kezdő oldal' értéke nem egész szám !");
    Print(1, [](TGNParSzuk& f) { f.Edit1->SetText("x"); });
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_THAT(JoinedLines(output.documents[0]), HasSubstr("(napló 1. oldal)"));
}

TEST_F(DiarySheets, ThePreparedOperationsQueryOpensTheRoutinesDatasets) {
    forms.On<TGNParSzuk>([](TGNParSzuk& f) {
        f.PopupMenu1->Items(1)->Click();
        f.Button3->click();
    });
    OpenDiaryParcelConditions(session, 3);
    EXPECT_TRUE(GNParMuvNy->Query1.Active());
    EXPECT_EQ(GNParMuvNy->Query1.RecordCount(), 6);
    // The material chain follows the current operation.
    db::TTable& uses = GNParMuvNy->Table2;
    int seen = 0;
    for (db::TQuery& operations = GNParMuvNy->Query1; !operations.Eof(); operations.Next())
        for (uses.First(); !uses.Eof(); uses.Next(), ++seen)
            EXPECT_EQ(uses.FieldByName("Muvkod").AsString(),
                      operations.FieldByName("Muvkod").AsString());
    EXPECT_GT(seen, 0);
}

} // namespace

namespace {

TEST(DiaryConditions, TheMarkedNitrogenIsTheFirstNumberOfTheNutrientText) {
    EXPECT_DOUBLE_EQ(MarkedNitrogenPercent("X27;0;0;", ""), 27);
    EXPECT_DOUBLE_EQ(MarkedNitrogenPercent("", "X15,5;"), 15.5);
    EXPECT_DOUBLE_EQ(MarkedNitrogenPercent("", "95"), 0);
    EXPECT_DOUBLE_EQ(MarkedNitrogenPercent("", ""), 0);
}

} // namespace

namespace {

TEST_F(DiarySheets, TheLaterPeriodsOperationAndFertilisingSheetsCarryTheirCodes) {
    Print(3, {}, "09GN07MuvAdatok.rav");
    Print(5, {}, "09GN12TraNapl.rav");
    ASSERT_EQ(output.documents.size(), 2u);
    EXPECT_EQ(output.asked, (std::vector<std::string>{"09GN07MuvAdatok.rav", "09GN12TraNapl.rav"}));
    regtest::KeepPdf(output.documents[0], "09GN07MuvAdatok.pdf");
    regtest::KeepPdf(output.documents[1], "09GN12TraNapl.pdf");
    const std::string gn07 = JoinedLines(output.documents[0]);
    EXPECT_THAT(gn07, HasSubstr("GN-07 | Folyamatos műveleti napló táblánként"));
    EXPECT_THAT(gn07, HasSubstr("Műtrágyázás"));
    const std::string gn12 = JoinedLines(output.documents[1]);
    EXPECT_THAT(gn12, HasSubstr("GN-12 | Trágyázási napló"));
    EXPECT_THAT(gn12, HasSubstr("54 kg"));
    EXPECT_EQ(
        report::ShippedLayout("reports/GN04ParcAdatok.rav").rfind("farmreport 1 version=1", 0), 0u);
}

} // namespace

namespace {

TEST_F(DiarySheets, TheOperationSheetsFilterByTheDateRange) {
    std::string tail, filter;
    forms.On<TGNParSzuk>([&](TGNParSzuk& f) {
        f.CheckBox1->SetChecked(false);
        f.DateTimePicker1->SetDate(sys::encodeDate(2008, 3, 5));
        f.DateTimePicker2->SetDate(sys::encodeDate(2008, 12, 31));
        f.Button1->click();
        tail = f.ConditionTail;
        f.Button3->click();
    });
    OpenDiaryParcelConditions(session, 4);
    EXPECT_EQ(tail, " AND parcellak.Evj >= 2007 AND parcellak.Evj <= 2008 AND Datum >= "
                    "'3/5/2008' AND Datum <= '12/31/2008'");
    forms.On<TGNParSzuk>([&](TGNParSzuk& f) {
        f.DateTimePicker1->SetDate(sys::encodeDate(2008, 3, 5));
        f.DateTimePicker2->SetDate(sys::encodeDate(2008, 12, 31));
        f.Button1->click();
        filter = f.Table7.Filter();
        f.Button3->click();
    });
    OpenDiaryParcelConditions(session, 3);
    EXPECT_EQ(filter, "(Datum >= '2008. 3. 5.' And Datum <= '2008. 12. 31.')");
    // The fertilising before the range is left out of the log.
    Print(5, [](TGNParSzuk& f) { f.DateTimePicker1->SetDate(sys::encodeDate(2008, 3, 1)); });
    ASSERT_EQ(output.documents.size(), 3u);
    EXPECT_THAT(JoinedLines(output.documents[2]), ::testing::Not(HasSubstr("2008. 02. 01.")));
}

} // namespace
