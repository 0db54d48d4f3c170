// Class ids and names of the test components, shared by the components and the test host (test code, not product).
#pragma once
#include <objbase.h>

namespace fwtest {

// Component A (FwTestA.dll): a document template, a View popup of the host's container menu's name, a Help.
const CLSID CLSID_FwTestA = {0xDB96B0BF, 0xEFB8, 0x40B9, {0x83, 0x20, 0x2B, 0x92, 0xF0, 0xD5, 0xBA, 0xCE}};
// Two classes of the same library that fail Initialize: their resource library is missing, or their
// template's menu.
const CLSID CLSID_FwTestNoResources = {0xC14B33C2, 0x4DDF, 0x4A4B, {0xB5, 0xD8, 0x80, 0xAB, 0x08, 0xB5, 0xF9, 0x32}};
const CLSID CLSID_FwTestNoTemplate = {0xFC32DFBC, 0x8FF8, 0x4D3F, {0x9D, 0xBB, 0x0D, 0x45, 0xBE, 0xB6, 0xE9, 0x5D}};
// Component B (FwTestB.dll): its own library, an empty document name.
const CLSID CLSID_FwTestB = {0x89C0072D, 0xD34F, 0x4A07, {0x84, 0xFC, 0x52, 0x0E, 0x54, 0x14, 0xBE, 0xB4}};

const char* const kFwTestAProgId = "NXComponent.FrameworkTestA.1";
const char* const kFwTestAIndependentProgId = "NXComponent.FrameworkTestA";
const char* const kFwTestBProgId = "NXComponent.FrameworkTestB.1";
const char* const kFwTestBIndependentProgId = "NXComponent.FrameworkTestB";
const char* const kFwTestALibrary = "FwTestA.dll";
const char* const kFwTestBLibrary = "FwTestB.dll";
const char* const kFwTestAResources = "FwTestARes.dll";
const char* const kFwTestBResources = "FwTestBRes.dll";

}  // namespace fwtest
