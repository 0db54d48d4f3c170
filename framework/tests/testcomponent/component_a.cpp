// Test component library A: component A and two classes whose Initialize fails (test code, not product).
#include "framework/NXComponentServer.h"
#include "fwtest_classes.h"
#include "fwtest_ids.h"
#include "testcomponent.h"

namespace fwtest {

const char* const kSettings = "Software\\Nexlumen\\FrameworkTestA";
// Two tool bars side by side, a pane of its own after the message pane, a context menu.
const UINT kPanesA[] = {ID_SEPARATOR, ID_FWTEST_PANE_A};
const BarPlan kBarsA = {{IDW_FWTESTA_TOOLBAR, IDW_FWTESTA_TOOLBAR2}, IDB_FWTESTA_TOOLS, kPanesA, 2, IDR_FWTEST_CONTEXT};
FWTEST_COMPONENT(cFwTestA, kFwTestAResources, IDR_FWTESTA, kSettings, kBarsA)
FWTEST_COMPONENT(cFwTestNoResources, "FwTestMissingRes.dll", IDR_FWTESTA, kSettings, kBarsA)
FWTEST_COMPONENT(cFwTestNoTemplate, kFwTestAResources, IDR_FWTEST_NOMENU, kSettings, kBarsA)

const comkit::ClassEntry kClasses[] = {
    {&CLSID_FwTestA, &cFwTestA::Create, "Framework Test Component A", kFwTestAProgId, kFwTestAIndependentProgId,
     "Apartment", NULL, 0},
    {&CLSID_FwTestNoResources, &cFwTestNoResources::Create, "Framework Test Component Without Resources", NULL, NULL,
     "Apartment", NULL, 0},
    {&CLSID_FwTestNoTemplate, &cFwTestNoTemplate::Create, "Framework Test Component Without Template", NULL, NULL,
     "Apartment", NULL, 0},
};

}  // namespace fwtest

NXCOMPONENT_EXPORTS(fwtest::kClasses)
