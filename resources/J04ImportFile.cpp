#include "J04ImportFile.h"

#include "platform/sys/codepage.h"
#include "platform/sys/numbers.h"

namespace res {

ItemFieldCodes FieldCodesOfRow(int row) {
    if (row == 0)
        return {570, 571, 572, 573, 1544, 1673, 1674};
    const int base = 572 + 5 * row;
    return {base,      base + 1,
            base + 2,  row == 31 ? 740 : base + 3,
            base + 4,  row <= 7 ? 1674 + row : 1675 + row,
            1706 + row};
}

int ItemPageCount(std::size_t items) {
    return static_cast<int>(items / kItemsPerPage) + 1;
}

std::string ImportDate(sys::DateTime date) {
    return sys::formatDateTime("yyyymmdd", date);
}

std::string FormatQuantity(const std::string& line) {
    const std::size_t comma = line.find(',');
    std::string result = line;
    for (char& c : result)
        if (c == ',')
            c = '.';
    if (comma == std::string::npos)
        return result + ".00";
    const std::size_t count = line.size() - comma; // the decimals plus the comma
    if (count <= 2)
        result += "0";
    return result;
}

namespace {

std::string Line(int code, int page, const std::string& value) {
    return std::to_string(code) + "[" + std::to_string(page) + "]=" + value;
}

void AddItem(std::vector<std::string>& lines, const DieselInvoiceItem& item, int row, int page) {
    const ItemFieldCodes codes = FieldCodesOfRow(row);
    lines.push_back(Line(codes.adosz, page, item.adosz));
    lines.push_back(Line(codes.szlaszam, page, item.szlaszam));
    lines.push_back(Line(codes.teljkelt, page, ImportDate(item.teljkelt)));
    lines.push_back(FormatQuantity(
        Line(codes.gmenny, page, item.gmenny ? sys::floatToText(*item.gmenny, ',') : "")));
    lines.push_back(Line(codes.vegossz, page, item.vegossz ? sys::intToText(*item.vegossz) : ""));
    lines.push_back(Line(codes.szlatip, page, item.szlatip));
    lines.push_back(Line(codes.fajtakod, page, item.fajtakod));
}

} // namespace

std::vector<std::string> ImportFileLines(const std::vector<DieselInvoiceItem>& items) {
    const int pages = ItemPageCount(items.size());
    std::vector<std::string> lines = {
        "$ny_azon=J04",     "$sorok_száma=" + std::to_string(7 * items.size() + 6),
        "$d_lapok_száma=2", "$d_lap1=F.G," + std::to_string(pages),
        "$d_lap2=P4,1",     "$info=Üdvözlet a számlatétel kitöltőböl",
    };
    std::size_t next = 0;
    for (int page = 1; page <= pages; ++page)
        for (int row = 0; row < kItemsPerPage && next < items.size(); ++row)
            AddItem(lines, items[next++], row, page);
    return lines;
}

std::string ImportFileBytes(const std::vector<DieselInvoiceItem>& items) {
    std::string bytes;
    for (const std::string& line : ImportFileLines(items))
        bytes += sys::fromUtf8(line, 1250) + '\n';
    return bytes;
}

} // namespace res
