// Checks how an extension library starts in a process of its own: nxmisc_loadprobe.exe loads a copy of the
// library (and calls its start-up export) in a scratch folder, with and without the resource library beside it,
// while the test closes and records any message box the process shows. Used by the NXMisc and NXMedia tests.
#pragma once

namespace startprobe {

// library "NXMisc.dll", startup its export, missingText the fixed message when <library>Res.dll is missing.
// Loading alone must neither load the resource library nor show a box; the start-up call loads it, or shows
// the message and reports it missing.
void ExpectStartsOutsideTheLoaderLock(const char* library, const char* startup, const char* missingText);

}  // namespace startprobe
