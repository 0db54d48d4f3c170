// The player's texts from its own string table.
#pragma once

#include <windows.h>

#include <string>

namespace nxplay {
std::string Text(UINT id);
}  // namespace nxplay
