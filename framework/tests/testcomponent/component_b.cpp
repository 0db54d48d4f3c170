// Test component library B: a second component, whose document name is empty (test code, not product).
#include "framework/NXComponentServer.h"
#include "fwtest_classes.h"
#include "fwtest_ids.h"
#include "testcomponent.h"

namespace fwtest {

// One tool bar; its panes start with the button panes themselves.
const UINT kPanesB[] = {ID_NX_PANE_LAUNCHBAR, ID_NX_PANE_SLIDETABLE, ID_SEPARATOR, ID_FWTEST_PANE_B1, ID_FWTEST_PANE_B2};
const BarPlan kBarsB = {{IDW_FWTESTB_TOOLBAR, 0}, IDB_FWTESTB_TOOLS, kPanesB, 5, 0};
FWTEST_COMPONENT(cFwTestB, kFwTestBResources, IDR_FWTESTB, "Software\\Nexlumen\\FrameworkTestB", kBarsB)

const comkit::ClassEntry kClasses[] = {
    {&CLSID_FwTestB, &cFwTestB::Create, "Framework Test Component B", kFwTestBProgId, kFwTestBIndependentProgId,
     "Apartment", NULL, 0},
};

}  // namespace fwtest

NXCOMPONENT_EXPORTS(fwtest::kClasses)
