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
#define IDS_NXMEDIA_BYTES_UNIT 212
#define IDS_NXMEDIA_INFO_UNAVAILABLE 213
#define IDS_NXMEDIA_RENAME_FAILED 214       // %1: the attempted name
#define IDS_NXMEDIA_RENAME_CAPTION 215
#define IDS_NXMEDIA_POSTCARD_PROGRAM 222
#define IDS_NXMEDIA_POSTCARD_FAILED 223     // %1: the program
#define IDS_NXMEDIA_COLOR_PHRASES 224       // list of six colour-count phrases
#define IDS_NXMEDIA_TYPE_NAMES 225          // list of file-type names by FileFormat
#define IDS_NXMEDIA_LENGTH_FORMAT 230       // printf form: seconds as a double
#define IDS_NXMEDIA_FRAME_RATE_FORMAT 231   // printf form: frames per second as a double
#define IDS_NXMEDIA_CHANNEL_NAMES 232       // list: one channel, two channels, %d channels
#define IDS_NXMEDIA_SAMPLE_RATE_FORMAT 233  // printf form: samples per second
#define IDS_NXMEDIA_SOUND_FORMATS 234       // list: PCM, another format tag (%u)

// Dialog templates.
#define IDD_NXMEDIA_PICTURE_INFO 216
#define IDD_NXMEDIA_VIDEO_INFO 217
#define IDD_NXMEDIA_SOUND_INFO 218

// Controls of the info dialogs (shared by the three templates where the fact is the same).
#define IDC_NXMEDIA_THUMBNAIL 1000
#define IDC_NXMEDIA_NAME 1001
#define IDC_NXMEDIA_SIZE 1002
#define IDC_NXMEDIA_DATE 1003
#define IDC_NXMEDIA_DIMENSIONS 1004
#define IDC_NXMEDIA_COLORS 1005
#define IDC_NXMEDIA_TYPE 1006
#define IDC_NXMEDIA_LENGTH 1007
#define IDC_NXMEDIA_FRAME_RATE 1008
#define IDC_NXMEDIA_FORMAT 1009
#define IDC_NXMEDIA_CHANNELS 1010
#define IDC_NXMEDIA_SAMPLE_RATE 1011


// Context help: the help topic of a control is this base + the control's id.
#define NXMEDIA_HELP_BASE 0x00080000
// The application's help file: the program's path with this extension.
#define NXMEDIA_HELP_EXTENSION ".hlp"

// Registry: where the postcard program records its folder (HKEY_CURRENT_USER).
#define NXMEDIA_QUILLO_PRO_KEY "Software\\Nexlumen\\Quillo Pro\\Location"
#define NXMEDIA_QUILLO_KEY "Software\\Nexlumen\\Quillo\\Location"
#define NXMEDIA_LOCATION_VALUE "Path"

// The text shown when the resource library is missing; it cannot come from that library.
#define NXMEDIA_MISSING_RESOURCES_TEXT "NXMediaRes.dll is required to run this program!"
#define NXMEDIA_RESOURCE_LIBRARY "NXMediaRes.dll"
