// Identifiers shared by the COM kit's test server and its tests.
#pragma once
#include <comcat.h>

// Answer of IComkitProbe::GetValue.
#define PROBE_VALUE 42
// String in the server's resource library that GetGreeting returns.
#define IDS_PROBE_GREETING 100
// The category the test server registers itself in.
#define PROBE_CATEGORY_NAME L"Comkit Test Probes"
#define PROBE_PROGID "ComkitTest.Probe.1"
#define PROBE_VI_PROGID "ComkitTest.Probe"
#define PROBE_RESOURCE_LIBRARY "ComkitProbeRes.dll"

// {7C4E2B10-5A3D-4F61-9B2E-0D1C2A3B4C04}
static const CATID CATID_ComkitProbes = {
    0x7c4e2b10, 0x5a3d, 0x4f61, {0x9b, 0x2e, 0x0d, 0x1c, 0x2a, 0x3b, 0x4c, 0x04}};
