// The number checks with their messages, the option rows of Alapadatok.db and the marked
// value of a material use.

#include "core/Isnuminth.h"
#include "core_tables.h"
#include "platform/db/table.h"
#include "platform/sys/conversion_error.h"
#include "support/ui_test.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

class NumericIntTest : public testui::UiTest {
protected:
    NumericIntTest() {
        coretest::MakeAlapadatok(session);
        coretest::MakeFelhanyag(session);
    }

    void ExpectBox(const std::string& text) {
        const ui::Message& shown = dialogs.Last();
        EXPECT_EQ(shown.kind, ui::MessageKind::Box);
        EXPECT_EQ(shown.caption, "Hejtelen bevitel!");
        EXPECT_EQ(shown.text, text);
        EXPECT_THAT(shown.buttons, ElementsAre(ui::mbOK));
    }

    // Nev and Cim of every row of Alapadatok.db.
    std::vector<std::string> Options() {
        std::vector<std::string> rows;
        for (const std::string& row : coretest::Rows(session, "Alapadatok")) {
            const auto nev = row.find('|') + 1;
            const auto cim = row.find('|', row.find('|', nev) + 1) + 1;
            rows.push_back(row.substr(nev, row.find('|', nev) - nev) + "=" +
                           row.substr(cim, row.find('|', cim) - cim));
        }
        return rows;
    }

    void AddUse(const std::string& felhkod, const char* csira, const char* felelos) {
        db::TTable t(session);
        t.SetTableName("felhanyag");
        t.Open();
        t.Append();
        t.FieldByName("Felhkod").SetAsString(felhkod);
        if (csira)
            t.FieldByName("Csira").SetAsString(csira);
        if (felelos)
            t.FieldByName("Felelos").SetAsString(felelos);
        t.Post();
    }

    db::Session session;
    TNumericInt numeric{session};
};

} // namespace

TEST_F(NumericIntTest, RealAcceptsEmptyAndBothDecimalSeparators) {
    for (const char* good : {"", "12", "12,5", "12.5", "-0,25", " 3 "})
        EXPECT_TRUE(numeric.IsValidReal(good, "Terület")) << good;
    EXPECT_TRUE(dialogs.Shown().empty());

    dialogs.Expect("A(z) 'Terület' értéke nem szám !");
    EXPECT_FALSE(numeric.IsValidReal("abc", "Terület"));
    ExpectBox("A(z) 'Terület' értéke nem szám !");
    dialogs.Expect("A(z) 'Adag' értéke nem szám !");
    EXPECT_FALSE(numeric.IsValidReal("1,2,3", "Adag"));
}

TEST_F(NumericIntTest, IntegerRefusesFractionsWithTheCallersLabel) {
    for (const char* good : {"", "0", "2009", "-15"})
        EXPECT_TRUE(numeric.IsValidInteger(good, "Év")) << good;
    EXPECT_TRUE(dialogs.Shown().empty());

    for (const char* bad : {"1.5", "1,5", "x", "99999999999"}) {
        dialogs.Expect("Hiba! A(z) 'Sorszám' értéke nem egész szám !");
        EXPECT_FALSE(numeric.IsValidInteger(bad, "Sorszám")) << bad;
        ExpectBox("Hiba! A(z) 'Sorszám' értéke nem egész szám !");
    }
}

TEST_F(NumericIntTest, MissingOptionRowsReadTheirDefaults) {
    EXPECT_TRUE(numeric.IsStockKeepingEnabled());
    EXPECT_FALSE(numeric.GetOptionFlag("_MuvFormState"));
    EXPECT_FALSE(numeric.GetOptionFlag("_kesz"));
    EXPECT_TRUE(Options().empty());
}

TEST_F(NumericIntTest, OnlyNoSwitchesAnOptionOff) {
    numeric.SetOptionFlag("_kesz", false);
    EXPECT_FALSE(numeric.IsStockKeepingEnabled());
    numeric.SetOptionFlag("_kesz", true);
    EXPECT_TRUE(numeric.IsStockKeepingEnabled());

    // Values other than "no", in any case, count as on.
    db::TTable t(session);
    t.SetTableName("Alapadatok");
    t.Open();
    for (const char* value : {"No", "NO", "", "igen"}) {
        t.Append();
        t.FieldByName("Nev").SetAsString(std::string("_opt") + value);
        t.FieldByName("Cim").SetAsString(value);
        t.Post();
        EXPECT_TRUE(numeric.GetOptionFlag(std::string("_opt") + value)) << value;
    }
    t.Close();
    numeric.SetOptionFlag("_optNo", false);
    EXPECT_FALSE(numeric.GetOptionFlag("_optNo"));
}

TEST_F(NumericIntTest, SetInsertsOnceThenEditsTheSameRow) {
    numeric.SetOptionFlag("_MuvFormState", true);
    EXPECT_THAT(Options(), ElementsAre("_MuvFormState=yes"));
    numeric.SetOptionFlag("_MuvFormState", false);
    numeric.SetOptionFlag("_ElozoParc", true);
    numeric.SetOptionFlag("_MuvFormState", true);
    EXPECT_THAT(Options(), ElementsAre("_MuvFormState=yes", "_ElozoParc=yes"));
    EXPECT_TRUE(numeric.GetOptionFlag("_MuvFormState"));
    // A name is matched whole: neither a prefix nor a pattern reaches another row.
    EXPECT_FALSE(numeric.GetOptionFlag("_MuvForm"));
    EXPECT_FALSE(numeric.GetOptionFlag("_MuvForm*"));
}

TEST_F(NumericIntTest, OptionNamesWithApostrophesAreQuoted) {
    numeric.SetOptionFlag("_O'Brien", true);
    numeric.SetOptionFlag("_O'Brien", false);
    EXPECT_THAT(Options(), ElementsAre("_O'Brien=no"));
    EXPECT_FALSE(numeric.GetOptionFlag("_O'Brien"));
    EXPECT_FALSE(numeric.GetOptionFlag("x' Or Nev <> '"));
}

TEST_F(NumericIntTest, MarkedValueIsTheFirstNumberAfterTheX) {
    AddUse("100001", nullptr, "X12,5;3;0;");
    AddUse("100002", "X7.25;1;", "");
    AddUse("100003", "X1;", "Kiss Pál");
    AddUse("100004", nullptr, nullptr);
    AddUse("100005", nullptr, "X42");
    AddUse("100006", nullptr, "x5;");
    EXPECT_DOUBLE_EQ(numeric.ReadUsedMaterialMarkedValue("100001"), 12.5);
    EXPECT_DOUBLE_EQ(numeric.ReadUsedMaterialMarkedValue("100002"), 7.25); // Csira stands in
    EXPECT_DOUBLE_EQ(numeric.ReadUsedMaterialMarkedValue("100003"), 0);    // Felelos wins
    EXPECT_DOUBLE_EQ(numeric.ReadUsedMaterialMarkedValue("100004"), 0);
    EXPECT_DOUBLE_EQ(numeric.ReadUsedMaterialMarkedValue("100005"), 42); // no ';': to the end
    EXPECT_DOUBLE_EQ(numeric.ReadUsedMaterialMarkedValue("100006"), 0);  // lower-case x
    EXPECT_DOUBLE_EQ(numeric.ReadUsedMaterialMarkedValue("999999"), 0);
    EXPECT_DOUBLE_EQ(numeric.ReadUsedMaterialMarkedValue("1'0"), 0);
    EXPECT_FALSE(numeric.Table1.Active());
}

TEST_F(NumericIntTest, MarkedValueThatIsNoNumberRaises) {
    AddUse("100001", nullptr, "Xsok;1;");
    EXPECT_THROW(numeric.ReadUsedMaterialMarkedValue("100001"), sys::ConversionError);
    EXPECT_FALSE(numeric.Table1.Active());
}
