#include "gn0409_layouts.h"

#include "diary_layouts.h"
#include "platform/report/layouts.h"

namespace {

std::string Gn02() {
    return DiarySheetFrame("GN 02", "Összesítő adatlap",
                           "GN02Osszesito.rav: the farm's active land parcels by land-use "
                           "branch, in hectares truncated to whole ares.") +
           "band Osszesito connection=RvCustomGN02OsszesitoConnection1 rules=grid frame=0.5 "
           "marks=letters size=9 rowheight=12\n"
           "column szant caption=\"Szántó\" width=24 align=right format=\"0.00\"\n"
           "column gyep caption=\"Gyep\" width=24 align=right format=\"0.00\"\n"
           "column szolo caption=\"Szőlő\" width=24 align=right format=\"0.00\"\n"
           "column gyumol caption=\"Gyümölcsös\" width=24 align=right format=\"0.00\"\n"
           "column nadas caption=\"Nádas\" width=24 align=right format=\"0.00\"\n"
           "column halas caption=\"Halastó\" width=24 align=right format=\"0.00\"\n"
           "column zsomb caption=\"Zsombékos,\\nláp\" width=24 align=right format=\"0.00\"\n"
           "column erdo caption=\"Erdő\" width=24 align=right format=\"0.00\"\n"
           "column pihent caption=\"Pihentetett\\nterület\" width=24 align=right "
           "format=\"0.00\"\n"
           "column egyeb caption=\"Egyéb\" width=24 align=right format=\"0.00\"\n"
           "column ossz caption=\"Összesen\" width=33 align=right format=\"0.00\" bold\n"
           "heading \"A gazdaság földterülete művelési áganként (ha)\" from=szant to=egyeb\n";
}

// A value of the cover connection inside a layout text.
std::string CoverValue(const char* column) {
    return std::string("{RvCustomGNCimConnection1.") + column + "}";
}

struct CoverText {
    const char* file;
    const char* year;     // after the farming year
    const char* subtitle; // under the heading, may be empty
    const char* contact;  // the heading of the contact block
    const char* advisers; // the heading of the advisers' block
    bool numbered;        // the farm's and the contact's lines carry their numbers
    bool fax;             // a fax number beside each telephone number
};

// The lines of the farm's or the contact's block, numbered from `first` when asked.
std::string CoverBlock(const CoverText& c, int first, const char* name, const char* place,
                       const char* postcode, const char* street, const char* phone, const char* fax,
                       const char* email, const char* registration) {
    int number = first;
    auto line = [&](const std::string& label, const std::string& value, const char* extra = "") {
        const std::string prefix = c.numbered ? std::to_string(number++) + ". " : "";
        return "text \"" + prefix + label + " " + value + "\" width=" + (*extra ? "100" : "166") +
               " wrap\n" + extra;
    };
    std::string text = line("Név:", CoverValue(name));
    if (registration) {
        text += line("Ügyfél regisztrációs szám (MVH):", CoverValue(registration));
        text += line("Cégforma:", CoverValue("Cegf"));
    }
    text += line("Helység, irányítószám:", CoverValue(place) + " " + CoverValue(postcode));
    text += line("Közterület neve, száma:", CoverValue(street));
    const std::string faxText =
        c.fax ? "text \"Fax: " + CoverValue(fax) + "\" sameline x=104 width=64\n" : "";
    text += line("Telefonszám:", CoverValue(phone), faxText.c_str());
    text += line("E-levélcím:", CoverValue(email));
    return text;
}

std::string Cover(const CoverText& c) {
    std::string text = std::string("farmreport 1 version=1\n# ") + c.file +
                       ": the cover of the farming diary with the farming year and the farm's, "
                       "the contact person's and the advisers' data.\n"
                       "page size=A4 orientation=portrait margin=20 font=11\n"
                       "\n"
                       "title\n"
                       "space 30\n"
                       "text \"GAZDÁLKODÁSI NAPLÓ\" size=26 bold align=center\n"
                       "space 4\n"
                       "text \"" +
                       CoverValue("Gev") + " " + c.year + "\" size=15 bold align=center\n";
    if (*c.subtitle)
        text += std::string("space 4\ntext \"") + c.subtitle + "\" size=10 align=center wrap\n";
    text += "space 22\n"
            "text \"Gazdálkodó adatai\" size=12 bold wrap\n"
            "frame padding=2\n" +
            CoverBlock(c, 1, "Gnev", "Helys", "Irany", "Utca", "Tel", "Fax", "email", "Ugyfreg") +
            "endframe\n"
            "space 8\n"
            "text \"" +
            c.contact +
            "\" size=12 bold wrap\n"
            "frame padding=2\n" +
            CoverBlock(c, 8, "Knev", "Khely", "Kirany", "Kutca", "Ktel", "Kfax", "Kmail", nullptr) +
            "endframe\n"
            "space 8\n"
            "text \"" +
            c.advisers +
            "\" size=12 bold wrap\n"
            "frame padding=2\n"
            "text \"Növényvédelmi szakirányítójának neve és címe:\" width=166\n"
            "text \"" +
            CoverValue("Fnev") +
            "\" x=8 width=158 wrap\n"
            "text \"" +
            CoverValue("Fcim") +
            "\" x=8 width=158 wrap\n"
            "space 2\n"
            "text \"Szaktanácsadó neve és címe:\" width=166\n"
            "text \"" +
            CoverValue("Szaktan") +
            "\" x=8 width=158 wrap\n"
            "text \"" +
            CoverValue("Szaktancim") +
            "\" x=8 width=158 wrap\n"
            "space 2\n"
            "text \"Kamarai regisztrációs száma: " +
            CoverValue("Szregsz") +
            "\" width=166 wrap\n"
            "text \"Engedély száma: " +
            CoverValue("Szaktanreg") +
            "\" width=166 wrap\n"
            "endframe\n";
    return text;
}

const CoverText kCover0409 = {"GN01Cim.rav",
                              "gazdasági év",
                              "",
                              "Kapcsolattartó adatai",
                              "Szakirányító és szaktanácsadó adatai",
                              false,
                              true};
const CoverText kCover0914 = {
    "09GN01Cim.rav",
    "gazdálkodási évtől",
    "Az Új Magyarország Vidékfejlesztési Program Agrár-Környezetgazdálkodási intézkedésében "
    "résztvevők és a Natura 2000, valamint a Kedvezőtlen Adottságú Területekre vonatkozó "
    "kiegészítő támogatást igénylők számára.",
    "Kapcsolattartó adatai (amennyiben eltér a gazdálkodó adataitól)",
    "Szaktanácsadó és szakirányító adatai (amennyiben alkalmaz a gazdálkodó szakembert)",
    true,
    false};

std::string SoilTests() {
    return DiarySheetFrame("", "Talaj- illetve növényvizsgálati adatlap",
                           "GNTalajvizs.rav: the fields-average soil laboratory results of "
                           "the land parcels under the chosen fields.") +
           "band Vizsgalatok connection=RvQueryGNTalajvConnection1 rules=grid frame=0.5 "
           "marks=letters size=7\n"
           "column Evj caption=\"G. év\" width=10 align=center\n"
           "column Parcsor caption=\"Tábla\\nsor-\\nszám\" width=10 align=center\n"
           "column Blok caption=\"Blokk-\\nazonosító\" width=20\n"
           "column Agazat caption=\"Növény\" width=22 wrap\n"
           "column Labor caption=\"Laboratórium\" width=24 wrap\n"
           "column Mintakod caption=\"Minta-\\nkód\" width=13 align=center\n"
           "column Datum caption=\"Minta-\\nvétel\\nideje\" width=21 align=center\n"
           "column PH caption=\"pH\" width=10 align=right format=\"0.0#\"\n"
           "column KA caption=\"KA\" width=9 align=right format=\"0.#\"\n"
           "column So caption=\"Össz.\\nsó\\n(%)\" width=11 align=right format=\"0.0#\"\n"
           "column Mesz caption=\"CaCO3\\n(%)\" width=13 align=right format=\"0.0#\"\n"
           "column Humusz caption=\"Hu-\\nmusz\\n(%)\" width=11 align=right format=\"0.0#\"\n"
           "column NO3NO2N caption=\"NO3+\\nNO2-N\" width=13 align=right format=\"0.0#\"\n"
           "column P2O2 caption=\"P2O5\" width=12 align=right format=\"0.0#\"\n"
           "column K2O caption=\"K2O\" width=12 align=right format=\"0.0#\"\n"
           "column Mg caption=\"Mg\" width=10 align=right format=\"0.0#\"\n"
           "column Na caption=\"Na\" width=10 align=right format=\"0.0#\"\n"
           "column Zn caption=\"Zn\" width=10 align=right format=\"0.0#\"\n"
           "column Cu caption=\"Cu\" width=10 align=right format=\"0.0#\"\n"
           "column Mn caption=\"Mn\" width=10 align=right format=\"0.0#\"\n"
           "column Fe caption=\"Fe\" width=10 align=right format=\"0.0#\"\n"
           "heading \"Vizsgált tábla\" from=Evj to=Agazat\n"
           "heading \"Talajminta\" from=Labor to=Datum\n"
           "heading \"Vizsgálati eredmények\" from=PH to=Fe\n"
           "heading \"(mg/kg)\" from=NO3NO2N to=Fe row=2\n";
}

// The per-field operations sheets: the field's data of the kind, then its operations.
std::string FieldOperations(const std::string& title, const std::string& note,
                            const std::string& sideBand) {
    return DiarySheetFrame("", title, note) + sideBand + "\n" +
           "band Muveletek connection=RvQueryGNParcMuvConnection1 rules=grid frame=0.5 "
           "marks=letters\n"
           "caption \"Elvégzett műveletek: {Evj}. gazdasági év, {Parcsor}. tábla, {Hazmeg} "
           "({Agazat})\" bold wrap\n"
           "column Datum caption=\"Dátum\" width=22 align=center\n"
           "column Muvnev caption=\"Megnevezése\" width=48 wrap\n"
           "column Muv caption=\"Művelet típusa\" width=44 wrap\n"
           "column Ter_1 caption=\"Terület\\n(m²)\" width=20 align=right format=\"#,##0\"\n"
           "column Gepnev caption=\"Erőgép\" width=36 wrap\n"
           "column Gepnev_1 caption=\"Munkagép\" width=36 wrap\n"
           "column Gepora caption=\"Gép-\\nóra\" width=14 align=right format=\"0.0#\"\n"
           "column Keziora caption=\"Kézi\\nóra\" width=14 align=right format=\"0.0#\"\n"
           "column Melyseg caption=\"Mély-\\nség\\n(cm)\" width=13 align=right\n"
           "column Termes caption=\"Termés\\n(t/ha)\" width=16 align=right format=\"0.0##\"\n"
           "heading \"Elvégzett művelet\" from=Muvnev to=Ter_1\n"
           "heading \"Munkaidő\" from=Gepora to=Keziora\n";
}

std::string Plantation() {
    return FieldOperations(
        "Ültetvény műveleti adatai",
        "GNUltetvenyMuv.rav: a plantation field's varieties and "
        "its operations with their machines.",
        "band Ultetveny connection=RvCustomGNParcKiegConnection1 rules=grid\n"
        "caption \"Ültetvény adatai\" bold\n"
        "column Fajta caption=\"Fajta\" width=70 wrap\n"
        "column Tokedb caption=\"Tőke-,\\nfaszám\\n(db)\" width=20 align=right format=\"#,##0\"\n"
        "column Sort caption=\"Sortáv\\n(m)\" width=18 align=right format=\"0.0#\"\n"
        "column Tot caption=\"Tőtáv\\n(m)\" width=18 align=right format=\"0.0#\"\n"
        "column Teve caption=\"Telepítés\\néve\" width=20 align=center\n"
        "column Tereve caption=\"Termőre\\nfordulás\\néve\" width=20 align=center\n"
        "column Muvmod caption=\"Művelésmód\" width=50 wrap\n");
}

std::string Orchard() {
    return FieldOperations(
        "Gyümölcsös műveleti adatai",
        "GNGyumolcsMuv.rav: an orchard field's species and "
        "varieties and its operations with their machines.",
        "band Gyumolcsos connection=RvCustomGNParcKiegConnection1 rules=grid\n"
        "caption \"Gyümölcsös adatai\" bold\n"
        "column Faj caption=\"Faj\" width=40 wrap\n"
        "column Fajta caption=\"Fajta\" width=50 wrap\n"
        "column Db caption=\"Fa-\\nszám\\n(db)\" width=18 align=right format=\"#,##0\"\n"
        "column Sortav caption=\"Sortáv\\n(m)\" width=18 align=right format=\"0.0#\"\n"
        "column Totav caption=\"Tőtáv\\n(m)\" width=18 align=right format=\"0.0#\"\n"
        "column Telepev caption=\"Telepítés\\néve\" width=20 align=center\n"
        "column Termford caption=\"Termőre\\nfordulás\\néve\" width=20 align=center\n"
        "column Muvmod caption=\"Művelésmód\" width=50 wrap\n");
}

std::string Grazing() {
    return FieldOperations(
        "Legelő műveleti adatai",
        "GNLegeltetesMuv.rav: a grazed field's grazing log and its "
        "operations with their machines.",
        "band Legeltetes connection=RvCustomGNParcKiegConnection1 rules=grid\n"
        "caption \"Legeltetési napló\" bold\n"
        "column Legkezd caption=\"Legeltetés\\nkezdete\" width=22 align=center\n"
        "column Legveg caption=\"Legeltetés\\nvége\" width=22 align=center\n"
        "column Ter caption=\"Terület\\n(m²)\" width=20 align=right format=\"#,##0\"\n"
        "column Faj caption=\"Állatfaj\" width=34 wrap\n"
        "column Fajta caption=\"Fajta\" width=34 wrap\n"
        "column Korcsop caption=\"Korcsoport\" width=34 wrap\n"
        "column Darab caption=\"Darab\" width=16 align=right\n"
        "column Legmod caption=\"Legeltetés módja\" width=60 wrap\n");
}

struct Layout {
    const char* file;
    std::string (*text)();
};

const Layout kLayouts[] = {
    {"GN02Osszesito.rav", Gn02},
    {"GN01Cim.rav", [] { return Cover(kCover0409); }},
    {"09GN01Cim.rav", [] { return Cover(kCover0914); }},
    {"GNTalajvizs.rav", SoilTests},
    {"GNUltetvenyMuv.rav", Plantation},
    {"GNGyumolcsMuv.rav", Orchard},
    {"GNLegeltetesMuv.rav", Grazing},
};

} // namespace

std::string Diary0409Layout(const std::string& fileName) {
    for (const Layout& layout : kLayouts)
        if (fileName == layout.file)
            return layout.text();
    return "";
}

void RegisterDiary0409Layouts() {
    for (const Layout& layout : kLayouts)
        report::RegisterLayout(layout.file, layout.text(), {});
}
