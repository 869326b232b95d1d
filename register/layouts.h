#pragma once
// The report layouts of the register, shipped with the program and written beside a fresh
// database: "Tulajdonosok.rav" (owners with their land parcels) and "Tablak.rav" (the
// land parcel list).

#include <string>
#include <vector>

namespace reg {

// Registers the register's layouts as built-in layouts (start-up calls it once, before
// the built-in layouts are written into the working directory).
void RegisterLayouts();

// The layout texts.
const std::string& OwnersLayout();
const std::string& LandParcelsLayout();
// The checksums of their earlier shipped versions.
const std::vector<std::string>& EarlierOwnersLayouts();
const std::vector<std::string>& EarlierLandParcelsLayouts();

// The title, page heading and page footing of the register's printouts; `title` and
// `farm` may be fields ("{RvCustomConnection1.Cim}"); `titleLines` are further text
// statements printed under the title.
std::string PrintoutFrame(const std::string& title,
                          const std::string& farm = "{RvFarmConnection1.Nev}",
                          const std::string& titleLines = "");

// The lists' layouts: "Parcellak.rav" (the field list), "HejrajzMuv4.rav" (operations by
// land parcel), "Talajmintak.rav" (soil tests), "foldhaszntervr.rav" (land-use plan).
void RegisterListLayouts();
const std::string& FieldListLayout();
const std::string& OperationsByParcelLayout();
const std::string& SoilTestsLayout();
const std::string& LandUsePlanLayout();

} // namespace reg
