// Plant-protection observations: serials across the whole table, exactly one pest row
// per observation, the calculated pest columns, deletion, and copying one observation
// and all of a field's.

#include "resources/Novvedmegfh.h"
#include "resources/observations.h"
#include "resources_fixture.h"

#include <gtest/gtest.h>

namespace {

using restest::AddField;

class Observations : public restest::ResourcesTest {
protected:
    Observations() {
        AddField(session, "100000", 2010, 1, "búza");
        AddField(session, "100001", 2010, 2, "kukorica");
        AddField(session, "100002", 2009, 5, "árpa", false);
    }

    // Plays the form; `body` runs on it, then it is closed.
    void WithForm(const std::function<void(TNovvedmegf&)>& body) {
        forms.On<TNovvedmegf>([&](TNovvedmegf& f) {
            body(f);
            f.Button1->click();
        });
        ui::ShowModalForm(Novvedmegf, session);
    }

    static void ChooseField(TNovvedmegf& f, const std::string& parckod) {
        ASSERT_TRUE(f.Table2.Locate("Parckod", {db::Value(parckod)}));
    }

    static void Record(TNovvedmegf& f, int day, const std::string& pest,
                       const std::string& pestStage, const std::string& signs) {
        f.Button2->click();
        f.DateTimePicker1->SetDate(sys::encodeDate(2010, 5, day));
        f.Edit1->SetText("bokrosodás");
        f.Edit2->SetText(pest);
        f.Edit3->SetText("szemrevételezés");
        f.Edit4->SetText(pestStage);
        f.Edit5->SetText(signs);
        f.Edit7->SetText("gyenge");
        f.Button6->click();
    }

    static std::vector<std::string> Listed(TNovvedmegf& f, const std::string& field) {
        std::vector<std::string> values;
        for (f.Table1.First(); !f.Table1.Eof(); f.Table1.Next())
            values.push_back(f.Table1.FieldByName(field).AsString());
        f.Table1.First();
        return values;
    }
};

TEST_F(Observations, SerialsCountTheWholeTableAndEachObservationGetsOnePestRow) {
    EXPECT_EQ(res::NextObservationSerial(session), 1);
    WithForm([](TNovvedmegf& f) {
        ChooseField(f, "100000");
        f.Button2->click();
        EXPECT_EQ(f.Edit6->Text(), "1");
        EXPECT_EQ(f.GroupBox1->Caption(), "Új feljegyzés");
        EXPECT_FALSE(f.DBGrid1->Enabled());
        f.Button5->click(); // "Mégsem" writes nothing
        EXPECT_TRUE(f.DBGrid1->Enabled());
        Record(f, 12, "levéltetű", "lárva", "");
        ChooseField(f, "100001");
        f.Button2->click();
        EXPECT_EQ(f.Edit6->Text(), "2"); // the other field's serial counts
        f.Edit4->SetText("");
        Key(f.Edit4, Qt::Key_S, Qt::ControlModifier); // both pest boxes empty: still a row
        EXPECT_FALSE(f.GroupBox1->Visible());
        EXPECT_EQ(f.Table1.RecordCount(), 1);
        ChooseField(f, "100000");
        EXPECT_EQ(Listed(f, "Karfejl"), (std::vector<std::string>{"levéltetű"}));
        EXPECT_EQ(Listed(f, "karfej"), (std::vector<std::string>{"lárva"}));
    });
    EXPECT_EQ(Column("Novvedmegf", "Sorsz"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Column("Novvedmegf", "Parc_id"), (std::vector<std::string>{"100000", "100001"}));
    EXPECT_EQ(Column("Novvedmeg2", "Megfid"), Column("Novvedmegf", "Id"));
    EXPECT_EQ(Column("Novvedmeg2", "Karfejl"), (std::vector<std::string>{"lárva", ""}));
    EXPECT_EQ(res::NextObservationSerial(session), 3);
}

TEST_F(Observations, ModifyEditsThePestRowOrAddsTheMissingOne) {
    restest::AddRow(session, "Novvedmegf", [](db::TTable& t) {
        t.FieldByName("Parc_id").SetAsString("100000");
        t.FieldByName("Datum").SetAsDateTime(sys::encodeDate(2010, 4, 1));
        t.FieldByName("Karfejl").SetAsString("gabonafutrinka");
        t.FieldByName("Sorsz").SetAsInteger(7);
    });
    dialogs.Expect("Hiba! A(z) 'Sorszám' értéke nem egész szám !");
    WithForm([](TNovvedmegf& f) {
        ChooseField(f, "100000");
        EXPECT_EQ(Listed(f, "karfej"), (std::vector<std::string>{""})); // no pest row yet
        f.Button3->click();
        EXPECT_EQ(f.GroupBox1->Caption(), "Feljegyzés módosítása");
        EXPECT_EQ(f.Edit6->Text(), "7");
        EXPECT_EQ(f.Edit2->Text(), "gabonafutrinka");
        f.Edit4->SetText("imágó");
        f.Edit5->SetText("rágott levelek");
        f.Button6->click();
        f.Button3->click();
        EXPECT_EQ(f.Edit4->Text(), "imágó");
        f.Edit4->SetText("lárva");
        f.Edit6->SetText("7a"); // refused: nothing is written, the box stays open
        f.Button6->click();
        EXPECT_TRUE(f.GroupBox1->Visible());
        f.Edit6->SetText("8");
        f.Button6->click();
        EXPECT_EQ(Listed(f, "karjel"), (std::vector<std::string>{"rágott levelek"}));
    });
    EXPECT_EQ(Count("Novvedmeg2"), 1);
    EXPECT_EQ(Column("Novvedmeg2", "Karfejl"), (std::vector<std::string>{"lárva"}));
    EXPECT_EQ(Column("Novvedmegf", "Sorsz"), (std::vector<std::string>{"8"}));
}

TEST_F(Observations, DeleteAsksAndTakesThePestRowWithIt) {
    dialogs.Expect("Biztosan törli a kijelölt elemet?", ui::mrNo)
        .Expect("Biztosan törli a kijelölt elemet?", ui::mrYes);
    WithForm([](TNovvedmegf& f) {
        ChooseField(f, "100000");
        f.Button4->click(); // an empty list: no question
        Record(f, 1, "aknázómoly", "báb", "aknák");
        Record(f, 2, "levéltetű", "lárva", "");
        f.Table1.Last(); // the list shows the pest columns of every row
        const int stage = f.Table1.FieldByName("karfej").Index();
        EXPECT_EQ(std::get<std::string>(f.Table1.rowValue(0, stage)), "báb");
        f.Table1.First();
        f.Button4->click();
        EXPECT_EQ(f.Table1.RecordCount(), 2);
        Key(f.DBGrid1, Qt::Key_T, Qt::ControlModifier);
        EXPECT_EQ(Listed(f, "Karfejl"), (std::vector<std::string>{"levéltetű"}));
    });
    dialogs.VerifyDone();
    EXPECT_EQ(Count("Novvedmegf"), 1);
    EXPECT_EQ(Column("Novvedmeg2", "Karjel"), (std::vector<std::string>{""}));
}

TEST_F(Observations, CopiesKeepTheSourceButGetANewIdAndTheFirstPestRow) {
    restest::AddRow(session, "Novvedmegf", [](db::TTable& t) {
        t.FieldByName("Parc_id").SetAsString("100000");
        t.FieldByName("Karfejl").SetAsString("kukoricabogár");
        t.FieldByName("Mneve").SetAsString("Kiss");
        t.FieldByName("Het").SetAsInteger(23);
        t.FieldByName("Javdatum").SetAsDateTime(sys::encodeDate(2010, 6, 1));
        t.FieldByName("Agrotechsorsz").SetAsInteger(4);
        t.FieldByName("Sorsz").SetAsInteger(5);
    });
    restest::AddRow(session, "Novvedmeg2", [](db::TTable& t) {
        t.FieldByName("Megfid").SetAsInteger(1);
        t.FieldByName("Karfejl").SetAsString("imágó");
        t.FieldByName("Egyeb").SetAsString("x");
    });
    restest::AddRow(session, "Novvedmegf", [](db::TTable& t) {
        t.FieldByName("Parc_id").SetAsString("100000");
        t.FieldByName("Karfejl").SetAsString("nincs kártevő sor");
    });
    const int copy = res::CopyObservation(session, 1, "100001");
    EXPECT_EQ(copy, 3);
    EXPECT_EQ(res::CopyObservation(session, 2, "100001"), 4);
    EXPECT_EQ(Column("Novvedmegf", "Parc_id"),
              (std::vector<std::string>{"100000", "100000", "100001", "100001"}));
    EXPECT_EQ(Column("Novvedmegf", "Sorsz", "Id = 3"), (std::vector<std::string>{"5"}));
    EXPECT_EQ(Column("Novvedmegf", "Mneve", "Id = 3"), (std::vector<std::string>{"Kiss"}));
    EXPECT_EQ(Column("Novvedmegf", "Het", "Id = 3"), (std::vector<std::string>{"23"}));
    EXPECT_EQ(Column("Novvedmegf", "Javdatum", "Id = 3"),
              (std::vector<std::string>{"2010. 06. 01."}));
    EXPECT_EQ(Column("Novvedmegf", "Agrotechsorsz", "Id = 3"), (std::vector<std::string>{""}));
    EXPECT_EQ(Column("Novvedmeg2", "Megfid"), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(Column("Novvedmeg2", "Egyeb", "Megfid = 3"), (std::vector<std::string>{"x"}));
}

TEST_F(Observations, CopyingOneAndAllOfAFieldFromTheCopyBox) {
    dialogs.Expect("Figyelem! Nincs másolható, kijelölt elem.")
        .Expect("Biztosan másolja a kijelölt elemet a célparcellára?", ui::mrYes)
        .ExpectContaining("Kéri a kijelölt elem további másolását?", ui::mrYes)
        .Expect("Biztosan másolja a célparcellára az összes megfigyelést a forrásparcelláról?",
                ui::mrYes)
        .ExpectContaining("A másolás befejeződött.", ui::mrNo);
    WithForm([](TNovvedmegf& f) {
        ChooseField(f, "100000");
        f.Button7->click(); // nothing to copy yet
        EXPECT_FALSE(f.GroupBox2->Visible());
        Record(f, 3, "levéltetű", "lárva", "");
        Record(f, 9, "bagolylepke", "hernyó", "");
        f.Table1.First();
        f.Button7->click();
        ASSERT_TRUE(f.GroupBox2->Visible());
        EXPECT_FALSE(f.Button4->isEnabled()); // no deletion under the copy box
        ASSERT_TRUE(f.Table3.Locate("Parckod", {db::Value(std::string("100001"))}));
        f.Button8->click(); // the first observation to the other field; the box stays
        EXPECT_TRUE(f.GroupBox2->Visible());
        ASSERT_TRUE(f.Table3.Locate("Parckod", {db::Value(std::string("100000"))}));
        f.Button9->click(); // all onto the source field itself: doubled once
        EXPECT_FALSE(f.GroupBox2->Visible());
        EXPECT_TRUE(f.Button4->isEnabled());
        EXPECT_EQ(Listed(f, "Karfejl"), (std::vector<std::string>{"levéltetű", "levéltetű",
                                                                  "bagolylepke", "bagolylepke"}));
        ChooseField(f, "100001");
        EXPECT_EQ(Listed(f, "karfej"), (std::vector<std::string>{"lárva"}));
    });
    dialogs.VerifyDone();
    EXPECT_EQ(Count("Novvedmegf"), 5);
    EXPECT_EQ(Count("Novvedmeg2"), 5);
}

TEST_F(Observations, WithoutActiveFieldsTheEditingButtonsStayDisabled) {
    db::TTable fields(session);
    fields.SetTableName("parcellak");
    fields.Open();
    for (fields.First(); !fields.Eof(); fields.Next()) {
        fields.Edit();
        fields.FieldByName("Aktiv").SetAsString("N");
        fields.Post();
    }
    WithForm([](TNovvedmegf& f) {
        EXPECT_FALSE(f.Button2->Enabled());
        Key(f.DBGrid1, Qt::Key_A, Qt::ControlModifier); // "Aktív parcellák" unticked
        EXPECT_FALSE(f.CheckBox1->Checked());
        EXPECT_FALSE(f.PopupMenu1->Items(4)->Checked());
        EXPECT_FALSE(f.PopupMenu1->Items(0)->Enabled());
        EXPECT_EQ(f.Table2.RecordCount(), 3);
        EXPECT_FALSE(f.Button2->Enabled());
        Key(f.DBGrid1, Qt::Key_U, Qt::ControlModifier);
        EXPECT_FALSE(f.GroupBox1->Visible());
    });
    EXPECT_EQ(Count("Novvedmegf"), 0);
}

} // namespace
