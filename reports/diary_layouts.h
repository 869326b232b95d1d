#pragma once
// The layouts of the parcel diary sheets that the condition form TGNParSzuk runs, for both
// programme periods: ruled A4 landscape sheets with the sheet's code and title, the
// farm's name and the page numbers.

#include <string>

// The start of a ruled A4 landscape sheet: the page, the heading on every page (code,
// title, page numbers), the farm's name (RvFarmConnection1) under it on the first page,
// and the signature line at the foot of every page. `note` is the layout's comment.
std::string DiarySheetFrame(const std::string& code, const std::string& title,
                            const std::string& note);

// The layout text of a sheet file ("GN04ParcAdatok.rav" ...); empty for another name.
std::string DiaryParcelSheetLayout(const std::string& fileName);

// Registers the eight sheets as built-in layouts.
void RegisterDiaryParcelLayouts();
