// The register of the diary's remarks: the serial of a new remark, writing, modifying,
// duplicating and deleting remarks, the date filter, a refused serial, and the remarks
// sheet with its rows.

#include "lists_fixture.h"
#include "register/keep_pdf.h"
#include "reports/Gnkapcsdoch.h"

#include <QStyle>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

struct Remark {
    sys::DateTime mdate = sys::encodeDate(2009, 3, 5);
    std::string gnszam = "GN03", gnlapsz = "1", oszl = "5", sorsz = "", megj = "Két hrsz.";
    int msorsz = 0; // 0: none
};

class DiaryRemarks : public liststest::ListsReportTest {
protected:
    void AddRemark(const Remark& r) {
        AddRow("GNMegjegy", [&](db::TTable& t) {
            t.FieldByName("Mdate").SetAsDateTime(r.mdate);
            t.FieldByName("Gnszam").SetAsString(r.gnszam);
            t.FieldByName("Gnlapsz").SetAsString(r.gnlapsz);
            t.FieldByName("Oszl").SetAsString(r.oszl);
            t.FieldByName("Sorsz").SetAsString(r.sorsz);
            t.FieldByName("Megj").SetAsString(r.megj);
            if (r.msorsz != 0)
                t.FieldByName("Msorsz").SetAsInteger(r.msorsz);
        });
    }

    // Shows the register, runs `play` on it and closes it.
    void Run(const std::function<void(TGNKapcsdoc&)>& play) {
        forms.On<TGNKapcsdoc>([&](TGNKapcsdoc& f) {
            play(f);
            f.Button1->click();
        });
        OpenDiaryRemarks(session);
        forms.VerifyDone();
    }

    std::vector<std::string> Texts() { return Column("GNMegjegy", "Megj"); }
};

TEST_F(DiaryRemarks, ANewRemarkTakesTheLargestSerialPlusOneOverTheWholeTable) {
    EXPECT_EQ(NextRemarkSerial(session), 1);
    AddRemark({.msorsz = 0}); // a duplicated remark has no serial
    EXPECT_EQ(NextRemarkSerial(session), 1);
    AddRemark({.msorsz = 1});
    AddRemark({.msorsz = 7});
    AddRemark({.msorsz = 2});
    EXPECT_EQ(NextRemarkSerial(session), 8);
    EXPECT_EQ(RemarkDateFilter(sys::encodeDate(2009, 3, 5), sys::encodeDate(2009, 11, 20)),
              "Mdate >= '2009. 3. 5.' AND Mdate <= '2009. 11. 20.'");
}

TEST_F(DiaryRemarks, WritingARemarkStoresTheEditorsFieldsAndDate) {
    Run([&](TGNKapcsdoc& f) {
        f.Button2->click();
        EXPECT_TRUE(f.GroupBox1->Visible());
        EXPECT_EQ(f.GroupBox1->Caption(), "Új megjegyzés rögzítése");
        EXPECT_FALSE(f.DBGrid1->isEnabled());
        EXPECT_EQ(f.DBEdit1->Text(), "1");
        f.DateTimePicker1->SetDate(sys::encodeDate(2009, 3, 5));
        Type(f.DBEdit2, "GN03");
        Type(f.DBEdit3, "2");
        Type(f.DBEdit4, "5");
        Type(f.DBEdit5, "A tábla két helyrajzi számon fekszik.");
        f.Button7->click();
        EXPECT_FALSE(f.GroupBox1->Visible());
        EXPECT_TRUE(f.DBGrid1->isEnabled());
        EXPECT_EQ(f.Table1.State(), db::DataSetState::Browse);
    });
    EXPECT_EQ(Column("GNMegjegy", "Msorsz"), std::vector<std::string>{"1"});
    EXPECT_EQ(Column("GNMegjegy", "Mdate"), std::vector<std::string>{"2009. 03. 05."});
    EXPECT_EQ(Column("GNMegjegy", "Gnszam"), std::vector<std::string>{"GN03"});
    EXPECT_EQ(Column("GNMegjegy", "Gnlapsz"), std::vector<std::string>{"2"});
    EXPECT_EQ(Column("GNMegjegy", "Oszl"), std::vector<std::string>{"5"});
    EXPECT_EQ(Texts(), std::vector<std::string>{"A tábla két helyrajzi számon fekszik."});
}

TEST_F(DiaryRemarks, ModifyingShowsTheStoredDateAndCancellingKeepsTheRow) {
    AddRemark({.mdate = sys::encodeDate(2008, 11, 2), .megj = "Régi", .msorsz = 3});
    Run([&](TGNKapcsdoc& f) {
        f.DBGrid1DblClick(nullptr);
        EXPECT_EQ(f.GroupBox1->Caption(), "Megjegyzés módosítása");
        EXPECT_DOUBLE_EQ(f.DateTimePicker1->Date(), sys::encodeDate(2008, 11, 2));
        f.DBEdit5->selectAll();
        Type(f.DBEdit5, "Javított");
        f.Button8->click(); // "Mégsem"
        EXPECT_TRUE(f.DBGrid1->isEnabled());
        f.Button3->click();
        f.DBEdit5->selectAll();
        Type(f.DBEdit5, "Javított");
        f.DateTimePicker1->SetDate(sys::encodeDate(2008, 11, 3));
        f.Button7->click();
    });
    EXPECT_EQ(Texts(), std::vector<std::string>{"Javított"});
    EXPECT_EQ(Column("GNMegjegy", "Mdate"), std::vector<std::string>{"2008. 11. 03."});
    EXPECT_EQ(Column("GNMegjegy", "Msorsz"), std::vector<std::string>{"3"});
}

TEST_F(DiaryRemarks, TheDateFilterShowsTheDayAndANewRemarkStillNumbersOverEveryRow) {
    AddRemark({.mdate = sys::encodeDate(2009, 3, 4), .megj = "előtte", .msorsz = 1});
    AddRemark({.mdate = sys::encodeDate(2009, 3, 5), .megj = "aznap", .msorsz = 2});
    AddRemark({.mdate = sys::encodeDate(2009, 3, 5), .megj = "aznap is", .msorsz = 3});
    AddRemark({.mdate = sys::encodeDate(2009, 3, 6), .megj = "utána", .msorsz = 4});
    Run([&](TGNKapcsdoc& f) {
        f.Button9->click();
        EXPECT_TRUE(f.GroupBox2->Visible());
        f.DateTimePicker2->SetDate(sys::encodeDate(2009, 3, 5));
        f.DateTimePicker3->SetDate(sys::encodeDate(2009, 3, 5));
        f.Button10->click();
        EXPECT_EQ(f.Table1.Filter(), "Mdate >= '2009. 3. 5.' AND Mdate <= '2009. 3. 5.'");
        EXPECT_EQ(f.Table1.RecordCount(), 2);
        f.Button9->click();
        f.DateTimePicker2->SetDate(sys::encodeDate(2010, 1, 1));
        f.DateTimePicker3->SetDate(sys::encodeDate(2010, 1, 1));
        f.FormActivate(nullptr); // an open filter box keeps its dates
        EXPECT_DOUBLE_EQ(f.DateTimePicker2->Date(), sys::encodeDate(2010, 1, 1));
        f.Button10->click();
        EXPECT_TRUE(f.Table1.IsEmpty());
        f.Button2->click();
        EXPECT_EQ(f.DBEdit1->Text(), "5");
        f.Button8->click();
        f.Button9->click();
        f.Button11->click(); // the filter's "Mégsem": every row again
        EXPECT_EQ(f.Table1.RecordCount(), 4);
    });
}

TEST_F(DiaryRemarks, DuplicatingCopiesEveryColumnButTheSerialAndDeletingAsksNothing) {
    AddRemark({.sorsz = "12", .megj = "Eredeti", .msorsz = 4});
    Run([&](TGNKapcsdoc& f) {
        f.Button5->click();
        ui::TKey key = ui::ctrlKey('I'); // the key duplicates too
        f.FormKeyPress(nullptr, key);
        EXPECT_EQ(f.Table1.RecordCount(), 3);
    });
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Eredeti", "Eredeti", "Eredeti"}));
    EXPECT_EQ(Column("GNMegjegy", "Sorsz"), (std::vector<std::string>{"12", "12", "12"}));
    EXPECT_EQ(Column("GNMegjegy", "Mdate"),
              (std::vector<std::string>{"2009. 03. 05.", "2009. 03. 05.", "2009. 03. 05."}));
    EXPECT_EQ(Column("GNMegjegy", "Msorsz"), (std::vector<std::string>{"4", "", ""}));
    Run([&](TGNKapcsdoc& f) {
        f.Table1.Last();
        f.Button4->click();
        ui::TKey key = ui::ctrlKey('T');
        f.FormKeyPress(nullptr, key);
    });
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_EQ(Column("GNMegjegy", "Msorsz"), std::vector<std::string>{"4"});
}

// A serial the table cannot take is told; the remark stays in the editor with its date,
// the grid waits, and once put right it is stored with the date the user chose.
TEST_F(DiaryRemarks, ARefusedSerialKeepsTheEditorItsDateAndTheGridWaiting) {
    dialogs.Expect("Hiba! A(z) 'Sorszám' értéke nem egész szám !");
    Run([&](TGNKapcsdoc& f) {
        f.Button2->click();
        f.DateTimePicker1->SetDate(sys::encodeDate(2009, 3, 5));
        f.DBEdit1->selectAll();
        Type(f.DBEdit1, "x");
        Type(f.DBEdit5, "Hibás sorszám");
        f.Button7->click();
        EXPECT_TRUE(f.GroupBox1->Visible());
        EXPECT_FALSE(f.DBGrid1->isEnabled());
        EXPECT_EQ(f.Table1.State(), db::DataSetState::Insert);
        f.FormActivate(nullptr); // as when the message closes
        EXPECT_DOUBLE_EQ(f.DateTimePicker1->Date(), sys::encodeDate(2009, 3, 5));
        f.Button6->click(); // the list's actions wait while the editor is open
        f.Button2->click();
        f.DBEdit1->selectAll();
        Type(f.DBEdit1, "9");
        f.Button7->click();
        EXPECT_TRUE(f.DBGrid1->isEnabled());
    });
    dialogs.VerifyDone();
    EXPECT_TRUE(output.documents.empty());
    EXPECT_EQ(Column("GNMegjegy", "Msorsz"), std::vector<std::string>{"9"});
    EXPECT_EQ(Column("GNMegjegy", "Mdate"), std::vector<std::string>{"2009. 03. 05."});
    EXPECT_EQ(Texts(), std::vector<std::string>{"Hibás sorszám"});
}

TEST_F(DiaryRemarks, AnEmptyRegisterModifiesDeletesDuplicatesAndPrintsNothing) {
    Run([&](TGNKapcsdoc& f) {
        f.Button3->click();
        EXPECT_FALSE(f.GroupBox1->Visible());
        f.Button4->click();
        f.Button5->click();
        f.Button6->click();
        f.PopupMenu1->Items(3)->Click();
        EXPECT_TRUE(f.Table1.IsEmpty());
    });
    EXPECT_TRUE(output.documents.empty());
}

// "Nyomtatási kép" of the pop-up menu and "Nyomtatás" both print the filtered rows.
TEST_F(DiaryRemarks, TheSheetPrintsTheRowsTheFilterLetsThrough) {
    AddRemark({.mdate = sys::encodeDate(2009, 3, 5),
               .gnszam = "GN03",
               .gnlapsz = "2",
               .oszl = "5",
               .megj = "A 3. tábla két helyrajzi számon fekszik: 012/4, 012/5",
               .msorsz = 1});
    AddRemark(
        {.mdate = sys::encodeDate(2010, 6, 1), .gnszam = "GN-10", .megj = "Később", .msorsz = 2});
    Run([&](TGNKapcsdoc& f) {
        EXPECT_EQ(f.PopupMenu1->Items(3)->Caption(), "Duplázás              CTRL+I");
        f.PopupMenu1->Items(4)->Click(); // "Nyomtatás"
        f.Button9->click();
        f.DateTimePicker2->SetDate(sys::encodeDate(2009, 1, 1));
        f.DateTimePicker3->SetDate(sys::encodeDate(2009, 12, 31));
        f.Button10->click();
        ui::TKey key = ui::ctrlKey('P');
        f.FormKeyPress(nullptr, key);
    });
    EXPECT_EQ(output.asked, (std::vector<std::string>{"09GN18Megjegyz.rav", "09GN18Megjegyz.rav"}));
    ASSERT_EQ(output.documents.size(), 2u);
    regtest::KeepPdf(output.documents[0], "09gn18megjegyz.pdf");
    const std::vector<std::string> all = report::DocumentLines(output.documents[0]);
    EXPECT_THAT(all, Contains(HasSubstr("Megjegyzések a Gazdálkodási Napló adatlapjaihoz")));
    EXPECT_THAT(all, Contains(HasSubstr("1 | 2009. 03. 05. | GN03 | 2 | 5 | A 3. tábla két "
                                        "helyrajzi számon fekszik: 012/4, 012/5")));
    EXPECT_THAT(all, Contains(HasSubstr("2 | 2010. 06. 01. | GN-10 |")));
    const std::vector<std::string> filtered = report::DocumentLines(output.documents[1]);
    EXPECT_THAT(filtered, Contains(HasSubstr("1 | 2009. 03. 05. | GN03")));
    EXPECT_THAT(filtered, Not(Contains(HasSubstr("GN-10"))));
    const std::string pdf = regtest::PdfText(output.documents[0]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf, HasSubstr("012/4, 012/5"));
    }
}

TEST_F(DiaryRemarks, AFreshDatabaseHasTheRemarksTableWithItsIndexes) {
    for (const char* ext : {".db", ".px", ".xg0", ".yg0"})
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::current_path() /
                                            (std::string("GNMegjegy") + ext)))
            << ext;
}

} // namespace

namespace {

TEST_F(DiaryRemarks, TheGridShowsARemarksDateWhole) {
    AddRemark({.mdate = sys::encodeDate(2011, 12, 28)});
    Run([](TGNKapcsdoc& f) {
        const QModelIndex cell = f.DBGrid1->model()->index(0, 0);
        const QString text = cell.data().toString();
        EXPECT_EQ(text.toStdString(), "2011. 12. 28.");
        // The item view keeps a margin at either side of a cell's text.
        const int margins = 2 * (f.DBGrid1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
        EXPECT_LE(f.DBGrid1->fontMetrics().horizontalAdvance(text) + margins,
                  f.DBGrid1->columnWidth(0));
    });
}

} // namespace
