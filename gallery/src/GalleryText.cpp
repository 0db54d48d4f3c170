// The Gallery's texts read from GalRes.dll itself rather than through the resource chain.
#include "gallery/GalleryText.h"

#include "gallery/GalleryIds.h"

HINSTANCE GalleryResources() {
  HINSTANCE library = ::GetModuleHandleA(GAL_RESOURCE_LIBRARY);
  return library ? library : AfxGetResourceHandle();
}

namespace {
const int kTextRoom = 1024;  // the longest of the Gallery's texts with room to spare
}  // namespace

CString GalleryText(UINT id) {
  char text[kTextRoom];
  if (::LoadStringA(GalleryResources(), id, text, kTextRoom) <= 0) text[0] = '\0';
  return CString(text);
}

CString GalleryFormat(UINT id, LPCSTR insert1, LPCSTR insert2) {
  const LPCSTR inserts[2] = {insert1, insert2};
  CString text;
  AfxFormatStrings(text, GalleryText(id), inserts, 2);
  return text;
}
