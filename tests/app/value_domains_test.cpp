// What a value may be, as the catalogue gives each field's domain: the checks of typed
// text, a post that refuses a value outside its field's domain, a data box that refuses
// what is typed into it, and the forms whose boxes had no bound before.

#include "core/catalogue.h"
#include "operations/Ujmuvh.h"
#include "operations/operations_fixture.h"
#include "platform/db/domain.h"
#include "platform/report/output.h"
#include "platform/ui/db_controls.h"
#include "register/Tapanyaggt.h"
#include "resources/Csapadekh.h"
#include "resources/Keszlisth.h"
#include "resources/Korcsoportszh.h"

#include <gtest/gtest.h>

namespace {

using db::Refusal;

TEST(ValueDomains, TypedTextIsCheckedByItsFieldsDomain) {
    auto check = [](const char* table, const char* field, const char* text) {
        return db::checkText(core::FieldDomain(table, field), text);
    };
    EXPECT_EQ(check("ElvMuv", "Ter", "0"), Refusal::ZeroOrNegative);
    EXPECT_EQ(check("ElvMuv", "Ter", "1,5"), Refusal::NotWhole);
    EXPECT_EQ(check("ElvMuv", "Ter", ""), Refusal::None);
    EXPECT_EQ(check("parcellak", "Tervhozam", "-3"), Refusal::Negative);
    EXPECT_EQ(check("parcellak", "Tervhozam", "2,12345"), Refusal::Decimals);
    EXPECT_EQ(check("parcellak", "Tervhozam", "2,1200"), Refusal::None);
    EXPECT_EQ(check("Talajmintak", "PH", "72"), Refusal::AboveMax);
    EXPECT_EQ(check("Tapanyagok", "Nit", "150"), Refusal::AboveMax);
    EXPECT_EQ(check("Gazdepulet", "Letesit", "19a0"), Refusal::NotWhole);
    EXPECT_EQ(check("Erogepek", "Beszev", "1899"), Refusal::BelowMin);
    EXPECT_EQ(check("Erogepek", "Beszev", "2100"), Refusal::None);
    EXPECT_EQ(check("ElvMuv", "Muvveg", "2024. 02. 30."), Refusal::NotDate);
    EXPECT_EQ(check("Normalhektar", "Muv", std::string(31, 'a').c_str()), Refusal::Letters);
    EXPECT_EQ(check("Normalhektar", "Muv", "szántás"), Refusal::None);
    EXPECT_EQ(check("szlatet", "Adosz", "1234567a"), Refusal::NotWhole);
    EXPECT_EQ(check("szlatet", "Gmenny", "12,125"), Refusal::Decimals);
    EXPECT_EQ(check("Vismajor", "Vister", "0,00001"), Refusal::Decimals);
    EXPECT_EQ(check("Magfajtak", "Faj", std::string(31, 'a').c_str()), Refusal::Letters);
}

class DomainFormsTest : public opstest::OperationsTest {
protected:
    void Post(const char* table, const std::function<void(db::TTable&)>& fill) {
        opstest::AddRow(session, table, fill);
    }
};

// A post checks every value it inserts or changes, and an end against its start, before it
// writes; a value stored before the domain was known stays while other fields change.
TEST_F(DomainFormsTest, APostRefusesAValueOutsideItsFieldsDomain) {
    const sys::DateTime day = sys::encodeDate(2024, 6, 5);
    try {
        Post("ElvMuv", [&](db::TTable& t) {
            t.FieldByName("Muvkod").SetAsString("100000");
            t.FieldByName("Datum").SetAsDateTime(day);
            t.FieldByName("Muvveg").SetAsDateTime(day - 4);
        });
        ADD_FAILURE() << "an end before the start was posted";
    } catch (const db::DomainError& e) {
        EXPECT_STREQ(e.what(), "A(z) 'Vége' nem lehet korábbi, mint a(z) 'Kezdete' (2024. 06. "
                               "05.) !");
    }
    EXPECT_THROW(Post("Korcsoport", [](db::TTable& t) { t.FieldByName("Aepdb").SetAsFloat(-0.6); }),
                 db::DomainError);
    EXPECT_EQ(Count("ElvMuv") + Count("Korcsoport"), 0);
}

// "Darabonkénti állategység" is typed into a data box: below nothing it is refused and the
// age group is not stored.
TEST_F(DomainFormsTest, AnAgeGroupsUnitsPerHeadAreMoreThanNothing) {
    dialogs.Expect("A(z) 'Darabonkénti állategység' értéke nem lehet nulla vagy negatív !");
    forms.On<TKorcsoportok>([](TKorcsoportok& f) {
        f.Button1->click();
        Type(f.DBEdit1, "Borjú");
        Type(f.DBEdit2, "-0,6");
        f.Button5->click();
        EXPECT_TRUE(f.GroupBox1->Visible());
        f.Button6->click();
        f.Button4->click();
    });
    ui::ShowModalForm(Korcsoportok, session);
    dialogs.VerifyDone();
    EXPECT_EQ(Count("Korcsoport"), 0);
}

// An operation type's factor is not negative, and its name fits an operation's name.
TEST_F(DomainFormsTest, AnOperationTypeHasNoNegativeFactorNorALongerNameThanAnOperation) {
    dialogs.Expect("A(z) 'Művelet megnevezése' legfeljebb 30 betű lehet !");
    dialogs.Expect("A(z) 'Traktormunka normálhektár' értéke nem lehet negatív !");
    const int before = Count("Normalhektar");
    forms.On<TUjmuv>([](TUjmuv& f) {
        f.ComboBox1->SetItemIndex(0);
        f.Edit1->SetText(std::string(40, 'x'));
        f.Edit2->SetText("1");
        f.Button2->click();
        f.Edit1->SetText("próbaművelet");
        f.Edit2->SetText("-1");
        f.Button2->click();
        f.Button1->click();
    });
    ui::ShowModalForm(Ujmuv, session);
    dialogs.VerifyDone();
    EXPECT_EQ(Count("Normalhektar"), before);
}

// The stock list prints the day its box holds: an impossible day is refused, not replaced
// by the day shown before.
TEST_F(DomainFormsTest, TheStockListRefusesToPrintAnImpossibleDay) {
    report::CaptureOutput printing;
    report::ScopedOutput output{printing};
    dialogs.ExpectContaining("'2024. 02. 30.'");
    forms.On<TKeszlist>([](TKeszlist& f) {
        f.DateTimePicker1->Editor().selectAll();
        Key(&f.DateTimePicker1->Editor(), ::Qt::Key_Backspace);
        Type(&f.DateTimePicker1->Editor(), "2024. 02. 30.");
        f.Button2->click();
        f.Button1->click();
    });
    ui::ShowModalForm(Keszlist, session);
    dialogs.VerifyDone();
    EXPECT_TRUE(printing.asked.empty());
}

// A day beyond the years a record book keeps is refused before the reading is written.
TEST_F(DomainFormsTest, ARainfallReadingKeepsToTheYearsOfARecordBook) {
    dialogs.Expect("A(z) 'Dátum' értéke nem lehet nagyobb, mint 2100 !");
    forms.On<TCsapadek>([](TCsapadek& f) {
        f.Button3->click();
        f.DateTimePicker1->SetDate(sys::encodeDate(2150, 6, 1));
        f.Edit1->SetText("12");
        f.Button5->click();
        EXPECT_TRUE(f.GroupBox1->Visible());
        f.Button4->click();
        f.Button1->click();
    });
    ui::ShowModalForm(Csapadek, session);
    dialogs.VerifyDone();
    EXPECT_EQ(Count("Csapadek"), 0);
}

} // namespace
