// Test component library B: a second component, whose document name is empty (test code, not product).
#include "framework/NXComponentServer.h"
#include "fwtest_classes.h"
#include "fwtest_ids.h"
#include "testcomponent.h"

namespace fwtest {

FWTEST_COMPONENT(cFwTestB, kFwTestBResources, IDR_FWTESTB, "Software\\Nexlumen\\FrameworkTestB")

const comkit::ClassEntry kClasses[] = {
    {&CLSID_FwTestB, &cFwTestB::Create, "Framework Test Component B", kFwTestBProgId, kFwTestBIndependentProgId,
     "Apartment", NULL, 0},
};

}  // namespace fwtest

NXCOMPONENT_EXPORTS(fwtest::kClasses)
