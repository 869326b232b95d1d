#pragma once
// The layouts of the parcel diary sheets that the condition form TGNParSzuk runs, for both
// programme periods: ruled A4 landscape sheets with the sheet's code and title, the
// farm's name and the page numbers.

#include <string>

// The opening of a diary sheet's layout: the signature line, the A4 landscape page, the
// heading of every page (the sheet's code, its title, the page numbers, then headerLines,
// layout statements of the page header), the farm's name and address on the first page
// and the signature line at every page's foot.
std::string DiarySheetFrame(const std::string& code, const std::string& title,
                            const std::string& note, const std::string& headerLines = {});

// The layout text of a sheet file ("GN04ParcAdatok.rav" ...); empty for another name.
std::string DiaryParcelSheetLayout(const std::string& fileName);

// Registers the eight sheets as built-in layouts.
void RegisterDiaryParcelLayouts();
