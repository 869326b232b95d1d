// A new user's first session with the machines and records, from the main window on a
// fresh database: machines, repairs of both kinds, a building, employees, a forecast
// source, both machine lists printed; observations (one copied), a month of rainfall, a
// force-majeure case, species with age groups, and the GN 17 sheet printed.
// With FARM_SCREENSHOT_DIR set, a picture of each form is left there.

#include "app/startup.h"
#include "core/Folap.h"
#include "core/Isnuminth.h"
#include "new_user_fixture.h"
#include "platform/report/output.h"
#include "resources/Allatfajtah.h"
#include "resources/Csapadekh.h"
#include "resources/Elorejelforrh.h"
#include "resources/Eszkozfelh.h"
#include "resources/Gazdeph.h"
#include "resources/Gepjavitash.h"
#include "resources/Geplisth.h"
#include "resources/Korcsoportszh.h"
#include "resources/Novvedmegfh.h"
#include "resources/Szaktanh.h"
#include "resources/Szemelyh.h"
#include "resources/Vismajoru.h"
#include "resources/commands.h"
#include "resources_fixture.h"
#include "support/ui_test.h"

#include <QPixmap>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

using NewUser = restest::NewUserTest;

TEST_F(NewUser, MachinesRepairsBuildingsPeopleAndForecastSources) {
    dialogs.Expect("További gép felvitele ?", ui::mrYes)
        .Expect("További gép felvitele ?", ui::mrYes)
        .Expect("További gép felvitele ?", ui::mrNo);
    forms.On<TEszkozfel>([](TEszkozfel& d) {
        d.Edit4->SetText("MTZ 82");
        d.Edit3->SetText("T-1");
        d.Edit7->SetText("1986");
        d.Button4->click();
        d.Edit4->SetText("John Deere 6120");
        d.Edit3->SetText("T-2");
        d.Button4->click();
        d.PageControl1->SetActivePage(d.TabSheet2);
        d.Edit2->SetText("Váltvaforgató eke");
        d.Edit6->SetText("Kverneland");
        Picture(d, "eszkozfel");
        d.Button4->click();
    });
    Folap1->ToolButton13->Click();
    // A service provider's machine (the operations' machine choice adds them).
    restest::AddMachine(session, "Erogepek", "100003", "Bérelt kombájn", 1);
    for (bool tractor : {true, false})
        forms.On<TGepjavitas>([tractor](TGepjavitas& f) {
            f.Button2->click();
            f.Edit1->SetText(tractor ? "kuplungcsere" : "ekevas csere");
            f.Edit2->SetText("Szabó Gépjavító");
            Picture(f, tractor ? "gepjavitas-box" : "gepjavitas-box-munkagep");
            f.Button6->click();
            Picture(f, tractor ? "gepjavitas" : "gepjavitas-munkagep");
            f.Button1->click();
        });
    Menu(records, "Erőgép javítások");
    Menu(records, "Munkagép javítások");
    forms.On<TGazdep>([](TGazdep& f) {
        f.Button1->click();
        f.Edit1->SetText("Gépszín");
        f.Edit2->SetText("400");
        f.ComboBox1->SetText("m2");
        f.Edit3->SetText("1975");
        Picture(f, "gazdep-box");
        f.Button6->click();
        Picture(f, "gazdep");
        f.Button4->click();
    });
    Menu(things, "Gazdasági épületek");
    forms.On<TSzemelyek>([](TSzemelyek& f) {
        for (const char* name : {"Tóth Béla", "Varga Zsófia"}) {
            f.Button3->click();
            Type(f.DBEdit1, name);
            Type(f.DBEdit2, "Eger");
            f.Button5->click();
        }
        Picture(f, "szemelyek");
        f.Button4->click();
    });
    Menu(things, "Alkalmazottak");
    forms.On<TElorejelforr>([](TElorejelforr& f) {
        f.RadioButton3->SetChecked(true);
        Type(f.DBEdit2, "NÉBIH előrejelzés");
        f.RadioButton6->SetChecked(true);
        Type(f.DBEdit3, "saját csapadékmérő");
        Picture(f, "elorejelforr");
        f.Button2->click();
    });
    Menu(records, "Előrejelzési adatok forrása");
    forms.On<TGeplist>([](TGeplist& f) {
        Picture(f, "geplist");
        f.Button2->click();
        f.PageControl1->SetActivePage(f.TabSheet2);
        f.Button2->click();
        f.Button1->click();
    });
    Menu(things, "Gépek listája");
    dialogs.VerifyDone();

    EXPECT_EQ(Rows("Erogepek"), 4);
    EXPECT_EQ(Rows("Erogepek", "Gepkod = '100001'"), 1);
    EXPECT_EQ(Rows("Munkagepek", "Gepkod = '100001'"), 1);
    EXPECT_EQ(Rows("Gepjavitas"), 2);
    EXPECT_EQ(Rows("Gazdepulet"), 1);
    EXPECT_EQ(Rows("Szemely"), 2);
    EXPECT_EQ(Rows("Megffej", "Kar = 2"), 1);
    ASSERT_EQ(output.documents.size(), 2u);
    EXPECT_EQ(output.asked, (std::vector<std::string>{"Erogepek.rav", "Munkagepek.rav"}));
}

TEST_F(NewUser, ObservationsRainfallCasesAnimalsAndTheAdvisorySheet) {
    restest::AddField(session, "100000", 2010, 1, "őszi búza");
    restest::AddField(session, "100001", 2010, 2, "kukorica");
    dialogs.Expect("Biztosan másolja a kijelölt elemet a célparcellára?", ui::mrYes)
        .ExpectContaining("A másolás befejeződött.", ui::mrNo);
    forms.On<TNovvedmegf>([](TNovvedmegf& f) {
        f.Button2->click();
        f.Edit1->SetText("bokrosodás");
        f.Edit2->SetText("vetésfehérítő bogár");
        f.Edit4->SetText("lárva");
        f.Edit5->SetText("hámozott levelek");
        Picture(f, "novvedmegf-box");
        f.Button6->click();
        f.Button2->click();
        f.Edit2->SetText("levéltetű");
        f.Button6->click();
        f.Button7->click();
        f.Table3.Last();
        Picture(f, "novvedmegf-copy");
        f.Button8->click();
        Picture(f, "novvedmegf");
        f.Button1->click();
    });
    Menu(records, "Növényvédelmi megfigyelések");
    forms.On<TCsapadek>([](TCsapadek& f) {
        for (int day = 1; day <= 30; day += 3) {
            f.Button3->click();
            f.DateTimePicker1->SetDate(sys::encodeDate(2010, 6, day));
            f.Edit1->SetText(std::to_string(day % 7));
            f.Edit2->SetText("major");
            f.Button5->click();
        }
        Picture(f, "csapadek");
        f.Button1->click();
    });
    Menu(records, "Csapadék feljegyzések");
    forms.On<Tvismajor>([](Tvismajor& f) {
        f.Button4->click();
        Type(f.DBEdit2, "jégeső");
        Type(f.DBEdit1, "0,5");
        Picture(f, "vismajor-box");
        f.Button6->click();
        Picture(f, "vismajor");
        f.Button1->click();
    });
    Menu(records, "Vis major esetek");
    forms.On<TAllatfajta>([](TAllatfajta& f) {
        for (const char* name : {"szarvasmarha", "juh"}) {
            f.Button1->click();
            Type(f.DBEdit1, name);
            f.Button6->click();
        }
        Picture(f, "allatfajta");
        f.Button4->click();
    });
    Menu(things, "Állatfajták");
    forms.On<TKorcsoportok>([](TKorcsoportok& f) {
        const char* groups[] = {"tehén", "anyajuh"};
        for (int i = 0; i < 2; ++i) {
            f.Button1->click();
            f.DBLookupComboBox1->Choose(i);
            Type(f.DBEdit1, groups[i]);
            Type(f.DBEdit2, i == 0 ? "1" : "0,15");
            f.Button5->click();
        }
        Picture(f, "korcsoportok");
        f.Button4->click();
    });
    Menu(things, "Korcsoportok");
    forms.On<TSzaktan>([](TSzaktan& f) {
        f.Button6->click();
        Type(f.DBEdit1, "Dr. Nagy Ilona");
        Type(f.DBEdit4, "növényvédelmi technológia");
        Picture(f, "szaktan-box");
        f.Button9->click();
        Picture(f, "szaktan");
        f.Button2->click();
        f.Button3->click();
    });
    ShowSzaktan(session);
    dialogs.VerifyDone();

    EXPECT_EQ(Rows("Novvedmegf"), 3);
    EXPECT_EQ(Rows("Novvedmegf", "Parc_id = '100001'"), 1);
    EXPECT_EQ(Rows("Csapadek"), 10);
    EXPECT_EQ(Rows("Vismajor", "Parcid = '100000'"), 1);
    EXPECT_EQ(Rows("Korcsoport"), 2);
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked, (std::vector<std::string>{"GN17Szakt.rav"}));
}

} // namespace
