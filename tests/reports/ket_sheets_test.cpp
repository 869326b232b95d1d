// The KET-area sheets of the 2009-2014 diary: the land parcels, settlements, use right and
// flags of each KET area, the plantation rows of GN-04, the fields' nutrient sums, bird
// boxes and yields, and each sheet's rows in its printout.

#include "diary_fixture.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "register/keep_pdf.h"
#include "reports/Gn0914ket.h"
#include "reports/commands.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string AllLines(const report::Document& document) {
    std::string text;
    for (const std::string& line : report::DocumentLines(document))
        text += line + "\n";
    return text;
}

class KetSheets : public diarytest::DiaryTest {
protected:
    KetSheets() {
        RegisterReportLayouts();
        report::WriteBuiltInLayouts(std::filesystem::current_path());
        diarytest::AddRow(session, "Alapadatok", [](db::TTable& t) {
            t.FieldByName("Nev").SetAsString("Aranykalász Bt.");
            t.FieldByName("Cim").SetAsString("5600 Békéscsaba, Fő utca 1.");
        });
    }

    // A KET area of the branch (1 arable, 2 grassland, 3 plantation); returns its Id.
    int Ket(int sorsz, int branch, const std::string& name, bool deleted = false) {
        return KetArea({.sorsz = sorsz,
                        .hazimen = name,
                        .akgmuvag = branch,
                        .nat2000 = true,
                        .deleted = deleted});
    }

    void AkgField(const std::string& parckod, int evj, int parcsor, int ketId, double ter = 12345,
                  bool agrkor = true) {
        Field(parckod, evj, parcsor, "Őszi búza", ter);
        db::TTable t(session);
        t.SetTableName("parcellak");
        t.Open();
        ASSERT_TRUE(t.Locate("Parckod", {parckod}));
        t.Edit();
        t.FieldByName("Agrkor").SetAsBoolean(agrkor);
        t.FieldByName("Ketid").SetAsInteger(ketId);
        t.FieldByName("Hasznkod").SetAsString("SZ001");
        t.Post();
    }

    // A land parcel with its lot number, use right, settlement and block under a field.
    void Lot(const std::string& parckod, const std::string& helysz, const std::string& right,
             const std::string& telepules, const std::string& blok) {
        int id = 0;
        {
            db::TTable t(session);
            t.SetTableName("Tablak");
            t.Open();
            t.Append();
            t.FieldByName("Helysz").SetAsString(helysz);
            t.FieldByName("Parcella").SetAsString(right);
            t.FieldByName("Telepules").SetAsString(telepules);
            t.FieldByName("Blok").SetAsString(blok);
            t.FieldByName("Aktiv").SetAsInteger(1);
            t.Post();
            id = t.FieldByName("Tableid").AsInteger();
        }
        diarytest::AddRow(session, "Szhelyrajzi", [&](db::TTable& t) {
            t.FieldByName("Parcellakod").SetAsString(parckod);
            t.FieldByName("Helysz").SetAsInteger(id);
        });
    }

    // A plantation row of a field; returns its Kiegid.
    int Plantation(const std::string& parckod, const std::string& fajta, double tot, double sort,
                   int teve, int boxes = 0, int traps = 0) {
        db::TTable t(session);
        t.SetTableName("Parckiegadat");
        t.Open();
        t.Append();
        t.FieldByName("Parckod").SetAsString(parckod);
        t.FieldByName("Fajta").SetAsString(fajta);
        t.FieldByName("Tot").SetAsFloat(tot);
        t.FieldByName("Sort").SetAsFloat(sort);
        t.FieldByName("Teve").SetAsInteger(teve);
        t.FieldByName("Muvmod").SetAsString("Ernyő");
        t.FieldByName("odukszama").SetAsInteger(boxes);
        t.FieldByName("rovarcsszama").SetAsInteger(traps);
        t.Post();
        return t.FieldByName("Kiegid").AsInteger();
    }

    void Variety(const std::string& parckod, int kiegid, const std::string& faj, double hozam = 0) {
        diarytest::AddRow(session, "Ultkieg02", [&](db::TTable& t) {
            t.FieldByName("Parckod").SetAsString(parckod);
            t.FieldByName("Ultkod").SetAsInteger(kiegid);
            t.FieldByName("Faj").SetAsString(faj);
            t.FieldByName("Hozam").SetAsFloat(hozam);
        });
    }

    // The calculated columns of each row of a KET data set, after the sheet ran.
    std::vector<std::map<std::string, std::string>> Rows(db::TDataSet& rows,
                                                         std::initializer_list<const char*> names) {
        std::vector<std::map<std::string, std::string>> out;
        if (!rows.Active())
            rows.Open();
        for (rows.First(); !rows.Eof(); rows.Next()) {
            std::map<std::string, std::string>& row = out.emplace_back();
            for (const char* name : names)
                row[name] = rows.FieldByName(name).AsString();
        }
        return out;
    }

    report::CaptureOutput output;
    report::ScopedOutput use{output};
};

TEST_F(KetSheets, AKetAreaListsItsLotsSettlementsBlockUseRightAndFlags) {
    const int ket = Ket(1, 1, "Nagy-dűlő");
    Ket(2, 1, "Törölt", true);
    Ket(3, 2, "Gyep-dűlő");
    AkgField("100000", 2010, 1, ket);
    AkgField("100001", 2010, 2, ket);
    Lot("100000", "0123/4", "B", "Békéscsaba", "AB12-3-45");
    Lot("100001", "0125/1", "B", "Békéscsaba", "CD34-5-67");

    Gn0914KetSheets sheets(session);
    sheets.FormShow();
    sheets.PrintArable();
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked.back(), "09GN02SzParcellak.rav");

    const auto rows = Rows(sheets.Query1, {"Hazimen", "Hrsz", "Telep", "MainBlokk", "Fhasznjog",
                                           "Nate", "Nite", "Tize", "Kate", "Megnev_1", "Kod"});
    ASSERT_EQ(rows.size(), 1u); // the deleted and the grassland areas are not listed
    EXPECT_EQ(rows[0].at("Hrsz"), "0123/4; 0125/1; ");
    // One settlement with two blocks is listed once per block.
    EXPECT_EQ(rows[0].at("Telep"), "Békéscsaba; Békéscsaba; ");
    EXPECT_THAT(rows[0].at("MainBlokk"), ::testing::AnyOf("AB12-3-45", "CD34-5-67"));
    EXPECT_EQ(rows[0].at("Fhasznjog"), "B");
    EXPECT_EQ(rows[0].at("Nate"), "igen");
    EXPECT_EQ(rows[0].at("Nite"), "nem");
    EXPECT_EQ(rows[0].at("Tize"), "nem"); // never set: null
    EXPECT_EQ(rows[0].at("Kod"), "aa");

    const std::string text = AllLines(output.documents[0]);
    regtest::KeepPdf(output.documents[0], "09GN02SzParcellak.pdf");
    EXPECT_THAT(text, HasSubstr("AKG - SZÁNTÓ"));
    EXPECT_THAT(text, HasSubstr("Nagy-dűlő"));
    EXPECT_THAT(text, Not(HasSubstr("Törölt")));
    EXPECT_THAT(text, Not(HasSubstr("Gyep-dűlő")));
    EXPECT_THAT(text, HasSubstr("0123/4; 0125/1;"));
    EXPECT_THAT(text, HasSubstr("2010. gazdasági év"));
    const std::string pdf = regtest::PdfText(output.documents[0]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf, testing::ContainsRegex("1 +Nagy-dűlő .* 12,50 .* 0123/4; 0125/1; "
                                                "+Békéscsaba; +B +igen +nem +nem +nem"));
    }

    // Use rights that differ give "V"; pressing again reads the rows anew.
    Lot("100001", "0126", "T", "Gyula", "EF56-7-89");
    sheets.PrintArable();
    EXPECT_EQ(Rows(sheets.Query1, {"Fhasznjog"})[0].at("Fhasznjog"), "V");

    // An area whose fields lie on no land parcel has empty texts.
    sheets.PrintGrassland();
    const auto grass = Rows(sheets.Query7, {"Hrsz", "Telep", "MainBlokk", "Fhasznjog"});
    ASSERT_EQ(grass.size(), 1u);
    for (const char* name : {"Hrsz", "Telep", "MainBlokk", "Fhasznjog"})
        EXPECT_EQ(grass[0].at(name), "") << name;
    EXPECT_THAT(AllLines(output.documents.back()), HasSubstr("Gyep-dűlő"));
    regtest::KeepPdf(output.documents.back(), "09GN03GyParcellak.pdf");
    sheets.FormClose();
}

TEST(KetNutrients, PercentagesTimesQuantityInKilogramsRoundedUpPerUse) {
    // 200 kg of a 20-10-10 product on a mineral use.
    FieldNutrients sums = SumNutrients({{"X20;10;10;", 200, "kg", true}});
    EXPECT_EQ(sums.mineral, (std::array<double, 3>{40, 20, 20}));
    EXPECT_EQ(sums.organic, (std::array<double, 3>{0, 0, 0}));
    sums = SumNutrients({{"X20;10;10;", 0.2, "t", true}});
    EXPECT_EQ(sums.mineral, (std::array<double, 3>{40, 20, 20}));
    // 0.123 kg of nitrogen counts as 0.13; g is a thousandth of a kilogram.
    sums = SumNutrients({{"X12,3;0;0;", 1, "kg", false}, {"X10;0;0;", 2000, "g", false}});
    EXPECT_DOUBLE_EQ(sums.organic[0], 0.13 + 0.2);
    // Texts without the X add nothing; a bad percentage stops the sheet.
    EXPECT_EQ(SumNutrients({{"20;10;10;", 200, "kg", true}}).mineral[0], 0);
    EXPECT_THROW(SumNutrients({{"X2o;10;10;", 200, "kg", true}}), sys::ConversionError);
}

TEST_F(KetSheets, TheArableFieldRowsCarryAreaNutrientsFlagsSeedsAndYield) {
    const int ket = Ket(1, 1, "Nagy-dűlő");
    AkgField("100000", 2010, 1, ket, 12345);
    AkgField("100001", 2010, 2, ket, 20000, false); // not under the scheme
    {
        db::TTable t(session);
        t.SetTableName("parcellak");
        t.Open();
        ASSERT_TRUE(t.Locate("Parckod", {std::string("100000")}));
        t.Edit();
        t.FieldByName("Tapanytelj").SetAsBoolean(true);
        t.FieldByName("Talajbaszantas").SetAsBoolean(false);
        t.Post();
    }
    Seed("300000", "GK Öthalom");
    Operation({.muvkod = "100000", .field = "100000", .muvid = "100001", .ter = 12345, .hozam = 6});
    Material({.felhkod = "100000",
              .muvkod = "100000",
              .field = "100000",
              .anyagkod = "100000",
              .menny = 200,
              .mert = "kg",
              .felelos = "X20;10;10;",
              .mutr = true});
    Material({.felhkod = "100001",
              .muvkod = "100000",
              .field = "100000",
              .anyagkod = "100001",
              .menny = 2,
              .mert = "t",
              .felelos = "X0,5;0,25;0,6;"});
    Material({.felhkod = "100002",
              .muvkod = "100000",
              .field = "100001",
              .anyagkod = "100000",
              .menny = 500,
              .mert = "kg",
              .felelos = "X20;10;10;",
              .mutr = true});
    Material({.felhkod = "100003",
              .muvkod = "100000",
              .field = "100000",
              .anyagkod = "300000",
              .anyagtip = "000002",
              .menny = 220,
              .mert = "kg"});

    Gn0914KetSheets sheets(session);
    sheets.FormShow();
    sheets.PrintArable();
    ASSERT_EQ(output.documents.size(), 1u);
    const std::string text = AllLines(output.documents[0]);
    regtest::KeepPdf(output.documents[0], "09GN02SzParcellak-fields.pdf");
    EXPECT_THAT(text, HasSubstr("A kötelezettségvállalással érintett táblák adatai"));
    EXPECT_THAT(text, HasSubstr("Dűlő 100000"));
    EXPECT_THAT(text, Not(HasSubstr("Dűlő 100001")));
    // Every decimal of the area, the mineral 40-20-20, the organic 10-5-12, the flags.
    EXPECT_THAT(text, HasSubstr("1,2345"));
    EXPECT_THAT(text, HasSubstr("| 10 | 5 | 12 | 40 | 20 | 20 | IGEN"));
    EXPECT_THAT(text, HasSubstr("GK Öthalom"));
    sheets.FormClose();
}

TEST_F(KetSheets, PlantationRowsOfTheChosenYearWithFullVarietyNames) {
    const int ket = Ket(1, 3, "Szőlőhegy");
    AkgField("100000", 2010, 1, ket);
    AkgField("100001", 2011, 1, ket);
    for (const char* name : {"Olaszrizling", "Kékfrankos nagyon hosszú", "Furmint"})
        Variety("100000", Plantation("100000", name, 1, 3, 1998), "Szőlő");
    Variety("100001", Plantation("100001", "Cabernet", 1.2, 2.8, 2005), "Szőlő");
    // A field outside the scheme whose one plantation row has two varieties.
    Field("100002", 2010, 2, "Alma", 5000);
    const int orchard = Plantation("100002", "Jonagold", 2, 4, 2003, 4, 2);
    Variety("100002", orchard, "Alma", 7.5);
    Variety("100002", orchard, "Alma", 2.5);

    Gn0914KetSheets sheets(session);
    sheets.FormShow();
    sheets.PrintPlantation("2010");
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked.back(), "09GN03UParcellak.rav");
    const std::string text = AllLines(output.documents[0]);
    regtest::KeepPdf(output.documents[0], "09GN03UParcellak.pdf");
    EXPECT_THAT(text, HasSubstr("AKG - ÜLTETVÉNY"));
    EXPECT_THAT(text, HasSubstr("Olaszrizling"));
    EXPECT_THAT(text, Not(HasSubstr("Cabernet"))); // a plantation row of 2011
    // The bird boxes and traps of a plantation row count once, whatever its varieties;
    // the yield adds up over the varieties.
    EXPECT_THAT(text, HasSubstr("| 10,0 | 4 | 2"));
    const std::string pdf = regtest::PdfText(output.documents[0]);
    if (!pdf.empty()) {
        EXPECT_THAT(
            pdf, testing::ContainsRegex("1 +Szőlő +SZ001 +Olaszrizling +1x3 +1998 +Ernyő +Szőlő"));
        EXPECT_THAT(pdf, testing::ContainsRegex("Alma +0,50 +10,0 +4 +2"));
    }
    // The second row's variety is kept whole, not cut to eight characters.
    const auto rows = Rows(sheets.Query8, {"2l"});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("2l"), "Kékfrankos nagyon hosszú");

    sheets.PrintPlantation("2011");
    const std::string later = AllLines(output.documents.back());
    EXPECT_THAT(later, HasSubstr("1,2x2,8"));
    EXPECT_THAT(later, Not(HasSubstr("Olaszrizling")));
    // A year that does not read falls back to 2010.
    sheets.PrintPlantation("húsz");
    EXPECT_THAT(AllLines(output.documents.back()), HasSubstr("Olaszrizling"));
    sheets.FormClose();
}

TEST_F(KetSheets, OnlyThreeOfFourPlantationRowsAreShown) {
    const int ket = Ket(1, 3, "Szőlőhegy");
    AkgField("100000", 2010, 1, ket);
    for (const char* name : {"Elso", "Masodik", "Harmadik", "Negyedik"})
        Variety("100000", Plantation("100000", name, 1, 3, 2000), "Szőlő");
    Gn0914KetSheets sheets(session);
    sheets.FormShow();
    sheets.PrintPlantation("2010");
    const auto rows = Rows(sheets.Query8, {"1l", "2l", "3l", "1j", "1n", "1q", "1r", "1k"});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("1l"), "Elso");
    EXPECT_EQ(rows[0].at("2l"), "Masodik");
    EXPECT_EQ(rows[0].at("3l"), "Harmadik");
    EXPECT_EQ(rows[0].at("1j"), "Szőlő");
    EXPECT_EQ(rows[0].at("1n"), "1x3");
    EXPECT_EQ(rows[0].at("1q"), "2000");
    EXPECT_EQ(rows[0].at("1r"), "Ernyő");
    EXPECT_EQ(rows[0].at("1k"), "SZ001");
    sheets.FormClose();
}

TEST_F(KetSheets, PlantationNamesAndCultivationModesPrintUnbroken) {
    const int ket = Ket(1, 3, "Gyümölcsös");
    AkgField("100000", 2010, 1, ket);
    const std::pair<const char*, const char*> rows[] = {{"Kajszibarack", "Kordonművelés"},
                                                        {"Cseresznye", "Ernyőművelés"},
                                                        {"Szőlő", "Lugasművelés"}};
    for (const auto& [faj, mod] : rows) {
        const int kiegid = Plantation("100000", "Gönci magyar", 4, 6, 2001);
        Variety("100000", kiegid, faj);
        db::TTable t(session);
        t.SetTableName("Parckiegadat");
        t.Open();
        ASSERT_TRUE(t.Locate("Kiegid", {kiegid}));
        t.Edit();
        t.FieldByName("Muvmod").SetAsString(mod);
        t.Post();
    }
    Gn0914KetSheets sheets(session);
    sheets.FormShow();
    sheets.PrintPlantation("2010");
    ASSERT_EQ(output.documents.size(), 1u);
    const std::string text = AllLines(output.documents[0]);
    for (const auto& [faj, mod] : rows) {
        EXPECT_THAT(text, HasSubstr(faj));
        EXPECT_THAT(text, HasSubstr(mod));
    }
    sheets.FormClose();
}

} // namespace
