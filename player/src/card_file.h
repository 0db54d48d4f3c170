// The card the player carries: its own file read through the package reader, and the video part written
// out to a temporary file for the system's video window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cardpackage/reader.h"

namespace nxplay {

struct ReceivedCard {
  bool readable = false;  // the player's own file could be opened
  cardpackage::PackageStatus status = cardpackage::PackageStatus::kReadError;
  cardpackage::PackageTrailer trailer;
  std::vector<uint8_t> picture;  // JPEG of the front
  std::vector<uint8_t> desk;     // first viewer support file: the desk tile
  std::vector<uint8_t> stamp;    // second viewer support file: the stamp
  std::vector<uint8_t> sound;    // WAV
  std::string path;              // the player's own file
};

// Reads and checks the running program's own file; on kOk also loads the parts held in memory.
ReceivedCard LoadOwnCard();

// Copies the card's video part into a new temporary file with the extension ".avi". Returns its path, or
// empty on failure. The caller deletes it (and the reserved name, see DeleteVideoCopy) when done.
std::string WriteVideoCopy(const ReceivedCard& card);
void DeleteVideoCopy(const std::string& path);

}  // namespace nxplay
