// Resource numbers of NXMedia (bitmaps, strings and dialog templates of NXMediaRes.dll, resources/media).
#pragma once

// Default thumbnails: 80 x 60, 24 bits.
#define IDB_NXMEDIA_SOUND_THUMBNAIL 200
#define IDB_NXMEDIA_VIDEO_THUMBNAIL 205
#define IDB_NXMEDIA_PICTURE_THUMBNAIL 207

// Strings.
#define IDS_NXMEDIA_SOUND_EXTENSIONS 202    // list: entry 0 is the extension of format 17
#define IDS_NXMEDIA_UNTITLED 203
#define IDS_NXMEDIA_VIDEO_EXTENSIONS 204    // list: the extensions of formats 8 and 18
#define IDS_NXMEDIA_NO_FILE_INFO 206        // %1: the file whose information cannot be read
#define IDS_NXMEDIA_DIMENSIONS_UNKNOWN 208
#define IDS_NXMEDIA_DIMENSIONS_UNIT 209
#define IDS_NXMEDIA_COLOR_PHRASES 210       // list of six colour-count phrases
#define IDS_NXMEDIA_TYPE_NAMES 211          // list of file-type names by FileFormat
#define IDS_NXMEDIA_BYTES_UNIT 212
#define IDS_NXMEDIA_INFO_UNAVAILABLE 213
#define IDS_NXMEDIA_RENAME_FAILED 214       // %1: the attempted name
#define IDS_NXMEDIA_RENAME_CAPTION 215
#define IDS_NXMEDIA_POSTCARD_PROGRAM 222
#define IDS_NXMEDIA_POSTCARD_FAILED 223     // %1: the program

// Dialog templates.
#define IDD_NXMEDIA_PICTURE_INFO 216

// Registry: where the postcard program records its folder (HKEY_CURRENT_USER).
#define NXMEDIA_QUILLO_PRO_KEY "Software\\Nexlumen\\Quillo Pro\\Location"
#define NXMEDIA_QUILLO_KEY "Software\\Nexlumen\\Quillo\\Location"
#define NXMEDIA_LOCATION_VALUE "Path"

// The text shown when the resource library is missing; it cannot come from that library.
#define NXMEDIA_MISSING_RESOURCES_TEXT "NXMediaRes.dll is required to run this program!"
#define NXMEDIA_RESOURCE_LIBRARY "NXMediaRes.dll"
