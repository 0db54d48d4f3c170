// Command ids, notification codes, private messages and window ids of the framework extension library.
// The library's own numbers lie in 44000-44999; the workbook command keeps the number hosts put in their
// menus.
#pragma once

// Switches the workbook mode of an SECWorkbook (tabs for the MDI children).
#define ID_WORKBOOK_MODE 40003

// Notification codes an SECCustomToolBar sends with its registered message (WM_SECTOOLBARWNDNOTIFY) for the
// controls it holds, besides the controls' own codes (CBN_*, EN_*, BN_*): Enter and Escape typed in them.
#define SECTBN_RETURN 513
#define SECTBN_ESCAPE 514

// Ids of the bars made for docked views (SECDockableFrame), given out in turn.
#define SEC_IDW_DOCKVIEW_FIRST 44800
#define SEC_IDW_DOCKVIEW_LAST 44999

// The workbook's tab strip, a child of the frame beside the MDI client.
#define SEC_IDW_WORKBOOK_TABS 44001

// Private messages (WM_USER range of the library's own windows).
#define SECM_DESTROYIFEMPTY (WM_USER + 0x0301)   // a bar whose docked view went destroys itself
#define SECM_REPOSITIONPANES (WM_USER + 0x0302)  // a status bar puts its pane controls in place
