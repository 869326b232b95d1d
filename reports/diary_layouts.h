#pragma once
// The layouts of the parcel diary sheets that the condition form TGNParSzuk runs, for both
// programme periods: ruled A4 landscape sheets with the sheet's code and title, the
// farm's name and the page numbers.

#include <string>

// The frame of a diary sheet: the A4 landscape page, the sheet's code, title and page
// numbers on every page (then headerLines, statements of the page header), the farm's
// name and address on the first page (connection RvFarmConnection1) and the signature
// line at every page's foot. The note is the layout's comment line.
std::string DiarySheetFrame(const std::string& code, const std::string& title,
                            const std::string& note, const std::string& headerLines = {});

// The layout text of a sheet file ("GN04ParcAdatok.rav" ...); empty for another name.
std::string DiaryParcelSheetLayout(const std::string& fileName);

// Registers the eight sheets as built-in layouts.
void RegisterDiaryParcelLayouts();
