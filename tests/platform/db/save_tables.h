#pragma once
// Three tables written by one save, as the program's saves write several: a keyed table
// with a memo and a named index, a keyed detail table, an unkeyed log. Save k inserts
// a head row with a memo, three detail rows and a log line, changes the head row of
// save k-1 and removes a detail row of save k-1; `contents` reads all three tables so
// that states can be compared.

#include "platform/db/session.h"
#include "support/journal_state.h"
#include "support/table_check.h"

#include <filesystem>
#include <string>
#include <vector>

namespace savetables {

using namespace db;

inline void create(Session& session) {
    session.create("Fej",
                   {{{"Kod", FieldType::Long, 4, 0},
                     {"Nev", FieldType::Alpha, 60, 0},
                     {"Megjegyzes", FieldType::Memo, 11, 0}},
                    1},
                   {{"NevInd", {"Nev"}, true}});
    session.create("Tetel", {{{"Kod", FieldType::Long, 4, 0},
                              {"Sor", FieldType::Long, 4, 0},
                              {"Mennyiseg", FieldType::Number, 8, 0}},
                             2});
    session.create("Naplo",
                   {{{"Kod", FieldType::Long, 4, 0}, {"Szoveg", FieldType::Alpha, 80, 0}}, 0});
}

inline std::string memoOf(int k) {
    return std::string(static_cast<std::size_t>(20 + (k * 37) % 400),
                       static_cast<char>('a' + k % 26)) +
           " ő";
}

// The writes of save k, through the session's tables (in a transaction or not).
inline void save(Session& session, int k) {
    auto fej = session.open("Fej");
    auto tetel = session.open("Tetel");
    auto naplo = session.open("Naplo");
    Record head{k, "művelet " + std::to_string(k), memoOf(k)};
    fej->insert(head);
    for (int sor = 1; sor <= 3; ++sor) {
        Record r{k, sor, k * 1.5 + sor};
        tetel->insert(r);
    }
    Record line{k, "mentés " + std::to_string(k)};
    naplo->insert(line);
    if (k > 1) {
        if (const auto pos = fej->file().find({k - 1}))
            fej->update(*pos, {k - 1, "javított " + std::to_string(k - 1), memoOf(k + 100)});
        if (const auto pos = tetel->file().find({k - 1, 2}))
            tetel->remove(*pos);
    }
}

using Contents = std::vector<std::vector<Record>>; // per table, its rows

inline Contents contents(Session& session) {
    Contents all;
    for (const char* name : {"Fej", "Tetel", "Naplo"})
        all.push_back(session.open(name)->file().readAll());
    return all;
}

// "" when every table is sound: its .px and named index agree with it.
inline std::string checkSound(Session& session) {
    for (const char* name : {"Fej", "Tetel"}) {
        const auto table = session.open(name);
        if (const std::string problem = testenv::checkPrimaryIndex(table->file()); !problem.empty())
            return problem;
    }
    const auto fej = session.open("Fej");
    if (!fej->index("NevInd"))
        return "the named index is gone";
    if (const std::string problem = fej->index("NevInd")->verify(); !problem.empty())
        return problem;
    if (!session.log().empty())
        return session.log().front();
    for (const auto& entry : std::filesystem::directory_iterator(session.directory())) {
        const auto ext = entry.path().extension().string();
        if ((ext == ".jnl" && testenv::journalHoldsAChange(entry.path())) || ext == ".sjnl")
            return "left over: " + entry.path().filename().string();
    }
    return "";
}

} // namespace savetables
