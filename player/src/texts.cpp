// Loading the player's strings from its own resources.
#include "texts.h"

namespace nxplay {

std::string Text(UINT id) {
  char text[512];
  const int n = LoadStringA(GetModuleHandleA(NULL), id, text, sizeof text);
  return std::string(text, n > 0 ? size_t(n) : 0);
}

}  // namespace nxplay
