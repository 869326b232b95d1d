// Machines: the codes of new machines (100000 stays the "no machine" row), the repair of
// an older database without that row, retirement, the service providers' rows kept out
// of the own lists, the list's modify box, and the two printed lists.

#include "core/fresh_database.h"
#include "platform/report/document.h"
#include "resources/Eszkozfelh.h"
#include "resources/Geplisth.h"
#include "resources/machine_codes.h"
#include "resources_fixture.h"
#include "support/test_env.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using restest::AddMachine;
using Machines = restest::ResourcesTest;

// Plays the new-machine dialog: a tractor with type, own number, class and year.
void EnterTractor(TEszkozfel& d, const std::string& type, const std::string& number,
                  const std::string& category, const std::string& year) {
    d.PageControl1->SetActivePage(d.TabSheet1);
    d.Edit4->SetText(type);
    d.Edit3->SetText(number);
    d.ComboBox1->SetText(category);
    d.Edit7->SetText(year);
    d.Button4->click();
}

void EnterImplement(TEszkozfel& d, const std::string& name, const std::string& type,
                    const std::string& year = "") {
    d.PageControl1->SetActivePage(d.TabSheet2);
    d.Edit2->SetText(name);
    d.Edit6->SetText(type);
    d.Edit1->SetText(year);
    d.Button4->click();
}

TEST_F(Machines, OwnMachinesAreNumberedFromOneAboveTheNoMachineRow) {
    core::InsertNoMachineRow(session, "Erogepek");
    core::InsertNoMachineRow(session, "Munkagepek");
    dialogs.Expect("További gép felvitele ?", ui::mrYes)
        .Expect("További gép felvitele ?", ui::mrYes)
        .Expect("További gép felvitele ?", ui::mrNo);
    forms.On<TEszkozfel>([](TEszkozfel& d) {
        EnterTractor(d, "MTZ 82", "T-1", "Közép", "1985");
        EXPECT_EQ(d.Edit4->Text(), "");
        EXPECT_EQ(d.ComboBox1->Text(), "Nagy");
        EXPECT_EQ(d.Edit7->Text(), "1985"); // the year boxes keep their text
        EnterTractor(d, "John Deere 6120", "T-2", "Nagy", "");
        EnterImplement(d, "Eke", "RABA 3");
        EXPECT_EQ(d.ModalResult(), ui::mrCancel); // No closed the dialog
    });
    ui::ShowModalForm(Eszkozfel, session);
    dialogs.VerifyDone();
    EXPECT_EQ(dialogs.Shown().at(0).caption, "További gépek?");
    EXPECT_EQ(Column("Erogepek", "Gepkod"),
              (std::vector<std::string>{"100000", "100001", "100002"}));
    EXPECT_EQ(Column("Erogepek", "Geptip"),
              (std::vector<std::string>{"---", "MTZ 82", "John Deere 6120"}));
    EXPECT_EQ(Column("Erogepek", "Kategoria"), (std::vector<std::string>{"", "Közép", "Nagy"}));
    EXPECT_EQ(Column("Erogepek", "Beszev"), (std::vector<std::string>{"", "1985", ""}));
    EXPECT_EQ(Column("Erogepek", "Tul"), (std::vector<std::string>{"1", "0", "0"}));
    EXPECT_EQ(Column("Munkagepek", "Gepkod"), (std::vector<std::string>{"100000", "100001"}));
    EXPECT_EQ(Column("Munkagepek", "Tipus"), (std::vector<std::string>{"---", "RABA 3"}));
}

TEST_F(Machines, TheNextCodeCountsEveryRowAndAnEmptyTableStartsAbove100000) {
    db::TTable t(session);
    t.SetTableName("Erogepek");
    t.Open();
    EXPECT_EQ(res::NextMachineCode(t), "100001");
    t.Close();
    AddMachine(session, "Erogepek", "100000", "Saját régi", 0); // an older own machine
    AddMachine(session, "Erogepek", "100007", "Szolgáltató", 1);
    AddMachine(session, "Erogepek", "100003", "Selejtezett", 1);
    t.Open();
    EXPECT_EQ(res::NextMachineCode(t), "100008");
}

TEST_F(Machines, TypeAndNameAreRequiredAndABadYearIsRefused) {
    dialogs.Expect("Kérem a géptípus mezőt töltse ki!")
        .Expect("Hiba! A(z) 'Beszerzés éve' értéke nem egész szám !")
        .Expect("Kérem a gépnév mezőt töltse ki!");
    forms.On<TEszkozfel>([](TEszkozfel& d) {
        EnterTractor(d, "", "T-1", "Nagy", "1985");
        EnterTractor(d, "MTZ", "T-1", "Nagy", "19a5");
        EnterImplement(d, "", "RABA");
        EXPECT_EQ(d.Edit4->Text(), "MTZ"); // the dialog keeps its texts
        d.Button3->click();
    });
    ui::ShowModalForm(Eszkozfel, session);
    EXPECT_EQ(dialogs.Shown().at(0).caption, "Hiányos adat!");
    EXPECT_EQ(Count("Erogepek"), 0);
    EXPECT_EQ(Count("Munkagepek"), 0);
}

TEST_F(Machines, AnOlderDatabaseGetsTheNoMachineRowsAndKeepsAnOwnMachine100000) {
    AddMachine(session, "Erogepek", "100000", "Régi saját traktor", 0);
    AddMachine(session, "Munkagepek", "100004", "Tárcsa", 0);
    EXPECT_TRUE(core::EnsureNoMachineRows(session));
    EXPECT_EQ(Column("Erogepek", "Geptip"), (std::vector<std::string>{"Régi saját traktor"}));
    EXPECT_EQ(Column("Erogepek", "Tul"), (std::vector<std::string>{"0"}));
    EXPECT_EQ(Column("Munkagepek", "Gepkod", {}, "Gepkod"),
              (std::vector<std::string>{"100000", "100004"}));
    EXPECT_EQ(Column("Munkagepek", "Tul", "Gepkod = '100000'"), (std::vector<std::string>{"1"}));
    EXPECT_FALSE(core::EnsureNoMachineRows(session)); // nothing more to repair
    EXPECT_EQ(Count("Munkagepek"), 2);
}

// The list of own machines: service providers' and retired rows stay out; retiring keeps
// the row with Tul 1.
TEST_F(Machines, RetiringAMachineKeepsItsRowOutOfTheOwnList) {
    core::InsertNoMachineRow(session, "Munkagepek");
    AddMachine(session, "Munkagepek", "100001", "Vetőgép", 0);
    AddMachine(session, "Munkagepek", "100002", "Bérelt permetező", 1);
    AddMachine(session, "Munkagepek", "100003", "Eke", 0);
    dialogs.Expect("Valóban töröljem a kijelölt gépet ?", ui::mrNo)
        .Expect("Valóban töröljem a kijelölt gépet ?", ui::mrYes);
    forms.On<TGeplist>([](TGeplist& f) {
        f.PageControl1->SetActivePage(f.TabSheet2);
        ASSERT_EQ(f.Table2.RecordCount(), 2);
        f.Table2.First();
        EXPECT_EQ(f.Table2.FieldByName("Gepnev").AsString(), "Eke"); // name order
        f.Button10->click();
        EXPECT_EQ(f.Table2.RecordCount(), 2);
        f.Button10->click();
        EXPECT_EQ(f.Table2.RecordCount(), 1);
        EXPECT_EQ(f.Table2.FieldByName("Gepnev").AsString(), "Vetőgép");
        f.Button1->click();
    });
    ui::ShowModalForm(Geplist, session);
    EXPECT_EQ(Column("Munkagepek", "Tul"), (std::vector<std::string>{"1", "0", "1", "1"}));
}

TEST_F(Machines, TheModifyBoxSavesAndItsCancelDropsWhatWasTyped) {
    AddMachine(session, "Erogepek", "100001", "MTZ", 0);
    AddMachine(session, "Munkagepek", "100001", "Eke", 0);
    dialogs.Expect("Valóban töröljem a kijelölt gépet ?", ui::mrYes)
        .Expect("Nincsenek módosítható elemek!");
    forms.On<TGeplist>([](TGeplist& f) {
        f.Table1.Edit();
        f.Table1.FieldByName("Kategoria").SetAsString("Kis");
        f.Table1.Post();
        f.Button4->click();
        ASSERT_TRUE(f.GroupBox1->Visible());
        EXPECT_EQ(f.ComboBox1->Text(), "Kis");
        EXPECT_FALSE(f.Button1->TabStop());
        Type(f.DBEdit1, "-80");
        f.ComboBox1->SetText("Közép");
        Key(f.DBEdit1, Qt::Key_S, Qt::ControlModifier); // saves
        EXPECT_FALSE(f.GroupBox1->Visible());
        EXPECT_TRUE(f.Button1->TabStop());

        f.PageControl1->SetActivePage(f.TabSheet2);
        f.Button4->click();
        ASSERT_TRUE(f.GroupBox2->Visible());
        Type(f.DBEdit4, "XYZ");
        f.PopupMenu2->Items(1)->Click(); // "Mégsem" drops the typing
        EXPECT_EQ(f.Table2.FieldByName("Gepnev").AsString(), "Eke");
        f.Table2.Refresh();
        f.Button10->click();
        f.Button1->click();
    });
    forms.On<TGeplist>([](TGeplist& f) {
        f.PageControl1->SetActivePage(f.TabSheet2);
        f.Button4->click(); // nothing left to modify
        f.Button1->click();
    });
    ui::ShowModalForm(Geplist, session);
    ui::ShowModalForm(Geplist, session);
    dialogs.VerifyDone();
    EXPECT_EQ(Column("Erogepek", "Geptip"), (std::vector<std::string>{"MTZ-80"}));
    EXPECT_EQ(Column("Erogepek", "Kategoria"), (std::vector<std::string>{"Közép"}));
    EXPECT_EQ(Column("Munkagepek", "Gepnev"), (std::vector<std::string>{"Eke"}));
    EXPECT_EQ(Column("Munkagepek", "Tul"), (std::vector<std::string>{"1"}));
}

// The modify box refuses a purchase year that the entry form refuses, and keeps the box.
TEST_F(Machines, TheModifyBoxRefusesAYearOutOfRange) {
    AddMachine(session, "Erogepek", "100001", "MTZ", 0);
    AddMachine(session, "Munkagepek", "100001", "Eke", 0);
    dialogs.ExpectContaining("'Beszerzés éve' értéke nem lehet kisebb, mint 1900");
    dialogs.ExpectContaining("'Beszerzés éve' értéke nem lehet nagyobb, mint 2100");
    forms.On<TGeplist>([](TGeplist& f) {
        f.Button4->click();
        Type(f.DBEdit3, "-1");
        f.Button6->click();
        EXPECT_TRUE(f.GroupBox1->Visible());
        f.Button5->click();
        f.PageControl1->SetActivePage(f.TabSheet2);
        f.Button4->click();
        Type(f.DBEdit7, "3024");
        f.Button8->click();
        EXPECT_TRUE(f.GroupBox2->Visible());
        f.Button7->click();
        f.Button1->click();
    });
    ui::ShowModalForm(Geplist, session);
    dialogs.VerifyDone();
    EXPECT_EQ(Column("Erogepek", "Beszev"), (std::vector<std::string>{""}));
    EXPECT_EQ(Column("Munkagepek", "Beszev"), (std::vector<std::string>{""}));
}

TEST_F(Machines, TheListsPrintOwnMachinesOnlyAndNothingForAnEmptyList) {
    core::InsertNoMachineRow(session, "Munkagepek");
    AddMachine(session, "Munkagepek", "100001", "Vetőgép", 0);
    AddMachine(session, "Munkagepek", "100002", "Bérelt permetező", 1);
    AddMachine(session, "Munkagepek", "100003", "Eke", 0);
    forms.On<TGeplist>([](TGeplist& f) {
        f.Button2->click(); // no own tractor: nothing printed
        f.PageControl1->SetActivePage(f.TabSheet2);
        f.DBGrid2->SetFocus();
        Key(f.DBGrid2, Qt::Key_I, Qt::ControlModifier);
        f.Button1->click();
    });
    ui::ShowModalForm(Geplist, session);
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked, (std::vector<std::string>{"Munkagepek.rav"}));
    const std::vector<std::string> lines = report::DocumentLines(output.documents[0]);
    EXPECT_THAT(lines, ::testing::Contains("Munkagépek listája"));
    const auto eke = std::find(lines.begin(), lines.end(), "Eke");
    const auto drill = std::find(lines.begin(), lines.end(), "Vetőgép");
    EXPECT_NE(eke, lines.end());
    EXPECT_LT(eke, drill);
    EXPECT_THAT(lines, ::testing::Not(::testing::Contains(::testing::HasSubstr("Bérelt"))));
    EXPECT_THAT(lines, ::testing::Not(::testing::Contains(::testing::HasSubstr("---"))));
}

} // namespace

namespace {

// Both lists saved as PDF files: the own machines in the list's order, accents intact.
TEST_F(Machines, BothListsSavedAsPdfReadBack) {
    if (std::system("command -v pdftotext > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    restest::AddRow(session, "Alapadatok",
                    [](db::TTable& t) { t.FieldByName("Nev").SetAsString("Zöldmező Kft."); });
    core::InsertNoMachineRow(session, "Erogepek");
    core::InsertNoMachineRow(session, "Munkagepek");
    AddMachine(session, "Erogepek", "100001", "Zetor Forterra", 0);
    AddMachine(session, "Erogepek", "100002", "MTZ 82", 0);
    AddMachine(session, "Erogepek", "100003", "Bérgép", 1);
    AddMachine(session, "Munkagepek", "100001", "Vetőgép", 0);
    AddMachine(session, "Munkagepek", "100002", "Ekekapa", 0);
    std::vector<std::string> texts;
    for (const char* name : {"erogepek.pdf", "munkagepek.pdf"}) {
        const std::filesystem::path pdf = std::filesystem::current_path() / name;
        output.answer = report::OutputChoice{report::Destination::PdfFile, pdf};
        const bool tractors = std::string(name) == "erogepek.pdf";
        forms.On<TGeplist>([tractors](TGeplist& f) {
            f.PageControl1->SetActivePage(tractors ? f.TabSheet1 : f.TabSheet2);
            f.Button3->click();
            f.Button1->click();
        });
        ui::ShowModalForm(Geplist, session);
        const testenv::CommandResult read =
            testenv::run("pdftotext -layout '" + pdf.string() + "' -");
        ASSERT_EQ(read.exitCode, 0);
        texts.push_back(read.out);
        if (const char* keep = std::getenv("FARM_SCREENSHOT_DIR"))
            std::filesystem::copy_file(pdf, std::filesystem::path(keep) / name,
                                       std::filesystem::copy_options::overwrite_existing);
    }
    EXPECT_THAT(texts[0], ::testing::HasSubstr("Erőgépek listája"));
    EXPECT_THAT(texts[0], ::testing::HasSubstr("Zöldmező Kft."));
    EXPECT_LT(texts[0].find("MTZ 82"), texts[0].find("Zetor Forterra"));
    EXPECT_EQ(texts[0].find("Bérgép"), std::string::npos);
    EXPECT_EQ(texts[0].find("---"), std::string::npos);
    EXPECT_THAT(texts[1], ::testing::HasSubstr("Munkagépek listája"));
    EXPECT_LT(texts[1].find("Ekekapa"), texts[1].find("Vetőgép"));
}

} // namespace

namespace {

// The start-up check of a complete database of an older version writes the missing
// no-machine rows and leaves the own machines as they are.
TEST(MachineStartUp, ACompleteOlderDatabaseGetsItsNoMachineRowsBack) {
    db::Session session(std::filesystem::current_path());
    core::CreateFreshDatabase(session);
    for (const char* table : {"Erogepek", "Munkagepek"}) {
        db::TTable t(session);
        t.SetTableName(table);
        t.Open();
        t.EmptyTable();
    }
    restest::AddMachine(session, "Erogepek", "100000", "Régi saját traktor", 0);
    const core::DatabaseCheck check = core::PrepareDatabase(session);
    EXPECT_FALSE(check.fresh);
    EXPECT_TRUE(check.missing.empty());
    db::TTable tractors(session);
    tractors.SetTableName("Erogepek");
    tractors.Open();
    ASSERT_EQ(tractors.RecordCount(), 1);
    EXPECT_EQ(tractors.FieldByName("Tul").AsInteger(), 0);
    db::TTable implements(session);
    implements.SetTableName("Munkagepek");
    implements.Open();
    ASSERT_EQ(implements.RecordCount(), 1);
    EXPECT_EQ(implements.FieldByName("Gepkod").AsString(), "100000");
    EXPECT_EQ(implements.FieldByName("Tipus").AsString(), "---");
    EXPECT_EQ(implements.FieldByName("Tul").AsInteger(), 1);
}

} // namespace

namespace {

TEST_F(Machines, WithTheTallListOptionTheListTakesTheScreenHeight) {
    NumericInt->SetOptionFlag("_GepekFormState", true);
    forms.On<TGeplist>([](TGeplist& f) {
        EXPECT_EQ(f.Height(), ui::Screen::Height() - 60);
        EXPECT_EQ(f.Bevel1->Height(), f.ClientHeight() - 68);
        EXPECT_EQ(f.DBGrid1->Height(), f.Bevel1->Height() - 97 - 37);
        EXPECT_EQ(f.Button1->Top(), f.ClientHeight() - 110 + 40);
        f.Button1->click();
    });
    ui::ShowModalForm(Geplist, session);
}

} // namespace

namespace {

TEST_F(Machines, ANewMachineFromTheListShowsInItAtOnce) {
    dialogs.Expect("További gép felvitele ?", ui::mrNo);
    forms.On<TGeplist>([](TGeplist& f) {
        EXPECT_TRUE(f.Table1.IsEmpty());
        Key(f.DBGrid1, Qt::Key_U, Qt::ControlModifier); // "Új gép"
        EXPECT_EQ(f.Table1.RecordCount(), 1);
        EXPECT_EQ(f.Table1.FieldByName("Geptip").AsString(), "Rába Steiger");
        f.Button1->click();
    });
    forms.On<TEszkozfel>(
        [](TEszkozfel& d) { EnterTractor(d, "Rába Steiger", "T-9", "Nagy", "1979"); });
    ui::ShowModalForm(Geplist, session);
    dialogs.VerifyDone();
}

} // namespace
