// OrvaneExt.dll, the shell's context-menu extension: "Open with Nexlumen Orvane" on files and folders.
//
// The Windows shell creates the extension by its class id (DllGetClassObject, DllCanUnloadNow are the only
// exports). This header names what the extension, its registration tool OrvaneExtReg.exe (used by the
// installer and the tests) and the tests share: the class id, the registry keys it reads and the shell
// keys under which it is registered.
#pragma once
#include <windows.h>

namespace orvext {

// {443E2160-35DE-11D2-A4F5-B4CE0CC10000}
const CLSID kClsid = {0x443E2160, 0x35DE, 0x11D2, {0xA4, 0xF5, 0xB4, 0xCE, 0x0C, 0xC1, 0x00, 0x00}};
const char kClsidText[] = "{443E2160-35DE-11D2-A4F5-B4CE0CC10000}";
const char kDllName[] = "OrvaneExt.dll";

// Read under HKEY_CURRENT_USER: the host's launch items and the host program's path.
const char kLaunchItemsKey[] = "Software\\Nexlumen\\Orvane\\Launch Items";
const char kFileTypesSubkey[] = "FileTypesSupported";
const char kLocationKey[] = "Software\\Nexlumen\\Orvane\\Location";
const char kPathValue[] = "Path";
// The installer records the host's folder as "Path" (the host reads it so); the program started is this one in it.
const char kHostProgram[] = "Orvane.exe";

// Written under HKEY_LOCAL_MACHINE by the registration: the class, the handler entries for every file
// and for folders, and the shell's list of approved extensions.
const char kClassDescription[] = "Nexlumen Orvane context menu";
const char kThreadingModel[] = "Apartment";
const char kClassesKey[] = "Software\\Classes";
const char kHandlerName[] = "OrvaneExt";
const char* const kHandlerClasses[] = {"*", "Directory"};
const char kHandlersSubkey[] = "shellex\\ContextMenuHandlers";
const char kApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

}  // namespace orvext
