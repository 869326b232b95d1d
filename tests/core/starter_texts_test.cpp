// Texts stored whole: every starter text of a fresh database fits its field (and an
// operation type's name the operation's name field it is copied into), and no form cuts a
// text it stores by bytes, which would leave half a letter.

#include "core/catalogue.h"
#include "core/fresh_database.h"
#include "core/operation_types.h"
#include "platform/sys/utf8.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace {

int Width(const std::string& table, const std::string& field) {
    const core::TableDef* def = core::FindTable(table);
    for (const auto& f : def ? def->fields : std::vector<db::FieldDef>{})
        if (f.name == field)
            return f.size;
    ADD_FAILURE() << "no field " << table << "." << field;
    return 0;
}

TEST(StarterTexts, EachFitsTheFieldsItIsStoredIn) {
    for (const core::StarterText& t : core::StarterTexts())
        EXPECT_LE(sys::letterCount(t.text), Width(t.table, t.field)) << t.table << ": " << t.text;
    for (const auto& type : core::StarterOperationTypes())
        EXPECT_LE(sys::letterCount(type.name), Width("ElvMuv", "Muvnev")) << type.name;
}

TEST(StarterTexts, CutsAreByLetters) {
    EXPECT_EQ(sys::firstLetters("Őszi búza; Őszi", 12), "Őszi búza; Ő");
    EXPECT_EQ(sys::letterCount("Nitrogén Foszfor Kálium 27%"), 27u);
    EXPECT_EQ(sys::firstLetters("ab", 5), "ab");
    const std::regex byteCut(R"(SetAsString\([^;]*\.substr\(0,)");
    for (const char* folder : {"core", "register", "resources", "operations", "reports"})
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(FARM_SOURCE_DIR) / folder)) {
            if (entry.path().extension() != ".cpp")
                continue;
            std::ifstream in(entry.path());
            std::stringstream text;
            text << in.rdbuf();
            EXPECT_FALSE(std::regex_search(text.str(), byteCut)) << entry.path();
        }
}

} // namespace
