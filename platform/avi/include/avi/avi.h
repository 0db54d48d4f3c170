// Our AVI container: RIFF AVI reading and writing, editable streams sharing chunk data, the WAV header
// parser. Portable C++17 without platform headers. Called by the media library's AVI and sound classes
// (which map Error onto the system's exceptions), by the sample media generator and by tests.
#pragma once

#include "avi/error.h"
#include "avi/file.h"
#include "avi/format.h"
#include "avi/stream.h"
#include "avi/wav.h"
