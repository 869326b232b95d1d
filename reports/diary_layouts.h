#pragma once
// The layouts of the parcel diary sheets that the condition form TGNParSzuk runs, for both
// programme periods: ruled A4 landscape sheets with the sheet's code and title, the
// farm's name and the page numbers.

#include <string>

// The layout text of a sheet file ("GN04ParcAdatok.rav" ...); empty for another name.
std::string DiaryParcelSheetLayout(const std::string& fileName);

// The frame of a ruled diary sheet: the layout's first lines, A4 landscape, the heading
// on every page (the sheet's code, its title, the page numbers), the farm's name and
// address (RvFarmConnection1) on the first page and the signature line at every foot.
std::string DiarySheetFrame(const std::string& code, const std::string& title,
                            const std::string& note);

// Registers the eight sheets as built-in layouts.
void RegisterDiaryParcelLayouts();
