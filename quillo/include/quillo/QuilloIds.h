// Resource numbers, commands and private messages of the postcard program, shared by its code and its
// resource library quillores.dll (resources/quillo).
#pragma once

// ---- Fixed numbers (other programs and the card's design rely on them) ----
#define IDI_QUILLO 128         // the card window's icon
#define IDB_SPLASH 260         // the splash screen's picture
#define IDR_NOTE_PACKAGE 252   // raw data: the mail's note text for a card package (%1-%3: IDS_NOTE_INSERT_FIRST...)
#define IDR_NOTE_PICTURE 253   // raw data: the mail's note text for a card picture
#define IDR_SOUND_CONTAINER 1124  // the hidden sound container's template: its menu and document strings
// Private messages to the card window and its panels.
#define WM_CARD_FLIP 18176             // flip the card (the card corner posts it)
#define WM_CARD_STATUS 18177           // show a status text; lParam: the text (LPCSTR), null clears it
#define WM_CARD_PREFS_CHANGED 18178    // the preferences changed; refresh
#define WM_CARD_SOUND_LOADED 18179     // a sound file was loaded into the recorder; refresh
// The program's own messages.
#define WM_CARD_SHOW_WELCOME (WM_APP + 1)  // offer the welcome pages (the first time the program runs)

// ---- Dialog templates ----
#define IDD_CARD 1000             // the card window (cCardDialog)
#define IDD_CARD_FRONT 1001       // its front panel (cCardFront)
#define IDD_CARD_BACK 1002        // its back panel (cCardBack)
#define IDD_WELCOME 1003          // the welcome pages
#define IDD_PICTURE_PREVIEW 1004  // the preview beside the picture open dialog
#define IDD_GREETINGS 1005        // the greeting chooser over the back (the card's auxiliary pop-up)
#define IDD_PREFERENCES 1006      // the preferences dialog
#define IDD_DELIVERY_CONFIRM 1007 // the confirmation before sending
#define IDD_SEND_PROGRESS 1008    // the window standing over the card while it is sent

// Controls.
#define IDC_WELCOME_NEXT 1100
#define IDC_PREVIEW_PICTURE 1101
#define IDC_PREVIEW_TEXT 1102
#define IDC_GREETING_LIST 1103
#define IDC_CARD_MESSAGE 1104
#define IDC_CARD_TO 1105
#define IDC_CARD_FROM 1106
#define IDC_CARD_SUBJECT 1107
#define IDC_CARD_CORNER 1108
#define IDC_PREF_SENDER 1110
#define IDC_PREF_SERVICE_MAIL 1111      // radio group: mail, then outbox
#define IDC_PREF_SERVICE_OUTBOX 1112
#define IDC_PREF_FORMAT_PACKAGE 1113    // radio group: package, then picture
#define IDC_PREF_FORMAT_PICTURE 1114
#define IDC_PREF_PROMPT_FORMAT 1115
#define IDC_PREF_PROMPT_COMPRESSION 1116
#define IDC_PREF_WARN_OUTBOX 1117
#define IDC_PREF_OUTBOX_LIMIT 1118
#define IDC_PREF_OUTBOX_SPIN 1119
#define IDC_CONFIRM_TEXT 1120
#define IDC_CONFIRM_DONT_ASK 1121
#define IDC_PROGRESS_TEXT 1122
#define IDC_PROGRESS_BAR 1123
// The system's placeholder for the standard controls in a file dialog's own template.
#define IDC_FILE_DIALOG_CONTROLS 0x045F

// ---- Raw data ----
// The welcome pages' buttons, in pixels over the page's picture: the Close button (left, top, width, height)
// and the Next button's size (width, height); then for pages 1 to 5 the Next button's left and top and
// whether it is the default button (1) there.
#define IDR_WELCOME_BUTTONS 1200  // 6 integers
#define IDR_WELCOME_NEXT 1201     // 15 integers

// ---- Bitmaps (32 x 32 button pictures keyed on magenta, the corner, the stamp) ----
#define IDB_BUTTON_PICTURE 1300
#define IDB_BUTTON_FLIP 1301
#define IDB_BUTTON_SEND 1302
#define IDB_BUTTON_PREFERENCES 1303
#define IDB_BUTTON_VIDEO 1304
#define IDB_BUTTON_GREETINGS 1305
#define IDB_BUTTON_ADDRESS_BOOK 1306
#define IDB_BUTTON_RECORD 1307
#define IDB_BUTTON_PLAY 1308
#define IDB_CORNER 1310
#define IDB_STAMP 1311
// Cursors.
#define IDC_CORNER_CURSOR 1320
// Sounds (WAVE resources, by name).
#define QUILLO_SOUND_OPEN "Open"
#define QUILLO_SOUND_FLIP "Flip"
#define QUILLO_SOUND_CLOSE "Close"
#define QUILLO_SOUND_SEND "Send"

// ---- Commands of the card's buttons (their hint texts are the strings of the same numbers) ----
#define ID_CARD_CHOOSE_PICTURE 32800
#define ID_CARD_FLIP 32801
#define ID_CARD_SEND 32802
#define ID_CARD_PREFERENCES 32803
#define ID_CARD_FRONT_FIFTH 32804   // the front's fifth button, kept hidden and disabled
#define ID_CARD_GREETINGS 32805
#define ID_CARD_ADDRESS_BOOK 32806
#define ID_CARD_RECORD_SOUND 32807
#define ID_CARD_PLAY_SOUND 32808

// ---- Strings ----
#define IDS_APP_TITLE 2000
#define IDS_CANNOT_OPEN_FILE 2001        // %1: the file
#define IDS_FRONT_NOT_CREATED 2002
#define IDS_BACK_NOT_CREATED 2003
#define IDS_CHOOSE_PICTURE_TITLE 2004
#define IDS_PICTURE_FILTER 2005          // %1: the picture patterns, %2: the video patterns
#define IDS_NO_PREVIEW 2006
#define IDS_LINK_LABEL 2007              // the default "Link Label"
#define IDS_LINK_ADDRESS 2008            // the default "Link Address"
#define IDS_LABEL_TO 2009
#define IDS_LABEL_FROM 2010
#define IDS_LABEL_SUBJECT 2011
#define IDS_SPLASH_TITLE 2012
#define IDS_SPLASH_LINE 2013
#define IDS_UNTITLED 2014
#define IDS_FILE_INFO_ERROR 2015         // %1: the file
#define IDS_FRONT_EMPTY 2016            // shown on a front without a picture
#define IDS_FRONT_NOT_RENDERED 2017     // the package's front picture could not be made
#define IDS_PICTURE_NOT_MADE 2018       // the card picture could not be made
#define IDS_GREETING_FIRST 2020          // the greetings, one string each (%1: the sender), up to IDS_GREETING_LAST
#define IDS_GREETING_LAST 2029
#define IDS_WELCOME_TITLE_FIRST 2030     // the welcome pages' titles and texts, page 1 first
#define IDS_WELCOME_TEXT_FIRST 2040
#define IDS_MEDIA_ERROR_FIRST 2050       // the media errors' texts, by NXError number 0 to 17
// Messages of the card package writer (%1 is a file name).
#define IDS_PACKAGE_STUB_MISSING 2100  // the player stub file could not be copied (%1: stub name)
#define IDS_PACKAGE_NOT_OPENED 2101    // the package file could not be opened for writing (%1: package)
#define IDS_PACKAGE_STUB_INVALID 2102  // the stub carries no player marker (%1: stub name)
#define IDS_PACKAGE_NOT_WRITTEN 2103   // the package could not be finished, e.g. a full disk (%1: package)
// Preferences and delivery.
#define IDS_PICTURE_FORMAT_REFUSED 2200  // the card picture cannot carry the card's video or sound
#define IDS_NEED_PICTURE 2201            // OK opens the picture selection
#define IDS_SEND_STATUS 2202             // the status line while the card is being sent
#define IDS_CONFIRM_MAIL_PACKAGE 2203    // the confirmation texts by service and format
#define IDS_CONFIRM_MAIL_PICTURE 2204
#define IDS_CONFIRM_FILE_PACKAGE 2205
#define IDS_CONFIRM_FILE_PICTURE 2206
#define IDS_CONFIRM_CLOSING 2207
#define IDS_NO_RECIPIENTS 2208
#define IDS_CARD_SENT 2209
#define IDS_CARD_SAVED 2210              // %1: the file
#define IDS_PROGRESS_STAGE_FIRST 2211    // the progress window's texts by stage: preparing, building, mail, saving
#define IDS_SAVE_TITLE 2216
#define IDS_SAVE_FILTER_PACKAGE 2217
#define IDS_SAVE_FILTER_PICTURE 2218
#define IDS_SAVE_FAILED 2219             // %1: the file
#define IDS_OUTBOX_FULL 2220             // %1: the folder
// Simple MAPI.
#define IDS_MAIL_NOT_AVAILABLE 2230
#define IDS_MAIL_NOT_LOADED 2231
#define IDS_MAIL_LIBRARY_INVALID 2232
#define IDS_MAPI_GENERAL_FAILURE 2233
#define IDS_MAPI_OUT_OF_MEMORY 2234
#define IDS_MAPI_TOO_MANY_RECIPIENTS 2235
#define IDS_MAPI_ATTACHMENT 2236
#define IDS_MAPI_UNKNOWN_RECIPIENT 2237
#define IDS_MAPI_AMBIGUOUS_RECIPIENT 2238
#define IDS_RECIPIENTS_KEPT 2239         // %1: how many were kept
#define IDS_RECIPIENT_SEPARATOR 2240     // between two names in the "to" field (a space follows it)
#define IDS_ADDRESS_PREFIX 2241          // before a typed name that becomes an address
#define IDS_NOTE_INSERT_FIRST 2242       // the three texts put into the note templates' %1, %2, %3
// Sound and video.
#define IDS_SOUND_NO_TEMPORARY_FILE 2250
#define IDS_SOUND_RECORDER_FAILED 2251
#define IDS_SOUND_NOT_RECORDED 2252
#define IDS_SOUND_NOT_LOADED 2253        // %1: the file
#define IDS_SOUND_LENGTH 2254            // %1: seconds
#define IDS_VIDEO_LIBRARY_MISSING 2255
#define IDS_COMPRESS_QUESTION 2256       // %1: the kind of uncompressed data
#define IDS_UNCOMPRESSED_RGB 2257
#define IDS_UNCOMPRESSED_YUV 2258
#define IDS_COMPRESS_FAILED 2259         // %1: the video
