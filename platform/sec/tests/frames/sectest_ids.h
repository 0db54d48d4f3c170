// Resource and command ids of the extension library's frame and docking tests (test code, not product).
#pragma once

#define IDR_MAINFRAME 128
#define IDR_NOTETYPE 129
#define IDR_SKETCHTYPE 130
#define IDB_LAUNCHBUTTON 131
#define IDB_TABLEBUTTON 132

#define IDW_LAUNCHBAR 930
#define IDW_URLBAR 330
#define IDC_URLCOMBO 32780

// The status panes with buttons and the commands the buttons send (the host's numbers).
#define ID_PANE_TABLE 509
#define ID_PANE_LAUNCH 510

#define ID_TEST_WHO 41001        // answered by the active view: which document it shows
#define ID_VIEW_LAUNCHBAR 41002  // shows or hides the launch bar

