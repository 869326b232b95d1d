// The 2004-2009 diary's selector: the GN 02 summary, the buttons and the forms they open
// (the cover, the soil-test conditions, the per-field operations conditions), each sheet
// printed and read back.

#include "core/Folap.h"
#include "diary_fixture.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "register/keep_pdf.h"
#include "reports/Gazdnapvalasztoh.h"
#include "reports/Gncimh.h"
#include "reports/Gnkapcsdoch.h"
#include "reports/Gnparcmuvszoloh.h"
#include "reports/Gnparszukh.h"
#include "reports/Gntalajvh.h"
#include "reports/Permnaploszukh.h"
#include "reports/commands.h"
#include "resources/Szaktanh.h"

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

class Diary0409 : public diarytest::DiaryTest {
protected:
    Diary0409() {
        RegisterReportLayouts();
        report::WriteBuiltInLayouts(std::filesystem::current_path());
        diarytest::AddRow(session, "Alapadatok",
                          [](db::TTable& t) { t.FieldByName("Nev").SetAsString("_kesz"); });
        diarytest::AddRow(session, "Alapadatok", [](db::TTable& t) {
            t.FieldByName("Nev").SetAsString("Aranykalász Bt.");
            t.FieldByName("Cegf").SetAsString("Bt.");
            t.FieldByName("Cim").SetAsString("Békéscsaba");
            t.FieldByName("Tel").SetAsString("66/123-456");
            t.FieldByName("Kfax").SetAsString("66/123-457");
            t.FieldByName("Kemail").SetAsString("iroda@aranykalasz.hu");
            t.FieldByName("Ureg").SetAsString("1234567890");
            t.FieldByName("Knev").SetAsString("Kiss Anna");
            t.FieldByName("Khely").SetAsString("Gyula");
            t.FieldByName("Kir").SetAsString("5700");
            t.FieldByName("Kutcah").SetAsString("Kossuth u. 2.");
            t.FieldByName("Ktel").SetAsString("30/111-2222");
            t.FieldByName("Fnev").SetAsString("Nagy Péter");
            t.FieldByName("Fcim").SetAsString("Szarvas, Fő tér 3.");
            t.FieldByName("Szakirregsz").SetAsString("NK-0815");
            t.FieldByName("Szaktan").SetAsString("Tóth Éva");
            t.FieldByName("Szaktaneng").SetAsString("SZT-42");
            t.FieldByName("Szaktancim").SetAsString("Orosháza, Béke u. 9.");
        });
        diarytest::AddRow(session, "Alapadat2", [](db::TTable& t) {
            t.FieldByName("Cegiranyito").SetAsString("5600");
            t.FieldByName("Cegcim").SetAsString("Fő utca 1.");
        });
    }

    // A land parcel of the branch; returns its Tableid.
    int Parcel(int ter, int muvagid, bool active = true) {
        db::TTable t(session);
        t.SetTableName("Tablak");
        t.Open();
        t.Append();
        t.FieldByName("Helysz").SetAsString("0" + std::to_string(++parcels_));
        t.FieldByName("Ter").SetAsInteger(ter);
        t.FieldByName("Muvagid").SetAsInteger(muvagid);
        t.FieldByName("Aktiv").SetAsInteger(active ? 1 : 0);
        t.FieldByName("Blok").SetAsString("K" + std::to_string(parcels_) + "XY-1");
        t.Post();
        return t.FieldByName("Tableid").AsInteger();
    }

    std::vector<std::string> Gn02() {
        ui::OwnedForm<TGazdNaploValaszto> selector(GazdNaploValaszto, session);
        return selector->GN02Row();
    }

    report::CaptureOutput output;
    report::ScopedOutput use{output};
    int parcels_ = 0;
};

// --- GN 02 ---------------------------------------------------------------------------------

TEST_F(Diary0409, TheSummaryTruncatesEachBranchToWholeAres) {
    Parcel(12345, 1);
    Parcel(5000, 1);
    Parcel(40000, 1, false); // inactive: left out
    EXPECT_EQ(Gn02(),
              (std::vector<std::string>{"1,73", "", "", "", "", "", "", "", "", "", "1,73"}));
    Parcel(99, 2); // under one are: empty, and adds nothing
    Parcel(25050, 8);
    EXPECT_EQ(Gn02(),
              (std::vector<std::string>{"1,73", "", "", "", "", "", "", "2,5", "", "", "4,23"}));
}

TEST_F(Diary0409, BranchesOutsideTheNineAndAnEmptyTableGiveATotalOfNought) {
    EXPECT_EQ(Gn02(), (std::vector<std::string>{"", "", "", "", "", "", "", "", "", "", "0"}));
    Parcel(30000, 11);
    Parcel(10000, 0);
    EXPECT_EQ(Gn02(), (std::vector<std::string>{"", "", "", "", "", "", "", "", "", "", "0"}));
}

TEST_F(Diary0409, TheSummarySheetPrintsTheBranchesAndTheTotal) {
    Parcel(12345, 1);
    Parcel(5000, 1);
    Parcel(20000, 3);
    ui::OwnedForm<TGazdNaploValaszto> selector(GazdNaploValaszto, session);
    selector->Button2->click();
    selector->Button2->click(); // a second run reads its one row again
    ASSERT_EQ(output.documents.size(), 2u);
    EXPECT_EQ(output.asked.back(), "GN02Osszesito.rav");
    regtest::KeepPdf(output.documents[0], "GN02Osszesito.pdf");
    const std::string text = AllLines(output.documents[1]);
    EXPECT_THAT(text, HasSubstr("GN 02"));
    EXPECT_THAT(text, HasSubstr("Összesítő adatlap"));
    EXPECT_THAT(text, HasSubstr("Aranykalász Bt."));
    EXPECT_THAT(text, HasSubstr("A gazdaság földterülete művelési áganként (ha)"));
    EXPECT_THAT(text, HasSubstr("1,73 | 2,00 | 3,73"));
    EXPECT_THAT(text, HasSubstr("3,73"));
    const std::string pdf = regtest::PdfText(output.documents[1]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf, HasSubstr("Gyümölcsös"));
        EXPECT_THAT(pdf, HasSubstr("3,73"));
    }
}

// --- the buttons ---------------------------------------------------------------------------

TEST_F(Diary0409, EachButtonOpensItsFormInItsMode) {
    ui::OwnedForm<TGazdNaploValaszto> selector(GazdNaploValaszto, session);
    std::vector<int> modes;
    for (int i = 0; i < 6; ++i)
        forms.On<TGNParSzuk>([&modes](TGNParSzuk& f) {
            modes.push_back(f.DiaryReportMode);
            f.Button3->click();
        });
    forms.On<TGNcim>([](TGNcim& f) {
        EXPECT_TRUE(f.Button2->Visible());
        EXPECT_FALSE(f.Button1->Visible());
        f.Button3->click();
    });
    forms.On<TSzaktan>([](TSzaktan& f) { f.Button3->click(); });
    std::vector<int> kinds;
    for (int i = 0; i < 3; ++i)
        forms.On<TGNParcMuvSzolo>([&kinds](TGNParcMuvSzolo& f) {
            kinds.push_back(f.SheetKind);
            f.Button3->click();
        });
    forms.On<TGNTalajv>([](TGNTalajv& f) { f.Button3->click(); });

    for (ui::TButton* button :
         {selector->Button4, selector->Button5, selector->Button6, selector->Button9,
          selector->Button11, selector->Button18, selector->Button1, selector->Button17,
          selector->Button19, selector->Button20, selector->Button21})
        button->click();
    selector->TalajvClick(nullptr);
    EXPECT_EQ(modes, (std::vector<int>{1, 2, 3, 4, 5, 3}));
    EXPECT_EQ(kinds, (std::vector<int>{0, 1, 2}));
    forms.VerifyDone();
    EXPECT_EQ(GNParSzuk, nullptr); // each sheet form is freed when it closes
    EXPECT_EQ(GNcim, nullptr);
}

// "Permetezési napló" opens the spray log's conditions with the GN 08 sheet, and
// "Megjegyzések" the remarks register.
TEST_F(Diary0409, TheSprayLogAndRemarksButtonsOpenTheirForms) {
    Field("100001", 2008, 1, "Búza", 10000);
    Operation({.muvkod = "100001", .field = "100001"});
    ui::OwnedForm<TGazdNaploValaszto> selector(GazdNaploValaszto, session);
    forms.On<Tpermnaploszuk>([](Tpermnaploszuk& f) {
        EXPECT_EQ(f.Caption(), "Permetezési napló feltételei");
        EXPECT_EQ(f.RvProject1.ProjectFile(), "GN08Permetez.rav");
        f.Button3->click();
    });
    forms.On<TGNKapcsdoc>([](TGNKapcsdoc& f) {
        EXPECT_EQ(f.Caption(), "Kapcsolódó dokumentumok");
        f.Button1->click();
    });
    selector->Button8->click();
    selector->Button16->click();
    forms.VerifyDone();
    EXPECT_EQ(permnaploszuk, nullptr);
    EXPECT_EQ(GNKapcsdoc, nullptr);
}

TEST_F(Diary0409, TheCaptionsAndTheDisabledAndHiddenButtons) {
    ui::OwnedForm<TGazdNaploValaszto> selector(GazdNaploValaszto, session);
    EXPECT_EQ(selector->Caption(), "Ürlapválasztó");
    EXPECT_EQ(selector->Button7->Caption(), "Növényvédelmi  megfigyelés");
    EXPECT_EQ(selector->Button16->Caption(), "Megjegyzések");
    for (ui::TButton* off : {selector->Button10, selector->Button12, selector->Button13,
                             selector->Button14, selector->Button15}) {
        EXPECT_FALSE(off->Enabled());
        off->click(); // a disabled button does nothing
    }
    for (ui::TButton* hidden :
         {selector->Button18, selector->Button19, selector->Button20, selector->Button21}) {
        EXPECT_FALSE(hidden->Visible());
        EXPECT_EQ(hidden->Caption(), "Parcella művelés");
        EXPECT_GE(hidden->Top(), selector->ClientHeight());
    }
    EXPECT_TRUE(output.documents.empty());
    forms.VerifyDone();
}

TEST_F(Diary0409, SelectorScreenshot) {
    const char* folder = std::getenv("FARM_SCREENSHOT_DIR");
    if (!folder)
        GTEST_SKIP() << "FARM_SCREENSHOT_DIR not set";
    ui::OwnedForm<TGazdNaploValaszto> selector(GazdNaploValaszto, session);
    ShowActive(*selector);
    testui::ProcessEvents();
    EXPECT_TRUE(selector->grab().save(
        QString::fromStdString((std::filesystem::path(folder) / "selector0409.png").string())));
    selector->Hide();
}

TEST_F(Diary0409, TheMainWindowCommandShowsAFreshSelectorEachTime) {
    app->CreateForm(GazdNaploValaszto, session);
    TGazdNaploValaszto* longLived = GazdNaploValaszto;
    app->CreateForm(Folap1, session);
    Folap1->Timer1->SetEnabled(false);
    InstallReportCommands(*Folap1, session);
    ui::TMenuItem* item = Folap1->FindMenuItem({"Lekérdezések  ", "GAZDÁLKODÁSI NAPLÓ 2004-2009"});
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->Enabled());
    std::vector<TGazdNaploValaszto*> shown;
    for (int i = 0; i < 2; ++i)
        forms.On<TGazdNaploValaszto>([&shown](TGazdNaploValaszto& f) {
            shown.push_back(&f);
            EXPECT_EQ(GazdNaploValaszto, &f);
            f.Close();
        });
    item->Click();
    item->Click();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[0], longLived);
    EXPECT_EQ(GazdNaploValaszto, longLived);
    forms.VerifyDone();
    app.reset();
    Folap1 = nullptr;
    GazdNaploValaszto = nullptr;
}

// --- the cover -----------------------------------------------------------------------------

TEST(DiaryCover, TheYearOfTheCoverFromTheYearPair) {
    EXPECT_EQ(CoverFarmingYear("2008-2009"), "2008/09");
    EXPECT_EQ(CoverFarmingYear("2006-2007"), "2006/07");
    EXPECT_EQ(CoverFarmingYear("2009"), "..../....");
    EXPECT_EQ(CoverFarmingYear("2008-20x9"), "..../....");
    EXPECT_EQ(CoverFarmingYear("2025-2024"), "..../...."); // two years, but no pair
    EXPECT_EQ(CoverFarmingYear("1899-1900"), "..../....");
    EXPECT_EQ(CoverFarmingYear(""), "");
    EXPECT_EQ(YearPair(2008), "2007-2008");
}

class DiaryCoverForm : public Diary0409 {
protected:
    DiaryCoverForm() {
        int serial = 0;
        for (int year : {2009, 2007, 2008, 2009}) {
            ++serial;
            Field(std::to_string(100000 + serial), year, serial, "Búza", 10000);
        }
    }
    std::vector<std::string> Items(TGNcim& f) {
        std::vector<std::string> items;
        for (int i = 0; i < f.ComboBox1->Items().Count(); ++i)
            items.push_back(f.ComboBox1->Items()[i]);
        return items;
    }
};

TEST_F(DiaryCoverForm, TheLatestPairIsChosenAndTheCoverCarriesTheFarmsData) {
    std::vector<std::string> row;
    forms.On<TGNcim>([&](TGNcim& f) {
        EXPECT_EQ(Items(f), (std::vector<std::string>{"2006-2007", "2007-2008", "2008-2009"}));
        EXPECT_EQ(f.ComboBox1->Text(), "2008-2009");
        row = f.CoverRow();
        f.Button2->click();
        // Back from the preview: the list as it was, the text the latest pair again.
        f.ComboBox1->SetText("2006-2007");
        f.Activate();
        EXPECT_EQ(Items(f).size(), 3u);
        EXPECT_EQ(f.ComboBox1->Text(), "2008-2009");
        f.Button3->click();
    });
    OpenDiaryCover(session, false);
    ASSERT_EQ(row.size(), kCoverColumns.size());
    EXPECT_EQ(row[0], "2008/09");
    EXPECT_EQ(row[1], "Aranykalász Bt."); // the farm row, not the option row before it
    EXPECT_EQ(row[5], "5600");
    EXPECT_EQ(row[6], "Fő utca 1.");
    EXPECT_EQ(row[8], row[15]); // Fax and Kfax
    EXPECT_EQ(row[9], row[16]); // email and Kmail
    EXPECT_EQ(row[17], "NK-0815");
    EXPECT_EQ(row[22], "Orosháza, Béke u. 9.");
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked.back(), "GN01Cim.rav");
    regtest::KeepPdf(output.documents[0], "GN01Cim.pdf");
    const std::string text = AllLines(output.documents[0]);
    for (const char* expected :
         {"GAZDÁLKODÁSI NAPLÓ", "2008/09 gazdasági év", "Név: Aranykalász Bt.", "Cégforma: Bt.",
          "Helység, irányítószám: Békéscsaba 5600", "Fő utca 1.", "Kiss Anna", "Kossuth u. 2.",
          "Nagy Péter", "Szarvas, Fő tér 3.", "NK-0815", "Tóth Éva", "Engedély száma: SZT-42",
          "iroda@aranykalasz.hu"})
        EXPECT_THAT(text, HasSubstr(expected));
    const std::string pdf = regtest::PdfText(output.documents[0]);
    if (!pdf.empty()) {
        for (const char* expected : {"2008/09 gazdasági év", "Aranykalász Bt.", "Fő utca 1.",
                                     "Orosháza, Béke u. 9.", "SZT-42"})
            EXPECT_THAT(pdf, HasSubstr(expected));
    }
}

TEST_F(DiaryCoverForm, ASingleYearTypedIsNamedAndNothingPrints) {
    dialogs.Expect("A 'Gazdasági év' nem évpár: kérem, így adja meg: 2008-2009!");
    forms.On<TGNcim>([](TGNcim& f) {
        f.ComboBox1->SetText("2009");
        f.Button2->click();
        f.Button3->click();
    });
    OpenDiaryCover(session, false);
    EXPECT_TRUE(output.documents.empty());
}

TEST_F(DiaryCoverForm, TheLaterPeriodsCoverPrintsFromItsButtonAndFromThePopup) {
    forms.On<TGNcim>([](TGNcim& f) {
        EXPECT_TRUE(f.Button1->Visible());
        EXPECT_FALSE(f.Button2->Visible());
        f.Button1->click();
        f.PopupMenu1->Items(1)->Click(); // "Nyomtatási kép": the cover shown, 2009-2014
        f.PopupMenu1->Items(0)->Click(); // "Nyomtatás": nothing
        f.PopupMenu1->Items(2)->Click();
    });
    OpenDiaryCover(session, true);
    EXPECT_EQ(output.asked, (std::vector<std::string>{"09GN01Cim.rav", "09GN01Cim.rav"}));
    ASSERT_EQ(output.documents.size(), 2u);
    regtest::KeepPdf(output.documents[0], "09GN01Cim.pdf");
    const std::string text = AllLines(output.documents[1]);
    EXPECT_THAT(text, HasSubstr("2008/09 gazdálkodási évtől"));
    EXPECT_THAT(text, HasSubstr("Natura 2000"));
    EXPECT_THAT(text, HasSubstr("(amennyiben eltér a gazdálkodó adataitól)"));
    EXPECT_THAT(text, HasSubstr("1. Név: Aranykalász Bt."));
    EXPECT_THAT(text, HasSubstr("12. E-levélcím: iroda@aranykalasz.hu"));
    const std::string pdf = regtest::PdfText(output.documents[1]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf, HasSubstr("2008/09 gazdálkodási évtől"));
        EXPECT_THAT(pdf, HasSubstr("1. Név: Aranykalász Bt."));
    }

    forms.On<TGNcim>([](TGNcim& f) {
        f.PopupMenu1->Items(1)->Click(); // the 2004-2009 cover shown
        f.Button3->click();
    });
    OpenDiaryCover(session, false);
    EXPECT_EQ(output.asked.back(), "GN01Cim.rav");
}

TEST_F(Diary0409, WithoutFieldsTheYearIsEmptyAndOnlyTheLaterCoverPrints) {
    forms.On<TGNcim>([](TGNcim& f) {
        EXPECT_EQ(f.ComboBox1->Text(), "");
        EXPECT_FALSE(f.Button2->Enabled());
        f.Button3->click();
    });
    OpenDiaryCover(session, false);
    forms.On<TGNcim>([](TGNcim& f) {
        EXPECT_TRUE(f.Button1->Enabled());
        f.Button1->click();
        f.Button3->click();
    });
    OpenDiaryCover(session, true);
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_THAT(AllLines(output.documents[0]), HasSubstr("Aranykalász Bt."));
}

// --- the soil-test sheet -------------------------------------------------------------------

class SoilTestSheet : public Diary0409 {
protected:
    SoilTestSheet() {
        Field("100001", 2007, 1, "Őszi búza", 20000);
        Field("100002", 2008, 1, "Kukorica", 30000);
        Field("100003", 2008, 2, "Napraforgó", 10000); // on a parcel without results
        const int first = Under("100001", Parcel(20000, 1));
        const int second = Under("100002", Parcel(30000, 1));
        Under("100003", Parcel(10000, 1));
        Result(first, "M-0001", 0, "Agrolabor Kft.", 6.8);
        Result(second, "M-0002", 0, "Talajlabor Bt.", 5.4);
        Result(second, "M-0003", 1, "Egyedi Minta Kft.", 7.9); // a single sample
    }
    int Under(const std::string& parckod, int tableid) {
        diarytest::AddRow(session, "Szhelyrajzi", [&](db::TTable& t) {
            t.FieldByName("Parcellakod").SetAsString(parckod);
            t.FieldByName("Helysz").SetAsInteger(tableid);
        });
        return tableid;
    }
    void Result(int tableid, const std::string& mintakod, int mintas, const std::string& labor,
                double ph) {
        diarytest::AddRow(session, "Talajmintak", [&](db::TTable& t) {
            t.FieldByName("Tablakod").SetAsInteger(tableid);
            t.FieldByName("Mintakod").SetAsString(mintakod);
            t.FieldByName("Mintas").SetAsInteger(mintas);
            t.FieldByName("Labor").SetAsString(labor);
            t.FieldByName("PH").SetAsFloat(ph);
            t.FieldByName("Humusz").SetAsFloat(2.85);
            t.FieldByName("Datum").SetAsDateTime(sys::encodeDate(2007, 9, 14));
        });
    }
    void Play(const std::function<void(TGNTalajv&)>& play) {
        forms.On<TGNTalajv>([play](TGNTalajv& f) {
            play(f);
            f.Button3->click();
        });
        OpenSoilTestConditions(session);
    }
};

TEST_F(SoilTestSheet, EmptyConditionsPrintTheFieldAveragesOfEveryField) {
    Play([](TGNTalajv& f) {
        EXPECT_EQ(f.ComboBox2->Text(), "2007");
        EXPECT_EQ(f.ComboBox3->Text(), "2008");
        f.Button2->click(); // "Feltételek törlése": the years stay the first and the last
        f.Button4->click();
        f.Button1->click();
        EXPECT_EQ(f.ComboBox2->Items().Count(), 2); // the activations added no year
    });
    ASSERT_EQ(output.documents.size(), 2u);
    EXPECT_EQ(output.asked.back(), "GNTalajvizs.rav");
    regtest::KeepPdf(output.documents[0], "GNTalajvizs.pdf");
    for (const report::Document& document : output.documents) {
        const std::string text = AllLines(document);
        EXPECT_THAT(text, HasSubstr("Talaj- illetve növényvizsgálati adatlap"));
        EXPECT_THAT(text, HasSubstr("Agrolabor Kft."));
        EXPECT_THAT(text, HasSubstr("Talajlabor Bt."));
        EXPECT_THAT(text, HasSubstr("6,8"));
        EXPECT_THAT(text, Not(HasSubstr("Egyedi Minta")));
        EXPECT_THAT(text, Not(HasSubstr("Napraforgó")));
    }
}

TEST_F(SoilTestSheet, TheYearsSectorAndFieldsNarrowTheSelection) {
    Play([](TGNTalajv& f) {
        f.ComboBox2->SetText("2008");
        f.ComboBox1->SetText("Kukorica");
        f.Button4->click();
        EXPECT_EQ(f.ConditionTail,
                  " AND parcellak.Agazat = 'Kukorica' AND parcellak.Evj >= 2008 AND "
                  "parcellak.Evj <= 2008");
    });
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_THAT(AllLines(output.documents[0]), Not(HasSubstr("Agrolabor")));

    dialogs.Expect("Nincs olyan tábla, amelyhez tartozik talajvizsgálat! (Nincs táblaátlag.)");
    dialogs.Expect("Nincs olyan tábla, amelyhez tartozik talajvizsgálat! (Nincs táblaátlag.)");
    dialogs.Expect("Nincs olyan parcella, amelyhez tartozik talajvizsgálat!");
    dialogs.Expect("Hiba! A(z) 'Utolsó gazdasági év' értéke nem egész szám !");
    Play([](TGNTalajv& f) {
        f.ComboBox1->SetText("Kukorica' OR 'a' = 'a"); // a quote typed stays in the text
        f.Button4->click();
        f.ComboBox1->SetText("");
        f.ComboBox2->SetText("2008");
        f.ComboBox3->SetText("2006");
        f.Button4->click();
        f.Button1->click();
        f.ComboBox3->SetText("2008x");
        f.Button4->click();
    });
    EXPECT_EQ(dialogs.Shown()[0].caption, "A szűkítés eredménye üres!");
    EXPECT_EQ(output.documents.size(), 1u);
    dialogs.VerifyDone();
}

TEST_F(SoilTestSheet, TheKeysToggleTheActiveFieldsPreviewAndClear) {
    Play([](TGNTalajv& f) {
        Type(f.ComboBox2, "2009"); // a typed year leaves the filter alone
        EXPECT_TRUE(f.CheckBox1->Checked());
        Key(f.DBGrid1, ::Qt::Key_A, ::Qt::ControlModifier);
        EXPECT_FALSE(f.CheckBox1->Checked());
        EXPECT_FALSE(f.Aktivparcellak1->Checked());
        EXPECT_FALSE(f.Table1.Filtered());
        f.ComboBox1->SetText("Kukorica");
        Key(f.ComboBox1, ::Qt::Key_I, ::Qt::ControlModifier); // clears
        EXPECT_EQ(f.ComboBox1->Text(), "");
        EXPECT_EQ(f.ComboBox2->Text(), "2007");
        Key(f.DBGrid1, ::Qt::Key_T, ::Qt::ControlModifier); // previews
    });
    ASSERT_EQ(output.documents.size(), 1u);
}

TEST(SoilTestSql, ThePreviewListsTheLaboratoryFirstAndTheExtraMetals) {
    const std::vector<std::string> print = SoilTestSql(false, " AND parcellak.Evj >= 2008");
    const std::vector<std::string> preview = SoilTestSql(true, "");
    ASSERT_EQ(print.size(), 9u);
    EXPECT_THAT(print[0], HasSubstr("Talajmintak.Tablakod, Talajmintak.Labor, "));
    EXPECT_THAT(print[0], Not(HasSubstr("Ocd")));
    EXPECT_THAT(preview[0], HasSubstr("Talajmintak.Labor, Talajmintak.Tablakod, "));
    EXPECT_THAT(preview[0], HasSubstr("parcellak.Ter, Talajmintak.Ocd, "));
    EXPECT_EQ(print[8], "WHERE  Talajmintak.Mintas = 0 AND parcellak.Evj >= 2008");
}

// --- the per-field operations sheets -------------------------------------------------------

class ParcelOperationsSheet : public Diary0409 {
protected:
    ParcelOperationsSheet() {
        // The fresh database's own machines "---" (code 100000) are the operations' ones.
        Name("Erogepek", "MTZ-82");
        Name("Munkagepek", "Rába eke");
        OperationType("100000", "Szántás", 0);
        Field("100001", 2008, 1, "Legelő", 50000);
        Field("100002", 2008, 2, "Szőlő", 20000);
        Operation({.muvkod = "100000", .field = "100001", .muvnev = "Tisztító kaszálás"});
        Operation({.muvkod = "100001", .field = "100002", .muvnev = "Sorközművelés"});
        Operation({.muvkod = "100003",
                   .field = "100001",
                   .datum = sys::encodeDate(2008, 6, 20),
                   .hozam = 3.5,
                   .szantm = "0",
                   .muvnev = "Kaszálás"});
        Operation(
            {.muvkod = "100002", .field = "100001", .muvid = "999999", .muvnev = "Ismeretlen"});
        for (int i = 1; i <= 9; ++i)
            diarytest::AddRow(session, "legnaplo", [i](db::TTable& t) {
                t.FieldByName("Parcid").SetAsString("100001");
                t.FieldByName("Legkezd").SetAsDateTime(sys::encodeDate(2008, 5, i));
                t.FieldByName("Faj").SetAsString("Juh " + std::to_string(i));
                t.FieldByName("Darab").SetAsString("120");
            });
    }
    void Name(const std::string& machines, const std::string& name) {
        db::TTable t(session);
        t.SetTableName(machines);
        t.Open();
        t.First();
        while (!t.Eof() && t.FieldByName("Gepkod").AsString() != "100000")
            t.Next();
        ASSERT_FALSE(t.Eof());
        t.Edit();
        t.FieldByName("Gepnev").SetAsString(name);
        t.Post();
    }
    void Play(std::uint8_t kind, const std::function<void(TGNParcMuvSzolo&)>& play) {
        forms.On<TGNParcMuvSzolo>([play](TGNParcMuvSzolo& f) {
            play(f);
            f.Button3->click();
        });
        OpenParcelOperationsConditions(session, kind);
    }
};

TEST_F(ParcelOperationsSheet, TheGridsCurrentFieldPrintsWithItsGrazingLog) {
    Play(2, [](TGNParcMuvSzolo& f) { f.Button4->click(); });
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked.back(), "GNLegeltetesMuv.rav");
    regtest::KeepPdf(output.documents[0], "GNLegeltetesMuv.pdf");
    const std::string text = AllLines(output.documents[0]);
    EXPECT_THAT(text, HasSubstr("Legeltetési napló"));
    EXPECT_THAT(text, HasSubstr("Juh 8"));
    EXPECT_THAT(text, Not(HasSubstr("Juh 9"))); // at most eight rows
    EXPECT_EQ(text.find("Tisztító kaszálás"), text.rfind("Tisztító kaszálás")); // one row
    EXPECT_THAT(text, HasSubstr("Tisztító kaszálás"));
    EXPECT_THAT(text, HasSubstr("MTZ-82"));
    EXPECT_THAT(text, HasSubstr("Rába eke"));
    EXPECT_THAT(text, Not(HasSubstr("Ismeretlen"))); // its type has no row: not selected
    EXPECT_THAT(text, Not(HasSubstr("Sorközművelés")));
    EXPECT_THAT(text, HasSubstr("| Rába eke | 3,5\n")); // no depth "0", the yield
    EXPECT_THAT(text, Not(HasSubstr("0,0")));           // no yield: an empty cell
}

TEST_F(ParcelOperationsSheet, ThePlantationKindPrintsTheVarietiesOfTheChosenField) {
    diarytest::AddRow(session, "Parckiegadat", [](db::TTable& t) {
        t.FieldByName("Parckod").SetAsString("100002");
        t.FieldByName("Fajta").SetAsString("Olaszrizling");
        t.FieldByName("Tokedb").SetAsInteger(4000);
    });
    Play(0, [](TGNParcMuvSzolo& f) {
        f.Table1.Next();
        f.Button1->click();
        EXPECT_EQ(f.ConditionTail, "AND (Tablakod = '100002')");
    });
    ASSERT_EQ(output.documents.size(), 1u);
    regtest::KeepPdf(output.documents[0], "GNUltetvenyMuv.pdf");
    const std::string text = AllLines(output.documents[0]);
    EXPECT_THAT(text, HasSubstr("Olaszrizling"));
    EXPECT_THAT(text, HasSubstr("4 000"));
    EXPECT_THAT(text, HasSubstr("Sorközművelés"));
    // The orchard kind reads the columns its table has; the others print empty.
    Play(1, [](TGNParcMuvSzolo& f) { f.Button4->click(); });
    ASSERT_EQ(output.documents.size(), 2u);
    EXPECT_EQ(output.asked.back(), "GNGyumolcsMuv.rav");
}

TEST_F(ParcelOperationsSheet, NoFieldListedGivesTheEmptyResultMessage) {
    dialogs.Expect("Nincs megjeleníthető művelet!");
    Play(0, [](TGNParcMuvSzolo& f) {
        f.CheckBox1->SetChecked(false);
        f.Table1.SetFilter("Evj = 1990");
        f.Table1.SetFiltered(true);
        f.Button1->click();
        EXPECT_EQ(f.ConditionTail, "AND (Tablakod = '')");
    });
    EXPECT_EQ(dialogs.Last().caption, "A szűkítés eredménye üres!");
    EXPECT_TRUE(output.documents.empty());
}

} // namespace
