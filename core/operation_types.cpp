#include "core/operation_types.h"

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/numbers.h"

#include <fstream>

namespace core {

namespace {

const char* const kCategories[] = {"Talajelőkészítés", "Vetés",       "Talajerőgazdálkodás",
                                   "Növényápolás",     "Betakarítás", "Egyéb"};

} // namespace

// The Hungarian list of common field operations (muveleti_tipusok_normalhektar.tsv), in its
// order; ploughing records its depth, harvests and the work after them the yield. A name longer
// than an operation's name field (30 letters) is said shorter, so that it is stored whole.
// clang-format off
const std::vector<StarterOperationType>& StarterOperationTypes() {
    static const std::vector<StarterOperationType> types{
        {"szántás (középmély, alap)", 0, 1},
        {"mélyszántás", 0, 1},
        {"sekély szántás / tarlóhántás", 0, 1},
        {"tárcsázás", 0, 0},
        {"kultivátorozás", 0, 0},
        {"nehézkultivátoros művelés", 0, 0},
        {"középmélylazítás", 0, 0},
        {"ásóboronázás", 0, 0},
        {"boronálás", 0, 0},
        {"simítózás", 0, 0},
        {"hengerezés", 0, 0},
        {"magágykészítés kombinátorral", 0, 0},
        {"vetés (gabonavetőgép, sorba)", 1, 0},
        {"vetés (szemenkénti vetőgép)", 1, 0},
        {"műtrágyaszórás", 2, 0},
        {"szervestrágya-szórás", 2, 0},
        {"permetezés", 3, 0},
        {"sorközművelés (kapálás)", 3, 0},
        {"kaszálás", 4, 3},
        {"rendkezelés / rendsodrás", 4, 3},
        {"bálázás", 4, 3},
        {"aratás (kalászos, kombájnnal)", 4, 3},
        {"kukorica-, napraforgó-aratás", 4, 3},
        {"szárzúzás", 4, 3},
        {"szállítás", 5, 0},
    };
    return types;
}
// clang-format on

void InsertStarterOperationTypes(db::Session& session) {
    db::TTable t(session, "Normalhektar");
    t.SetTableName("Normalhektar");
    t.Open();
    int code = 100000;
    for (const auto& type : StarterOperationTypes()) {
        t.Append();
        t.FieldByName("Kod").SetAsString(sys::intToText(code++));
        t.FieldByName("Muv").SetAsString(type.name);
        t.FieldByName("Nha").SetAsFloat(0);
        t.FieldByName("Muvid").SetAsInteger(type.category);
        t.FieldByName("Extra").SetAsInteger(type.extra);
        t.Post();
    }
    t.FlushBuffers();
    t.Close();
}

std::string NormalHectareText() {
    std::string text = "Normálhektár átszámítási tényezők\n\n"
                       "A program az alábbi művelettípusokkal indul, normálhektár-szorzó "
                       "nélkül (0):\n";
    for (int category = 0; category < 6; ++category) {
        text += "\n" + std::string(kCategories[category]) + ":\n";
        for (const auto& type : StarterOperationTypes())
            if (type.category == category)
                text += "  - " + std::string(type.name) + "\n";
    }
    text += "\nA normálhektár-szorzókat a hivatalos átszámítási táblázatból kell venni, és a "
            "műveletrögzítő ablak művelettípus-listája melletti \"+\" gombbal (\"Új művelet "
            "meghatározása\") megadni: a kategória meglévő művelettípusát a megnevezések "
            "listájából kiválasztva, vagy új művelettípust felvive, a szorzóval és a "
            "mértékegységével együtt.\n";
    return text;
}

void WriteNormalHectareText(const std::filesystem::path& directory) {
    const auto path = directory / "normalhektar.txt";
    if (std::filesystem::exists(path))
        return;
    std::ofstream(path, std::ios::binary) << NormalHectareText();
}

} // namespace core
