// The test double of the system's sound recorder object (test code, never shipped): what the tests and the
// double share. The double is a local server registered by the tests under the recorder's class id for as long
// as they run; it shows a small window when asked to open, hands out a fixed sound as CF_WAVE and behaves as
// the recorder does when its window is closed (saves through its site, hides, tells its advise sinks).
#pragma once

namespace soundrecdouble {

// {00020C01-0000-0000-C000-000000000046}, the wave sound object.
const char kClassKey[] = "CLSID\\{00020C01-0000-0000-C000-000000000046}";
const char kProgramName[] = "quillo_soundrec_double.exe";
const char kWindowClass[] = "QuilloTestSoundRecorder";
// Environment variable (inherited from the process that starts the server): a log file the double appends
// "key=value" lines to: "hostapp" and "hostobject" from SetHostNames, "defaultformat" (the system's
// "DefaultFormat" recording format when it opened, "(none)" when absent), "verb", "data" (bytes handed out).
const char kLogVariable[] = "ORV_SOUNDREC_LOG";

// The sound it "records": 8-bit mono PCM at 11025 Hz, half a second of a tone.
const unsigned kSampleRate = 11025;
const unsigned kSamples = kSampleRate / 2;

}  // namespace soundrecdouble
