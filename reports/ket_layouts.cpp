// The layouts of the KET-area sheets of the 2009-2014 diary: per KET area its
// identification data, on GN-04 its plantation rows, then the fields' rows.

#include "Gn0914ket.h"
#include "diary_layouts.h"
#include "platform/report/layouts.h"

namespace {

const char* const kSheetTitle =
    " - kötelezettségvállalással érintett egybefüggő terület - ALAPADATOK";

// The identification data of the KET areas of one branch, one row per area.
std::string KetBand(const std::string& connection) {
    return "band Ket connection=" + connection +
           " rules=grid frame=0.5 marks=numbers\n"
           "caption \"Kötelezettségvállalással érintett egybefüggő terület azonosítási "
           "alapadatai\" bold\n"
           "column Sorsz caption=\"Sor-\\nszám\" width=12 align=center\n"
           "column Hazimen caption=\"Házi megnevezés\" width=29 wrap\n"
           "column Megnev_1 caption=\"AKG célprogram\" width=36 wrap\n"
           "column Meresij caption=\"Mérési\\njegyzőkönyv\" width=22 wrap\n"
           "column Ter caption=\"Terület\\n(ha)\" width=16 align=right format=\"#,##0.00\"\n"
           "column MainBlokk caption=\"MePAR\\nblokk-\\nazonosító\" width=20 align=center\n"
           "column Hrsz caption=\"Helyrajzi számok\" width=34 wrap\n"
           "column Telep caption=\"Település\" width=28 wrap\n"
           "column Fhasznjog caption=\"Földhasz-\\nnálat\\njogcíme\" width=19 align=center\n"
           "column Nate caption=\"Natura\\n2000\" width=14 align=center\n"
           "column Nite caption=\"Nitrát-\\nérzékeny\" width=17 align=center\n"
           "column Tize caption=\"12%-os\\nlejtő\" width=14 align=center\n"
           "column Kate caption=\"KAT\" width=12 align=center\n"
           "heading \"Érintettség\" from=Nate to=Kate\n"
           "\n";
}

// The fields' nutrient columns, organic and mineral, under one heading.
const char* const kNutrientColumns = "column SzN caption=\"N\" width=14 align=right\n"
                                     "column SzP caption=\"P\" width=14 align=right\n"
                                     "column SzK caption=\"K\" width=14 align=right\n"
                                     "column MN caption=\"N\" width=14 align=right\n"
                                     "column MP caption=\"P\" width=14 align=right\n"
                                     "column MK caption=\"K\" width=14 align=right\n";

const char* const kNutrientHeadings = "heading \"Kijuttatott hatóanyag (kg)\" from=SzN to=MK\n"
                                      "heading \"szerves trágyával\" from=SzN to=SzK row=2\n"
                                      "heading \"műtrágyával\" from=MN to=MK row=2\n";

std::string FieldBandHead(const std::string& connection, const std::string& caption) {
    return "band Tablak connection=" + connection +
           " rules=grid frame=0.5 marks=letters newpage\n"
           "caption \"" +
           caption +
           "\" bold\n"
           "group Evj\n"
           "grouphead \"{Evj}. gazdasági év\" bold continued=\"{Evj}. gazdasági év "
           "(folytatás)\"\n"
           "column Parcsor caption=\"Tábla\\nsor-\\nszám\" width=12 align=center\n";
}

std::string Gn02() {
    return DiarySheetFrame("GN-02", std::string("AKG - SZÁNTÓ") + kSheetTitle,
                           "09GN02SzParcellak.rav: the arable KET areas, then the fields "
                           "under the scheme with their crops, yields and nutrients.") +
           KetBand("GN0209RvDataSetConnection1") +
           FieldBandHead("GN0209bRvDataSetConnection1",
                         "A kötelezettségvállalással érintett táblák adatai") +
           "column Hazmeg caption=\"Házi megnevezés\" width=31 wrap\n"
           "column Agazat caption=\"Növény\" width=30 wrap\n"
           "column Fajta caption=\"Fajta\" width=34 wrap\n"
           "column Terha caption=\"Terület\\n(ha)\" width=16 align=right format=\"#,##0.00##\"\n"
           "column Hozam caption=\"Termés\\n(t/ha)\" width=18 align=right wrap\n" +
           kNutrientColumns +
           "column Taptervtelj caption=\"Tápterv\\nteljesítve\" width=17 align=center\n"
           "column Talajbasz caption=\"Talajba-\\nszántás\" width=18 align=center\n"
           "column Visin caption=\"Vis\\nmaior\" width=13 align=center\n" +
           kNutrientHeadings + "\n";
}

std::string Gn03() {
    return DiarySheetFrame("GN-03", std::string("AKG - GYEP") + kSheetTitle,
                           "09GN03GyParcellak.rav: the grassland KET areas.") +
           KetBand("RvGN0309QueryConnection1");
}

// Up to three plantation rows of each plantation KET area, in a smaller type so that the
// common species and cultivation modes ("Kajszibarack", "Kordonművelés") print unbroken.
std::string PlantationBand() {
    std::string band = "band Ultetveny connection=RvGN0409QueryConnection1 rules=grid "
                       "frame=0.5 size=6.5\n"
                       "caption \"Az ültetvények adatai\" bold\n"
                       "column Sorsz caption=\"KET\\nsor-\\nszám\" width=11 align=center\n";
    for (const char* row : {"1", "2", "3"}) {
        const std::string n = row;
        band += "column " + n + "j caption=\"Faj, növény\" width=17 wrap\n" + "column " + n +
                "k caption=\"Hasz-\\nnálati\\nkód\" width=10 align=center\n" + "column " + n +
                "l caption=\"Fajta\" width=17 wrap\n" + "column " + n +
                "n caption=\"Tőtáv x\\nsortáv\" width=13 align=center\n" + "column " + n +
                "q caption=\"Telep.\\néve\" width=10 align=center\n" + "column " + n +
                "r caption=\"Művelés-\\nmód\" width=20 wrap\n";
    }
    for (const char* row : {"1", "2", "3"}) {
        const std::string n = row;
        band += "heading \"" + n + ". ültetvény\" from=" + n + "j to=" + n + "r\n";
    }
    return band + "\n";
}

std::string Gn04() {
    return DiarySheetFrame("GN-04", std::string("AKG - ÜLTETVÉNY") + kSheetTitle,
                           "09GN03UParcellak.rav: the plantation KET areas with up to three "
                           "plantation rows each, then every field with its nutrients, bird "
                           "boxes, traps and yield.") +
           KetBand("RvGN0409QueryConnection1") + PlantationBand() +
           FieldBandHead("RvGN0409bQConnection1", "A táblák adatai") +
           "column Hazmeg caption=\"Házi megnevezés\" width=40 wrap\n"
           "column Agazat caption=\"Növény\" width=35 wrap\n"
           "column Terha caption=\"Terület\\n(ha)\" width=16 align=right format=\"#,##0.00##\"\n"
           "column Hozam caption=\"Hozam\" width=16 align=right format=\"#,##0.0#\"\n"
           "column odukszama caption=\"Madár-\\nodú\\n(db)\" width=14 align=right\n"
           "column rovarcsszama caption=\"Rovar-\\ncsapda\\n(db)\" width=14 align=right\n" +
           kNutrientColumns +
           "column Taptervtelj caption=\"Tápterv\\nteljesítve\" width=17 align=center\n"
           "column Visin caption=\"Vis\\nmaior\" width=13 align=center\n" +
           kNutrientHeadings + "\n";
}

} // namespace

std::string KetSheetLayout(const std::string& fileName) {
    if (fileName == "09GN02SzParcellak.rav")
        return Gn02();
    if (fileName == "09GN03GyParcellak.rav")
        return Gn03();
    if (fileName == "09GN03UParcellak.rav")
        return Gn04();
    return {};
}

void RegisterKetSheetLayouts() {
    for (const char* file :
         {"09GN02SzParcellak.rav", "09GN03GyParcellak.rav", "09GN03UParcellak.rav"})
        report::RegisterLayout(file, KetSheetLayout(file), {});
}
