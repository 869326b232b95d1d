#pragma once
// The layouts of the parcel diary sheets that the condition form TGNParSzuk runs, for both
// programme periods: ruled A4 landscape sheets with the sheet's code and title, the
// farm's name and the page numbers.

#include <string>

// The layout text of a sheet file ("GN04ParcAdatok.rav" ...); empty for another name.
std::string DiaryParcelSheetLayout(const std::string& fileName);

// Registers the eight sheets as built-in layouts.
void RegisterDiaryParcelLayouts();
