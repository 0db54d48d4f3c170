// The host program's numbers in one place: its private messages, command ids, resource numbers (resources in
// OrvRes.dll and in Orvane.exe), registry keys and values, and the automation object's class and dispatch ids.
// Included by the host's code, its resource scripts and its tests.
#pragma once

// Private messages of the main frame.
#define NXM_OPENFROMINSTANCE 0x07E8  // wParam: sender's process id, lParam: its file-mapping handle
#define NXM_OPENATSTART 0x07EA       // lParam: the path (alive for the program's lifetime)
#define NXM_PROGRESS 0x07EE          // status-bar progress (component frames)
#define NXM_OPENPENDING 0x07F0       // open the head of the pending list

// Resources kept in Orvane.exe (the button pictures are in OrvRes.dll).
#define IDR_CONTAINER 100      // container menu of the templates
#define IDR_WAITAVI 136        // fallback wait animation (AVI)
#define IDB_SPLASH 431
#define IDR_MAINFRAME 928      // main frame: icon, menu, title
#define IDR_FORGETYPE 929      // documents: icon, menu, document strings
#define IDR_COMPONENTMENU 930  // container menu given to component templates
// The status-bar buttons' pictures, at the numbers the component framework's status bar loads them from.
#define IDB_LAUNCHBUTTON 432
#define IDB_TABLEBUTTON 141

// Texts and dialogs in OrvRes.dll.
#define IDS_OLE_INIT_FAILED 400
#define IDS_OPEN_FAILED 402
#define IDS_ABOUT_TEXT 403
#define IDS_ITEM_EXISTS 404
#define IDS_LAUNCHBAR_CAPTION 405
#define IDD_WAIT 432
#define IDC_WAIT_TEXT 1001
#define IDC_WAIT_ANIMATION 1004
#define IDS_AUTOMATION_NAMES 438  // "<ProgID>\n<short type name>\n<long type name>"
#define IDS_ALL_SUPPORTED 931
#define IDS_ALL_FILES_FILTER 61442
#define IDS_WAIT_STARTING 61447
#define IDS_ITEM_UNAVAILABLE 61448
#define IDS_PROGRAM_FILTER 61451
#define IDS_HELP_CONTEXT_KEY 61453
#define IDS_ADD_ITEM_TITLE 61454
#define IDS_CONTACT_ADDRESS 434  // the contact page ("*" at the start: the program folder)
// The shell could not open a file with its own program ("%1": the file); 497 for errors without a text.
#define IDS_SHELL_FILE_NOT_FOUND 490
#define IDS_SHELL_PATH_NOT_FOUND 491
#define IDS_SHELL_ACCESS_DENIED 492
#define IDS_SHELL_OUT_OF_MEMORY 493
#define IDS_SHELL_NO_ASSOCIATION 494
#define IDS_SHELL_SHARING_VIOLATION 495
#define IDS_SHELL_BAD_PROGRAM 496
#define IDS_SHELL_OPEN_FAILED 497

// Window ids.
#define IDW_LAUNCHBAR 930
#define IDC_LAUNCHLIST 401

// Status panes with buttons (their commands are the panes' ids).
#define ID_PANE_SLIDETABLE 509
#define ID_PANE_LAUNCHBAR 510

// Commands of the main frame.
#define ID_VIEW_LAUNCHBAR 40009
#define ID_VIEW_SLIDETABLE 40014
#define ID_LAUNCH_ADD 40015
#define ID_LAUNCH_REMOVE 40016
#define ID_LAUNCH_LARGEICONS 43054
#define ID_LAUNCH_SMALLICONS 43055
#define ID_LAUNCH_ITEM_FIRST 42001  // launch bar items by index
#define ID_LAUNCH_ITEM_LAST 42025
#define ID_HELP_ENTRY_FIRST 42102  // Help menu entries from the registry
#define ID_HELP_ENTRY_LAST 42111
// Reserved host commands kept by the host while an embedded server's menu is merged, beside its menu's own.
#define ID_HOST_RESERVED_COMMAND 40008
#define ID_HOST_RESERVED_FIRST 40037
#define ID_HOST_RESERVED_LAST 40039
#define ID_HELP_CONTACT 42120      // the contact page in the Browser
#define ID_ITEM_REMOVE 61449       // the launch list's context menu
#define ID_ITEM_ADD 61450
#define ID_HELP_CFILE 61452        // help contexts (command id = the page's string)
#define ID_HELP_SENDQUILLO 61455
#define ID_CHILD_FIRST 65280       // descendant windows activated by id
#define ID_CHILD_LAST 65380

// Limits.
#define ORV_MAX_LAUNCH_ITEMS 25
#define ORV_MAX_HELP_ENTRIES 10
#define ORV_RECENT_FILES 10

// Registry (HKEY_CURRENT_USER).
#define ORV_REGISTRY_KEY "Nexlumen"
#define ORV_ROOT_KEY "Software\\Nexlumen\\Orvane"
#define ORV_LAUNCH_ITEMS_KEY ORV_ROOT_KEY "\\Launch Items"
#define ORV_LAUNCHBAR_PREFS_KEY ORV_ROOT_KEY "\\LaunchBar Prefs"
#define ORV_HELP_KEY ORV_ROOT_KEY "\\Help"
#define ORV_LOCATION_KEY ORV_ROOT_KEY "\\Location"
#define ORV_VERSION_KEY ORV_ROOT_KEY "\\Version"
#define ORV_COMPONENTS_KEY ORV_ROOT_KEY "\\Components"
#define ORV_WORKSPACE_KEY ORV_ROOT_KEY "\\Workspace1.0"
#define ORV_GALLERY_PREFS_KEY "Software\\Nexlumen\\Gallery\\Preferences"
#define ORV_SETTINGS_SECTION "Settings"
#define ORV_RECENT_SECTION "Recent File List"
#define ORV_RECENT_ENTRY "File%d"

// The automation object "Forge.Automation" and its dispatch ids (8 is not assigned).
#define ORV_AUTOMATION_PROGID "Forge.Automation"
#define DISPID_FORGE_OPEN 1
#define DISPID_FORGE_SLIDETABLE 2
#define DISPID_FORGE_LAUNCH 3
#define DISPID_FORGE_SETGALLERYPATH 4
#define DISPID_FORGE_LAUNCHDOCOBJECT 5
#define DISPID_FORGE_SHOWSLIDETABLE 6
#define DISPID_FORGE_DOCKSLIDETABLE 7
#define DISPID_FORGE_GETVERSIONNUMBERS 9
#define DISPID_FORGE_RUNCOMMAND 10

// The Gallery's automation ids the host calls.
#define DISPID_GALLERY_OPEN 2
#define DISPID_GALLERY_SELECTEDSLIDES 3
#define DISPID_GALLERY_SELECTNONE 12
#define DISPID_SLIDE_PATH 1

#define ORV_GALLERY_PROGID "NXComponent.Gallery.1"
#define ORV_BROWSER_PROGID "NXComponent.Browser.1"
#define ORV_ENHANCER_PROGID "NXComponent.Enhancer.1"

// HTML Help's command that shows a help file's default topic (htmlhelp.h's HH_DISPLAY_TOPIC).
#define ORV_HH_DISPLAY_TOPIC 0x0000
