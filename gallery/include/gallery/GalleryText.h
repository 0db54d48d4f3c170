// The Gallery's own texts and pictures: read from its resource library GalRes.dll by that library's handle,
// so that a number the media and misc libraries also use in the resource chain never gives their text.
// The document and the view call these for status lines, messages, the cache file's name and type icons.
#pragma once
#include "afxwin.h"

// GalRes.dll once the component loaded it, else the resource handle in force.
HINSTANCE GalleryResources();
CString GalleryText(UINT id);
// The text id with %1 and %2 replaced.
CString GalleryFormat(UINT id, LPCSTR insert1, LPCSTR insert2);
