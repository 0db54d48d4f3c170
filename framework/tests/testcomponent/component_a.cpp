// Test component library A: component A and two classes whose Initialize fails (test code, not product).
#include "framework/NXComponentServer.h"
#include "fwtest_classes.h"
#include "fwtest_ids.h"
#include "testcomponent.h"

namespace fwtest {

const char* const kSettings = "Software\\Nexlumen\\FrameworkTestA";
FWTEST_COMPONENT(cFwTestA, kFwTestAResources, IDR_FWTESTA, kSettings)
FWTEST_COMPONENT(cFwTestNoResources, "FwTestMissingRes.dll", IDR_FWTESTA, kSettings)
FWTEST_COMPONENT(cFwTestNoTemplate, kFwTestAResources, IDR_FWTEST_NOMENU, kSettings)

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
