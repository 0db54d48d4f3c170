// The Gallery's numbers in one place: resources of GalRes.dll, commands, private messages, timers, settings.
#pragma once

// Resources of GalRes.dll.
#define IDR_GALLERY 128               // the slide table's template: document strings and its menu
#define IDI_GAL_PICTURE 154           // type icons of a cell, 12 x 12
#define IDI_GAL_VIDEO 155
#define IDI_GAL_SOUND 223
#define IDR_GAL_COLOURS 280           // ten COLORREFs: [0] active selection, [1] caption, [2] empty-table text
#define IDR_GAL_SLIDE_FONT 294        // font records read by GetFontInfo
#define IDR_GAL_SLIDE_FONT_ALT 295

#define IDS_GAL_LOADING 161           // "%1 of %2" while the loader works
#define IDS_GAL_CACHE_NAME 163        // the thumbnail cache file's name in each folder
#define IDS_GAL_OPEN_FAILED 197       // the shell could not open %1
#define IDS_GAL_SLIDE_GONE 198        // %1 is not there any more
#define IDS_GAL_DROP_EMPTY 210
#define IDS_GAL_DROP_FAILED 211       // %1 source, %2 target
#define IDS_GAL_SERVER_ENTRIES 342     // the automation server's class entries: "name\nversioned name\nclass id"
#define IDS_GAL_NO_HOST 343
#define IDS_GAL_NOTHING_SELECTED 354
#define IDS_GAL_STOP_LOADING 364
#define IDS_GAL_STOP_BATCH 365
#define IDS_GAL_STOP_TITLE 366
#define IDS_GAL_READING_CACHE 373
#define IDS_GAL_WRITING_CACHE 374
#define IDS_GAL_SAVE_FORMAT 375       // automation: SaveImages knows no such format
#define IDS_GAL_SAVE_INDEX 376        // automation: SaveImages got no slide's position
#define IDS_GAL_SAVE_FAILED 377       // automation: the slide could not be saved
#define IDS_GAL_EMPTY_FOLDER 3000      // the text of an empty table
#define IDS_GAL_NO_ASSOCIATION 3001    // the shell's error texts for ShellExecute's results
#define IDS_GAL_FILE_NOT_FOUND 3002
#define IDS_GAL_ACCESS_DENIED 3003

// Commands of the table (menu of IDR_GALLERY).
#define ID_GAL_SMALL 34000
#define ID_GAL_MEDIUM 34001
#define ID_GAL_LARGE 34002
#define ID_GAL_SORT_DATE 34010
#define ID_GAL_SORT_NAME 34011
#define ID_GAL_SORT_TYPE 34012
#define ID_GAL_SORT_SELECTED 34013
#define ID_GAL_REFRESH 34020
#define ID_GAL_SELECT_ALL 34021
#define ID_GAL_SELECT_NONE 34022
#define ID_GAL_RENAME 34023
#define ID_GAL_DELETE 34024
#define ID_GAL_OPEN 34025
#define ID_GAL_ASK_STOP 34026

// Private messages of the view (wParam as noted).
#define WM_GAL_FOLDER_CHANGED 0x465   // from the folder monitor
#define WM_GAL_NOT_BUSY 0x466         // the view stopped being busy
#define WM_GAL_LOAD_PROGRESS 0x467    // loader: index about to load, count + 1 at the end
#define WM_GAL_THUMBS_READY 0x468     // loader: indices in the ready list
#define WM_GAL_LOAD_FAILED 0x469      // loader: a cell was removed
#define WM_GAL_SORT 0x46A             // automation: sort by the stored criterion wParam, also when the menu
                                      // command is disabled (selected first with nothing selected)
#define WM_GAL_FOLDER_OPENED 0x4CE    // to the frame: another folder was opened (lParam = its path)
#define WM_GAL_EDIT_CANCEL 0x4CF      // name editor: Esc (wParam = editor id)
#define WM_GAL_SCROLL_TO 0x4D1        // scroll slide wParam into sight
#define WM_GAL_EDIT_COMMIT 0x4D6      // name editor: Enter (wParam = editor id)

// Control bars of the Gallery's frame that automation shows and hides.
#define ID_GAL_TOOLBAR 132
#define ID_GAL_STATUSBAR 133

// Automation: the members of the Gallery's interface (INXGallery), its slide collections and slides.
#define DISPID_GAL_SCROLLTOCHANGES 1
#define DISPID_GAL_OPEN 2
#define DISPID_GAL_SELECTEDSLIDES 3
#define DISPID_GAL_GETCURRENTFOLDER 4
#define DISPID_GAL_SHOWTOOLBAR 5
#define DISPID_GAL_SHOWSTATUSBAR 6
#define DISPID_GAL_SHOWFOLDERS 7
#define DISPID_GAL_SETSLIDESIZE 8
#define DISPID_GAL_SETSORTCRITERIA 9
#define DISPID_GAL_REFRESH 10
#define DISPID_GAL_SHOWEXTENSIONS 11
#define DISPID_GAL_SELECTNONE 12
#define DISPID_GAL_COPYFILE 13
#define DISPID_GAL_GETPATH 14
#define DISPID_GAL_REFRESHFILETREE 15
#define DISPID_GAL_ALLSLIDES 16
#define DISPID_GAL_GETTHUMBNAILSIZE 17
#define DISPID_GAL_SAVEIMAGES 18
#define DISPID_GAL_SELECTION_COUNT 1
#define DISPID_GAL_SLIDE_PATH 1
#define DISPID_GAL_SLIDE_NAME 2
// SaveImages: the one format it writes (JPEG), "every slide" as the index, and its exception codes.
#define GAL_SAVE_FORMAT_JPEG 1
#define GAL_SAVE_ALL_SLIDES (-1)
#define GAL_SAVE_ERROR_FORMAT 1
#define GAL_SAVE_ERROR_FAILED 2
#define GAL_SAVE_ERROR_INDEX 3

#define GAL_REFRESH_TIMER 32789
#define GAL_REFRESH_DELAY_MS 2000
#define GAL_NAME_EDIT_ID 99
#define GAL_SHELL_IDLIST_FORMAT "Shell IDList Array"  // the shell's clipboard format of ID lists

// Settings under "Software\\Nexlumen\\Gallery".
#define GAL_REGISTRY_KEY "Software\\Nexlumen\\Gallery"
#define GAL_RESOURCE_LIBRARY "GalRes.dll"
#define GAL_SECTION_RUNTIME "Runtime"
#define GAL_SECTION_PREFERENCES "Preferences"
#define GAL_ENTRY_SLIDE_SIZE "Slide Size"
#define GAL_ENTRY_IP_SLIDE_SIZE "IP Slide Size"
#define GAL_ENTRY_SORT "Sort Criteria"
#define GAL_ENTRY_IP_SORT "IP Sort Criteria"
#define GAL_ENTRY_SHOW_EXTENSION "Show Extension"
#define GAL_ENTRY_ENABLE_CACHE "Enable Cache"
#define GAL_ENTRY_PICTURE_EDITOR "Picture Editor"
#define GAL_ENTRY_VIDEO_EDITOR "Video Editor"
#define GAL_ENTRY_WAVE_EDITOR "Wave Editor"
