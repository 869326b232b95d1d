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

} // namespace reg
