// Component categories through the system's component categories manager (registration and enumeration).
#pragma once
#include <vector>
#include <windows.h>
#include <comcat.h>

namespace comkit {

// Locale under which the suite registers its category descriptions (US English).
const LCID kCategoryLocale = 1033;

HRESULT RegisterCategory(REFCATID catid, const wchar_t* description);
HRESULT UnregisterCategory(REFCATID catid);
HRESULT RegisterClassInCategory(REFCLSID clsid, REFCATID catid);
HRESULT UnregisterClassFromCategory(REFCLSID clsid, REFCATID catid);

// The classes that implement catid (and require nothing), in the order the manager gives them.
// S_OK with at least one class; S_FALSE with none; a failure status when the manager cannot be asked.
HRESULT EnumClassesInCategory(REFCATID catid, std::vector<CLSID>& classes);

}  // namespace comkit
