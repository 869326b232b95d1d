// Errors of the table files as the user reads them: in Hungarian, naming the file, with
// the engine's own words kept for whoever repairs it; and shown so by the application.

#include "platform/db/error.h"
#include "platform/db/error_text.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/error_text.h"
#include "support/ui_test.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

namespace fs = std::filesystem;

namespace {

db::TableSchema Owners() {
    return {{{"Tulkod", db::FieldType::Alpha, 6}, {"Tulnev", db::FieldType::Alpha, 50}}, 1};
}

// The error a call throws, which must be one of the table files.
template <class Call>
std::string TextOf(Call call) {
    try {
        call();
    } catch (const db::DbError& e) {
        return db::hungarianText(e);
    }
    return "<no error>";
}

TEST(DbErrorText, ADamagedFileIsNamedAndSaidDamaged) {
    db::Session session;
    session.create("tulaj", Owners());
    {
        std::fstream file("tulaj.db", std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(4);
        file.put(static_cast<char>(0x55));
    }
    db::Session reopened;
    const std::string text = TextOf([&] { reopened.open("tulaj"); });
    EXPECT_EQ(text, "Adatbázis hiba a(z) tulaj.db fájlban: a fájl sérült.");
}

TEST(DbErrorText, AMissingTableAndAKeyTakenTwice) {
    db::Session session;
    EXPECT_EQ(TextOf([&] { session.open("Nincs"); }),
              "Adatbázis hiba a(z) Nincs.db fájlban: a tábla fájlja nem található.");
    const auto table = session.create("tulaj", Owners());
    db::Record row{db::Value(std::string("100000")), db::Value(std::string("Kiss Ádám"))};
    table->insert(row);
    const std::string text = TextOf([&] { table->insert(row); });
    EXPECT_EQ(
        text.rfind("Adatbázis hiba a(z) tulaj.db fájlban: ilyen kulcsú sor már van a táblában.", 0),
        0u)
        << text;
}

TEST(DbErrorText, TheSystemsReasonIsSaidInHungarian) {
    const db::DbError full("x/Tablak.db", std::string("write: ") + std::strerror(ENOSPC));
    EXPECT_EQ(db::hungarianReason(full), "betelt a lemez");
    EXPECT_EQ(sys::systemReasonText(std::strerror(EACCES)), "nincs jogosultság a fájlhoz");
    EXPECT_EQ(sys::systemReasonText("something else"), "");
    // What the engine says in words of its own still names the file.
    const db::DbError odd("Tablak.db", "a problem nobody foresaw");
    EXPECT_EQ(db::hungarianText(odd), "Adatbázis hiba a(z) Tablak.db fájlban: a fájl nem "
                                      "olvasható vagy nem írható.");
}

// No English word of the engine reaches the user: each problem the meanings name, a
// field's value it cannot hold, a Hungarian problem behind a field's name, a foreign file.
TEST(DbErrorText, TheUserReadsNoEnglishWordOfTheEngine) {
    std::vector<db::DbError> errors;
    for (const db::ProblemMeaning& m : db::problemMeanings())
        if (std::all_of(m.words.begin(), m.words.end(), [](char c) { return c > 0; }))
            errors.emplace_back("Tablak.db", "x " + std::string(m.words) + " y");
    errors.emplace_back("Tablak.db", "field Terulet: value 70000 out of range for a short");
    errors.emplace_back("Tablak.db", "field Nev: a(z) Nev mező 300 bájtja nem fér el");
    errors.push_back(db::CorruptFileError("Tablak.db", "unknown file type 255: not a table file"));
    // The words of a text (accented letters are letters), names (capitalised) left out.
    const auto words = [](const std::string& text) {
        std::set<std::string> out;
        std::string word;
        for (const char c : text + " ") {
            if (std::isalpha(static_cast<unsigned char>(c)) ||
                static_cast<unsigned char>(c) >= 0x80) {
                word += c;
                continue;
            }
            if (word.size() > 2 && !std::isupper(static_cast<unsigned char>(word[0])))
                out.insert(word);
            word.clear();
        }
        return out;
    };
    for (const db::DbError& e : errors) {
        const std::string text = db::hungarianText(e);
        EXPECT_NE(text.find("Tablak.db"), std::string::npos) << text;
        const bool hungarian = std::any_of(e.problem().begin(), e.problem().end(),
                                           [](char c) { return c < 0; });
        std::set<std::string> english = hungarian ? std::set<std::string>{} : words(e.problem());
        for (const char* w : {"field", "table", "file", "value", "not", "cannot", "the"})
            english.insert(w);
        for (const std::string& w : words(text))
            EXPECT_EQ(english.count(w), 0u) << w << " in " << text;
    }
    EXPECT_EQ(db::hungarianText(errors[errors.size() - 3]),
              "Adatbázis hiba a(z) Tablak.db fájlban: a(z) Terulet mező értéke nem írható a "
              "táblába.");
    EXPECT_EQ(db::hungarianText(errors[errors.size() - 2]),
              "Tablak.db: a(z) Nev mező 300 bájtja nem fér el.");
}

using ErrorDisplay = testui::UiTest;

TEST_F(ErrorDisplay, AnErrorOfTheTableFilesIsShownInHungarian) {
    dialogs.Expect("Adatbázis hiba a(z) parcellak.db fájlban: a fájl sérült.");
    app->ShowException(db::CorruptFileError("/tmp/x/parcellak.db", "bad block 7"));
    // Other errors as they are worded.
    dialogs.Expect("Hibás szűrőfeltétel.");
    app->ShowException(std::runtime_error("Hibás szűrőfeltétel"));
    dialogs.VerifyDone();
}

TEST_F(ErrorDisplay, AFileErrorThroughADataSetIsShownInHungarianWithItsFile) {
    db::Session session;
    session.create("tulaj", Owners());
    db::TTable table(session, "Table1");
    table.SetTableName("tulaj");
    table.Open();
    table.Append();
    table.FieldByName("Tulkod").SetAsString("100000");
    table.Post();
    table.Append();
    table.FieldByName("Tulkod").SetAsString("100000");
    dialogs.ExpectContaining(
        "Adatbázis hiba a(z) tulaj.db fájlban: ilyen kulcsú sor már van a táblában.");
    try {
        table.Post();
        FAIL() << "a key taken twice";
    } catch (const db::DatabaseError&) { // still the data set's error to its callers
        app->HandleException();
    }
    dialogs.VerifyDone();
}

} // namespace
