// Resource numbers and message numbers of NXMisc (texts in resources/misc/NXMiscRes.rc, fonts in NXMisc.rc).
#pragma once

// Raw data resources of NXMisc.dll itself: font records read by GetFontInfo.
#define IDR_NXMISC_MESSAGE_FONT 130
#define IDR_NXMISC_BUTTON_FONT 131

// Strings of NXMiscRes.dll.
#define IDS_NXMISC_BUTTON_LABELS 132
#define IDS_NXMISC_TEMP_FOLDER_FAILED 133   // %1: the folder
#define IDS_NXMISC_UNRECOVERABLE 134        // %1: the exception's text
#define IDS_NXMISC_LEAD_FIRST 135           // 135 to 147: imaging error texts
#define IDS_NXMISC_LEAD_OTHER 148
#define IDS_NXMISC_LEAD_FRAME 149           // %1: the imaging error's text
#define IDS_NXMISC_TYPE_GENERAL 150         // type 0 without a string, 13 and above 14
#define IDS_NXMISC_TYPE_FIRST 151           // types 1 to 12: 150 + type
#define IDS_NXMISC_TYPE_14 163
#define IDS_NXMISC_NO_BROWSER 164
#define IDS_NXMISC_NO_HTTP_COMMAND 165

// Window message the monitor's users ask for: WM_USER + 101.
#define NXMISC_WM_FOLDER_CHANGED (0x0400 + 101)

// The text shown when the resource library is missing; it cannot come from that library.
#define NXMISC_MISSING_RESOURCES_TEXT "NXMiscRes.dll is required to run this program!"
#define NXMISC_RESOURCE_LIBRARY "NXMiscRes.dll"
