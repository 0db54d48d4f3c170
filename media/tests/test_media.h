// The media files of the NXMedia tests, made once per run by the sample generator's code in a temporary folder.
#pragma once
#include <string>

namespace testmedia {
// The folder (ending in a backslash) holding photo_4000x3000.jpg, photo_60x40.png, photo_640x480.bmp,
// clip_sound.avi, clip_silent.avi and sweep.wav.
const std::string& Folder();
std::string Path(const char* name);
}  // namespace testmedia
