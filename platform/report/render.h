#pragma once
// Lays a report's pages out from its layout while reading its connections.

#include "platform/report/connection.h"
#include "platform/report/document.h"
#include "platform/report/layout.h"
#include "platform/report/output.h"

#include <functional>
#include <string>
#include <string_view>

namespace report {

// The connection a layout names, or null.
using ConnectionLookup = std::function<Connection*(std::string_view name)>;

// Thrown when the user cancels a report while it is laid out.
struct ReportCancelled {};

// Reads the connections in the order the layout uses them and returns the pages.
// Errors of the layout found now (a connection or column that does not exist) raise
// LayoutError with the line; a missing connection is named with `formName`, the form
// the report runs on, when given. A cancel through the reporter raises ReportCancelled.
Document RenderReport(const Layout& layout, const ConnectionLookup& find,
                      ProgressReporter* progress = nullptr, const std::string& formName = {});
// The same into `into`, whose pages can be shown while the rest are laid out (the
// reporter's PageDone tells each finished page; the page count is filled in at the end).
// After a cancel `into` holds the pages finished before it, the page count not filled in.
void RenderReport(Document& into, const Layout& layout, const ConnectionLookup& find,
                  ProgressReporter* progress = nullptr, const std::string& formName = {});

// Millimetres of one point.
inline constexpr double kPointMm = 25.4 / 72.0;
// The height of a text row of that font size, millimetres.
inline double RowHeight(double fontSize) {
    return fontSize * kPointMm * 1.45;
}

} // namespace report
