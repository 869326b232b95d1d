// Rainfall readings, advisory consultations with their printed sheet, force-majeure
// cases, and the animal species and age groups.

#include "platform/report/document.h"
#include "resources/Allatfajtah.h"
#include "resources/Csapadekh.h"
#include "resources/Korcsoportszh.h"
#include "resources/Szaktanh.h"
#include "resources/Vismajoru.h"
#include "resources_fixture.h"
#include "support/test_env.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using Rainfall = restest::ResourcesTest;
using ForceMajeure = restest::ResourcesTest;
using Animals = restest::ResourcesTest;

template <class F>
std::vector<std::string> Listed(F& dataSet, const std::string& field) {
    std::vector<std::string> values;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
        values.push_back(dataSet.FieldByName(field).AsString());
    dataSet.First();
    return values;
}

void Reading(TCsapadek& f, int day, const std::string& mm, const std::string& place) {
    f.Button3->click();
    f.DateTimePicker1->SetDate(sys::encodeDate(2010, 6, day));
    f.Edit1->SetText(mm);
    f.Edit2->SetText(place);
    f.Button5->click();
}

TEST_F(Rainfall, ReadingsAreListedByDateAndTwoOnOneDayAreKept) {
    dialogs.Expect("A(z) 'Mennyiség' értéke nem szám !")
        .Expect("A(z) 'Mennyiség' értéke nem lehet negatív !")
        .Expect("Biztosan törli a kijelölt elemet?", ui::mrNo);
    forms.On<TCsapadek>([](TCsapadek& f) {
        f.Button2->click(); // an empty list: nothing to modify or delete
        f.Button6->click();
        EXPECT_FALSE(f.GroupBox1->Visible());
        Reading(f, 20, "12,5", "major");
        Reading(f, 3, "4", "tanya");
        Reading(f, 20, "1", "major");
        EXPECT_EQ(Listed(f.Table1, "Menny"), (std::vector<std::string>{"4", "12,5", "1"}));
        f.Table1.First();
        f.Button2->click();
        EXPECT_EQ(f.GroupBox1->Caption(), "Feljegyzés módosítása");
        EXPECT_EQ(f.Edit1->Text(), "4");
        for (const char* amount : {"4x", "-4"}) {
            f.Edit1->SetText(amount);
            Key(f.Edit1, Qt::Key_S, Qt::ControlModifier); // refused, the box stays
            EXPECT_TRUE(f.GroupBox1->Visible());
        }
        f.Edit1->SetText("5");
        f.Button5->click();
        f.Button6->click();                             // No keeps it
        Key(f.DBGrid1, Qt::Key_V, Qt::ControlModifier); // "Grafikon": nothing
        Key(f.DBGrid1, Qt::Key_G, Qt::ControlModifier);
        f.Button1->click();
    });
    ui::ShowModalForm(Csapadek, session);
    dialogs.VerifyDone();
    EXPECT_EQ(Column("Csapadek", "Menny", {}, "Datum"),
              (std::vector<std::string>{"5", "12,5", "1"}));
    EXPECT_EQ(Column("Csapadek", "Helye", {}, "Datum"),
              (std::vector<std::string>{"tanya", "major", "major"}));
}

TEST_F(Rainfall, DeleteRemovesTheReadingOnYes) {
    dialogs.Expect("Biztosan törli a kijelölt elemet?", ui::mrYes);
    forms.On<TCsapadek>([](TCsapadek& f) {
        Reading(f, 1, "3", "major");
        Key(f.DBGrid1, Qt::Key_T, Qt::ControlModifier);
        EXPECT_TRUE(f.Table1.IsEmpty());
        f.Button1->click();
    });
    ui::ShowModalForm(Csapadek, session);
    EXPECT_EQ(Count("Csapadek"), 0);
}

class Advisory : public restest::ResourcesTest {
protected:
    static void Consultation(TSzaktan& f, int day, const std::string& adviser,
                             const std::string& subject) {
        f.Button6->click();
        f.DateTimePicker3->SetDate(sys::encodeDate(2008, 3, day));
        Type(f.DBEdit1, adviser);
        Type(f.DBEdit2, "Agrár Kft.");
        Type(f.DBEdit4, subject);
        Type(f.DBEdit5, "Eger");
        Type(f.DBEdit6, "3300");
        Type(f.DBEdit8, "36-1-234");
        f.Button9->click();
    }
};

TEST_F(Advisory, ConsultationsAreKeptDuplicatedAndPrintedByDate) {
    restest::AddRow(session, "Alapadatok",
                    [](db::TTable& t) { t.FieldByName("Nev").SetAsString("Zöldmező Kft."); });
    bool shownThroughOpener = false;
    forms.On<TSzaktan>([&](TSzaktan& f) {
        shownThroughOpener = true;
        f.Button2->click(); // an empty register prints nothing
        f.Button7->click(); // nor is modified or duplicated
        f.Button10->click();
        EXPECT_TRUE(f.Table1.IsEmpty());
        Consultation(f, 14, "Dr. Nagy Ilona", "tápanyag-gazdálkodás");
        Consultation(f, 2, "Kovács Pál", "növényvédelem");
        f.Button6->click();
        Type(f.DBEdit1, "Mégsem");
        f.Button5->click();
        EXPECT_EQ(Listed(f.Table1, "Sznev"),
                  (std::vector<std::string>{"Kovács Pál", "Dr. Nagy Ilona"}));
        std::map<std::string, std::string> headings; // field -> heading over it
        for (int i = 0; i < f.DBGrid1->Columns().Count(); ++i)
            headings[f.DBGrid1->Columns()[i].FieldName()] = f.DBGrid1->Columns()[i].TitleCaption();
        EXPECT_EQ(headings["Szazon"], "Azonosító");
        EXPECT_EQ(headings["Szszerv"], "Szervezet");
        f.Table1.Last();
        f.Button10->click(); // a second row, same date and texts
        f.Button7->click();
        EXPECT_EQ(f.GroupBox1->Caption(), "Tanácsadás módosítása");
        f.DateTimePicker3->SetDate(sys::encodeDate(2008, 4, 1));
        f.Button9->click();
        f.Button2->click();
        f.Button3->click();
    });
    ShowSzaktan(session);
    EXPECT_TRUE(shownThroughOpener);
    EXPECT_EQ(Column("Szaktanacs", "Sznev", {}, "Szdate"),
              (std::vector<std::string>{"Kovács Pál", "Dr. Nagy Ilona", "Dr. Nagy Ilona"}));
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked, (std::vector<std::string>{"GN17Szakt.rav"}));
    const std::vector<std::string> lines = report::DocumentLines(output.documents[0]);
    EXPECT_THAT(lines, Contains("Szaktanácsadási adatlap"));
    EXPECT_THAT(lines, Contains("GN 17 | Zöldmező Kft."));
    EXPECT_THAT(lines, Contains("2008. 03. 02. | Kovács Pál | Agrár Kft. | 3300 Eger | 36-1-234 | "
                                "növényvédelem"));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("Dr. Nagy") != l.npos; }),
              2);
}

TEST_F(Advisory, TheSheetSavedAsPdfReadsBack) {
    if (std::system("command -v pdftotext > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    const std::filesystem::path pdf = std::filesystem::current_path() / "gn17.pdf";
    output.answer = report::OutputChoice{report::Destination::PdfFile, pdf};
    forms.On<TSzaktan>([](TSzaktan& f) {
        Consultation(f, 14, "Dr. Nagy Ilona", "tápanyag-gazdálkodás");
        f.Button2->click();
        f.Button3->click();
    });
    ShowSzaktan(session);
    const testenv::CommandResult read = testenv::run("pdftotext -layout '" + pdf.string() + "' -");
    ASSERT_EQ(read.exitCode, 0);
    EXPECT_THAT(read.out, HasSubstr("Szaktanácsadási adatlap"));
    EXPECT_THAT(read.out, HasSubstr("Dr. Nagy Ilona"));
    EXPECT_THAT(read.out, HasSubstr("tápanyag-gazdálkodás"));
    if (const char* keep = std::getenv("FARM_SCREENSHOT_DIR"))
        std::filesystem::copy_file(pdf, std::filesystem::path(keep) / "gn17.pdf",
                                   std::filesystem::copy_options::overwrite_existing);
}

TEST_F(ForceMajeure, CasesAreListedByYearSerialAndDateAndDeletedAtOnce) {
    restest::AddField(session, "100000", 2011, 2, "búza");
    restest::AddField(session, "100001", 2010, 7, "repce", false);
    restest::AddField(session, "100002", 2011, 1, "árpa");
    auto addCase = [&](const std::string& field, int day, const std::string& cause) {
        restest::AddRow(session, "Vismajor", [&](db::TTable& t) {
            t.FieldByName("Parcid").SetAsString(field);
            t.FieldByName("Bejido").SetAsDateTime(sys::encodeDate(2011, 7, day));
            t.FieldByName("Visok").SetAsString(cause);
            t.FieldByName("Deleted").SetAsBoolean(false);
        });
    };
    addCase("100000", 9, "jégeső");
    addCase("100001", 3, "belvíz"); // an inactive field's case is listed
    addCase("100002", 5, "aszály");
    addCase("100000", 2, "vihar");
    addCase("", 1, "tábla nélkül");
    forms.On<Tvismajor>([](Tvismajor& f) {
        EXPECT_EQ(Listed(f.Query1, "Visok"),
                  (std::vector<std::string>{"belvíz", "aszály", "vihar", "jégeső"}));
        f.Query1.Last();
        f.Button3->click(); // no question
        EXPECT_EQ(Listed(f.Query1, "Visok"),
                  (std::vector<std::string>{"belvíz", "aszály", "vihar"}));
        f.Button1->click();
    });
    ui::ShowModalForm(vismajor, session);
    EXPECT_EQ(Count("Vismajor"), 4);
}

// Every field of the choice list filtered away.
void OfferNoField(Tvismajor& f) {
    f.Table2.SetFilter("Parckod = 'nincs'");
}

TEST_F(ForceMajeure, NewCasesTakeTheChosenFieldAndAModifiedCaseKeepsItsOwn) {
    restest::AddField(session, "100000", 2011, 1, "búza");
    restest::AddField(session, "100001", 2010, 7, "repce", false);
    restest::AddField(session, "100002", 2011, 2, "árpa");
    restest::AddRow(session, "Vismajor", [&](db::TTable& t) {
        t.FieldByName("Parcid").SetAsString("100001");
        t.FieldByName("Visok").SetAsString("belvíz");
        t.FieldByName("Deleted").SetAsBoolean(false);
    });
    forms.On<Tvismajor>([](Tvismajor& f) {
        f.Button4->click();
        EXPECT_EQ(f.GroupBox1->Caption(), "Új Vis major eset feljegyzése");
        EXPECT_EQ(f.Table2.RecordCount(), 2); // the active fields only
        ASSERT_TRUE(f.Table2.Locate("Parckod", {db::Value(std::string("100002"))}));
        Type(f.DBEdit2, "jégeső");
        Type(f.DBEdit1, "2.5"); // more than the field's 2 ha
        f.Button6->click();
        EXPECT_TRUE(f.GroupBox1->Visible());
        f.DBEdit1->selectAll();
        Type(f.DBEdit1, "1.5");
        f.DateTimePicker1->SetDate(sys::encodeDate(2011, 6, 30));
        f.Button6->click();
        EXPECT_FALSE(f.GroupBox1->Visible());
        ASSERT_EQ(f.Query1.RecordCount(), 2);
        f.Query1.First(); // the inactive field's case (2010)
        f.Button2->click();
        EXPECT_EQ(f.Table2.FieldByName("Parckod").AsString(), "100001");
        Type(f.DBEdit3, "kárbejelentés megtörtént");
        f.Button6->click();
        f.Button4->click();
        Type(f.DBEdit2, "elvetve");
        f.Button5->click(); // "mégsem" writes nothing
        OfferNoField(f);
        f.Button4->click();
        f.Button6->click(); // with no field the case could never be listed
        EXPECT_TRUE(f.GroupBox1->Visible());
        f.Button5->click();
        f.Button1->click();
    });
    dialogs.Expect("Az érintett terület nem lehet nagyobb a tábla területénél!")
        .Expect("Kérem, válassza ki az érintett táblát! Tábla nélkül a vis major eset nem "
                "rögzíthető.");
    ui::ShowModalForm(vismajor, session);
    EXPECT_EQ(Column("Vismajor", "Parcid"), (std::vector<std::string>{"100001", "100002"}));
    EXPECT_EQ(Column("Vismajor", "Megjegy"),
              (std::vector<std::string>{"kárbejelentés megtörtént", ""}));
    EXPECT_EQ(Column("Vismajor", "Vister"), (std::vector<std::string>{"", "1,5"}));
    EXPECT_EQ(Column("Vismajor", "Bejido"),
              (std::vector<std::string>{sys::dateToText(sys::today()), "2011. 06. 30."}));
    EXPECT_EQ(Column("Vismajor", "Deleted"), (std::vector<std::string>{"False", "False"}));
}

TEST_F(Animals, SpeciesAreMarkedDeletedAndEmptyListsMakeNoRow) {
    forms.On<TAllatfajta>([](TAllatfajta& f) {
        f.Button2->click(); // nothing to modify or delete: no row is made
        f.Button3->click();
        EXPECT_FALSE(f.GroupBox1->Visible());
        f.Button1->click();
        EXPECT_EQ(f.GroupBox1->Caption(), "Új állatfaj rögzítése");
        Type(f.DBEdit1, "szarvasmarha");
        f.Button6->click();
        f.Button1->click();
        Type(f.DBEdit1, "juh");
        f.Button6->click();
        f.Button1->click();
        Type(f.DBEdit1, "elvetett");
        f.Button5->click();
        ASSERT_TRUE(f.Table1.Locate("Megnev", {db::Value(std::string("juh"))}));
        f.Button2->click();
        EXPECT_EQ(f.GroupBox1->Caption(), "Állatfaj módosítás");
        Type(f.DBEdit2, "anyajuhok");
        f.Button6->click();
        f.Button3->click();                   // the current species, no question
        EXPECT_EQ(f.Table1.RecordCount(), 2); // it stays in the list
        f.Button4->click();
    });
    ui::ShowModalForm(Allatfajta, session);
    EXPECT_EQ(Column("Allatfajok", "Megnev"), (std::vector<std::string>{"szarvasmarha", "juh"}));
    EXPECT_EQ(Column("Allatfajok", "Megjegy"), (std::vector<std::string>{"", "anyajuhok"}));
    EXPECT_EQ(Count("Allatfajok", "Deleted = true"), 1);
}

TEST_F(Animals, AgeGroupsFollowTheListAndLeaveItForAnInsert) {
    for (const char* species : {"sertés", "juh"})
        restest::AddRow(session, "Allatfajok", [&](db::TTable& t) {
            t.FieldByName("Megnev").SetAsString(species);
            t.FieldByName("Deleted").SetAsBoolean(false);
        });
    forms.On<TKorcsoportok>([](TKorcsoportok& f) {
        f.Button2->click(); // an empty list: nothing to modify
        EXPECT_FALSE(f.GroupBox1->Visible());
        f.Button1->click();
        EXPECT_EQ(f.Table1.MasterSource(), nullptr); // detached for the insert
        f.DBLookupComboBox1->Choose(1);              // juh
        Type(f.DBEdit1, "bárány");
        Type(f.DBEdit2, "0.05");
        f.Button5->click();
        EXPECT_EQ(f.Table1.MasterSource(), &f.DataSource1); // attached again
        f.Button1->click();
        f.DBLookupComboBox1->Choose(0); // sertés
        Type(f.DBEdit1, "malac");
        f.Button5->click();
        f.Button1->click();
        Type(f.DBEdit1, "faj nélkül");
        f.Button5->click(); // no species: saved but not listed
        EXPECT_EQ(Listed(f.Query1, "Korcs"), (std::vector<std::string>{"bárány", "malac"}));
        EXPECT_EQ(Listed(f.Query1, "Megnev"), (std::vector<std::string>{"juh", "sertés"}));
        f.Query1.Last();
        EXPECT_EQ(f.Table1.FieldByName("Korcs").AsString(), "malac"); // follows the list
        f.Button2->click();
        EXPECT_EQ(f.GroupBox1->Caption(), "Csoport módosítása");
        Type(f.DBEdit3, "választott");
        f.Button5->click();
        f.Query1.First();
        f.Button3->click(); // bárány, no question
        EXPECT_EQ(Listed(f.Query1, "Korcs"), (std::vector<std::string>{"malac"}));
        f.Button1->click();
        Type(f.DBEdit1, "mégsem");
        f.Button6->click();
        EXPECT_EQ(f.Table1.MasterSource(), &f.DataSource1);
        f.Button4->click();
    });
    ui::ShowModalForm(Korcsoportok, session);
    EXPECT_EQ(Column("Korcsoport", "Korcs"),
              (std::vector<std::string>{"bárány", "malac", "faj nélkül"}));
    EXPECT_EQ(Column("Korcsoport", "Deleted"),
              (std::vector<std::string>{"True", "False", "False"}));
    EXPECT_EQ(Column("Korcsoport", "Megjegy"), (std::vector<std::string>{"", "választott", ""}));
    EXPECT_EQ(Column("Korcsoport", "Aepdb"), (std::vector<std::string>{"0,05", "", ""}));
}

} // namespace
