// The report layouts the program ships (each subsystem's layouts/*.rav, embedded in the
// program): every one is read as start-up registers it.

#include "operations/commands.h"
#include "platform/report/layout.h"
#include "platform/report/layouts.h"
#include "register/layouts.h"
#include "reports/commands.h"
#include "resources/commands.h"

#include <gtest/gtest.h>

namespace {

TEST(ShippedLayoutFiles, EveryLayoutParses) {
    reg::RegisterLayouts();
    RegisterResourceLayouts();
    RegisterOperationLayouts();
    RegisterReportLayouts();
    ASSERT_GE(report::BuiltInLayouts().size(), 51u);
    for (const report::BuiltInLayout& shipped : report::BuiltInLayouts()) {
        SCOPED_TRACE(shipped.fileName);
        const report::Layout layout = report::ParseLayout(shipped.text, shipped.fileName);
        EXPECT_FALSE(layout.bands.empty() && layout.title.empty());
    }
}

} // namespace
