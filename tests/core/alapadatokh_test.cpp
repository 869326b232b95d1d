// The basic-data form on the farm row of Alapadatok.db beside the option rows, and the
// about box.

#include "core/AboutH.h"
#include "core/Alapadatokh.h"
#include "core/Isnuminth.h"
#include "core_tables.h"
#include "platform/db/table.h"
#include "support/ui_test.h"

#include <QApplication>
#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

constexpr const char* kEmptyTaxNumber = "        - -  ";
constexpr const char* kEmptyAccount = "        -        -        ";

class AlapadatokTest : public testui::UiTest {
protected:
    AlapadatokTest() {
        coretest::MakeAlapadatok(session);
        coretest::MakeAlapadat2(session);
    }

    // Shows the form modally and plays `play` on it.
    void Open(std::function<void(TAlapadatok&)> play) {
        forms.On<TAlapadatok>([play](TAlapadatok& f) {
            QApplication::setActiveWindow(&f);
            play(f);
        });
        ui::ShowModalForm(Alapadatok, session);
    }

    // The named fields of every row of a table, joined by '|'.
    std::vector<std::string> Rows(const std::string& table, std::vector<std::string> fields) {
        db::TTable t(session);
        t.SetTableName(table);
        t.Open();
        std::vector<std::string> rows;
        for (t.First(); !t.Eof(); t.Next()) {
            std::string row;
            for (const std::string& f : fields)
                row += (row.empty() ? "" : "|") + t.FieldByName(f).AsString();
            rows.push_back(row);
        }
        return rows;
    }

    // Types into a masked editor from its first position, as after clicking into it.
    static void TypeMasked(ui::TMaskEdit* edit, const std::string& digits) {
        edit->setCursorPosition(0);
        Type(edit, digits);
    }

    std::vector<std::string> FarmRows() { return Rows("Alapadatok", {"Nev", "Cim", "Adosz"}); }

    db::Session session;
};

} // namespace

TEST_F(AlapadatokTest, SavingEmptyTablesCreatesBothRowsWithTheMasksBlanks) {
    Open([](TAlapadatok& f) {
        EXPECT_EQ(f.Caption(), "Alapadatok");
        EXPECT_EQ(f.HelpContext(), 38);
        EXPECT_EQ(f.PageControl1->PageCount(), 5);
        f.Button1->Click();
    });
    EXPECT_THAT(Rows("Alapadatok", {"Id", "Nev", "Adosz", "Szamlasz"}),
                ElementsAre(std::string("1||") + kEmptyTaxNumber + "|" + kEmptyAccount));
    EXPECT_THAT(Rows("Alapadat2", {"Id", "Cegiranyito", "Cegcim"}), ElementsAre("1||"));
    EXPECT_EQ(core::FarmName(session), "");
}

TEST_F(AlapadatokTest, TypedDataIsSavedAndShownAgain) {
    Open([](TAlapadatok& f) {
        Type(f.DBEdit1, "Kovács és Társa Bt.");
        Type(f.DBEdit3, std::string(70, 'x')); // the town takes its box's 35 of the field's 60
        Type(f.DBEdit4, "6720");
        Type(f.DBEdit24, "Dr. Szabó Ödön");
        TypeMasked(f.MaskEdit1, "12345678912");
        TypeMasked(f.MaskEdit2, "1177");
        f.Button1->Click();
    });
    EXPECT_THAT(Rows("Alapadatok", {"Nev", "Cim", "Szaktan", "Adosz", "Szamlasz"}),
                ElementsAre("Kovács és Társa Bt.|" + std::string(35, 'x') +
                            "|Dr. Szabó Ödön|12345678-9-12|1177    -        -        "));
    EXPECT_THAT(Rows("Alapadat2", {"Cegiranyito"}), ElementsAre("6720"));
    EXPECT_EQ(core::FarmName(session), "Kovács és Társa Bt.");

    Open([](TAlapadatok& f) {
        EXPECT_EQ(f.DBEdit1->Text(), "Kovács és Társa Bt.");
        EXPECT_EQ(f.DBEdit4->Text(), "6720");
        EXPECT_EQ(f.MaskEdit1->Text(), "12345678-9-12");
        Type(f.DBEdit2, "Bt.");
        f.Button1->Click();
    });
    EXPECT_THAT(Rows("Alapadatok", {"Nev", "Cegf"}), ElementsAre("Kovács és Társa Bt.|Bt."));
    EXPECT_EQ(Rows("Alapadat2", {"Id"}).size(), 1u);
}

TEST_F(AlapadatokTest, BackLeavesBothTablesAsTheyWere) {
    Open([](TAlapadatok& f) {
        Type(f.DBEdit1, "Első");
        f.Button1->Click();
    });
    const auto before = coretest::FileBytes();
    Open([](TAlapadatok& f) {
        Type(f.DBEdit1, " módosítva");
        Type(f.DBEdit5, "Fő utca 1.");
        TypeMasked(f.MaskEdit1, "99999999");
        f.DBEdit2->setFocus(); // the first edit writes its text into the row
        f.Button2->Click();
    });
    EXPECT_TRUE(coretest::FileBytes() == before);
    EXPECT_THAT(FarmRows(), ElementsAre(std::string("Első||") + kEmptyTaxNumber));
}

TEST_F(AlapadatokTest, SavingNeverOverwritesAnOptionRow) {
    // Delete-all empties the table; the settings form then writes the options first.
    TNumericInt numeric(session);
    numeric.SetOptionFlag("_kesz", false);
    numeric.SetOptionFlag("_MuvFormState", true);
    EXPECT_EQ(core::FarmName(session), "");

    Open([](TAlapadatok& f) {
        EXPECT_EQ(f.DBEdit1->Text(), "");
        EXPECT_EQ(f.MaskEdit1->Text(), kEmptyTaxNumber);
        Type(f.DBEdit1, "Nagy Gazda");
        Type(f.DBEdit3, "Makó");
        f.Button1->Click();
    });
    EXPECT_THAT(FarmRows(), ElementsAre("_kesz|no|", "_MuvFormState|yes|",
                                        std::string("Nagy Gazda|Makó|") + kEmptyTaxNumber));
    EXPECT_EQ(core::FarmName(session), "Nagy Gazda");

    // Saving again edits the farm row; an option set in between stays its own row.
    numeric.SetOptionFlag("_ElozoParc", true);
    Open([](TAlapadatok& f) {
        EXPECT_EQ(f.DBEdit3->Text(), "Makó");
        TypeMasked(f.MaskEdit1, "11111111222");
        f.Button1->Click();
    });
    EXPECT_THAT(FarmRows(), ElementsAre("_kesz|no|", "_MuvFormState|yes|",
                                        "Nagy Gazda|Makó|11111111-2-22", "_ElozoParc|yes|"));
    EXPECT_FALSE(numeric.IsStockKeepingEnabled());
    EXPECT_TRUE(numeric.GetOptionFlag("_MuvFormState"));
}

TEST_F(AlapadatokTest, FarmNameWithTheOptionsMarkIsRefused) {
    TNumericInt numeric(session);
    numeric.SetOptionFlag("_kesz", false);
    dialogs.Expect("A gazdálkodó neve nem kezdődhet aláhúzásjellel ( _ ) !");
    Open([](TAlapadatok& f) {
        Type(f.DBEdit1, "_kesz");
        TypeMasked(f.MaskEdit1, "1234");
        f.Button1->Click();
        EXPECT_EQ(f.ModalResult(), ui::mrNone); // stays open, nothing typed is lost
        EXPECT_EQ(f.MaskEdit1->Text(), "1234    - -  ");
        f.DBEdit1->selectAll();
        Type(f.DBEdit1, "Kis Kft.");
        f.Button1->Click();
    });
    EXPECT_THAT(FarmRows(), ElementsAre("_kesz|no|", "Kis Kft.||1234    - -  "));
}

TEST_F(AlapadatokTest, EnterMovesOnAndSavesOnTheButton) {
    Open([](TAlapadatok& f) {
        f.DBEdit1->SetFocus();
        Key(f.DBEdit1, Qt::Key_Return);
        EXPECT_TRUE(f.DBEdit2->hasFocus());
        f.PageControl1->SetActivePage(f.TabSheet2);
        f.DBEdit10->SetFocus(); // the last editor of its page
        Type(f.DBEdit10, "06 1 234 5678");
        Key(f.DBEdit10, Qt::Key_Enter);
        EXPECT_FALSE(f.DBEdit10->hasFocus());
        f.Button1->SetFocus();
        Key(f.Button1, Qt::Key_Return);
    });
    EXPECT_THAT(Rows("Alapadatok", {"Utel"}), ElementsAre("06 1 234 5678"));
}

TEST_F(AlapadatokTest, AboutBoxShowsTheProgramAndClosesOnEnter) {
    forms.On<TAboutBox>([](TAboutBox& f) {
        EXPECT_EQ(f.Caption(), "About");
        EXPECT_EQ(f.ProductName->Caption(), "Dolvaren - Gazdálkodási Napló");
        for (ui::TLabel* line : {f.ProductName, f.Version}) { // shown whole, in the panel
            EXPECT_GE(line->width(), line->sizeHint().width()) << line->Caption();
            EXPECT_LE(line->x() + line->width(), f.Panel1->width()) << line->Caption();
        }
        EXPECT_EQ(f.Version->Caption(), "Verzió : 3.05");
        EXPECT_FALSE(f.Comments->Caption().empty());
        EXPECT_FALSE(f.ProgramIcon->Picture().isNull());
        EXPECT_TRUE(f.OKButton->Default());
        QApplication::setActiveWindow(&f);
        f.OKButton->SetFocus();
        Key(f.OKButton, Qt::Key_Return);
    });
    EXPECT_EQ(ui::ShowModalForm(AboutBox, session), ui::mrOk);

    TAboutBox box(session);
    ui::TKey key = ui::keyEnter;
    box.FormKeyPress(&box, key);
    EXPECT_EQ(key, ui::keyNone);
    EXPECT_EQ(box.ModalResult(), ui::mrOk);
}
