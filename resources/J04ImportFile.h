#pragma once
// The import file of the excise-duty refund claim ("J04") that the tax authority's
// form-filling program reads: Windows-1250 text, every line ended by one LF.
//
//     $ny_azon=J04
//     $sorok_száma=<7 x N + 6>
//     $d_lapok_száma=2
//     $d_lap1=F.G,<N div 32 + 1>
//     $d_lap2=P4,1
//     $info=Üdvözlet a számlatétel kitöltőböl
//     <code>[<page>]=<value>          seven lines per item, 32 items a page
//
// Item k lies on page k div 32 + 1, row k mod 32; each row has its own seven field
// codes (FieldCodesOfRow), the same on every page.

#include "platform/sys/datetime.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace res {

// One diesel invoice item as the file carries it (a row of szlatet.db).
struct DieselInvoiceItem {
    std::string adosz;
    std::string szlaszam;
    sys::DateTime teljkelt = 0; // an empty date is day 0, 1899-12-30
    std::optional<double> gmenny;
    std::optional<std::int64_t> vegossz;
    std::string szlatip;
    std::string fajtakod;
};

// The field codes of one row of an item page, in the order the lines are written.
struct ItemFieldCodes {
    int adosz;
    int szlaszam;
    int teljkelt;
    int gmenny;
    int vegossz;
    int szlatip;
    int fajtakod;
    bool operator==(const ItemFieldCodes&) const = default;
};
inline constexpr int kItemsPerPage = 32;
ItemFieldCodes FieldCodesOfRow(int row); // row 0 ... 31

// The item pages the header declares: N div 32 + 1 (32 items declare 2).
int ItemPageCount(std::size_t items);

// A date as the file writes it: year, month and day, "20100305".
std::string ImportDate(sys::DateTime date);

// The quantity line made ready for the file: its commas become points, and a value
// with no or one decimal is filled to two ("573[1]=12,5" -> "573[1]=12.50").
std::string FormatQuantity(const std::string& line);

// The lines of the whole file, in UTF-8, without their line ends.
std::vector<std::string> ImportFileLines(const std::vector<DieselInvoiceItem>& items);

// The file's bytes: the lines in Windows-1250, each ended by LF. Throws
// sys::EncodingError when a value holds a character the code page lacks.
std::string ImportFileBytes(const std::vector<DieselInvoiceItem>& items);

} // namespace res
