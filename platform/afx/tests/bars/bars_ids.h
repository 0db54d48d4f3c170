// Resource and command numbers of the framework's bar, printing and help tests (test application, not product).
#pragma once
#define IDR_MAINFRAME 200
#define IDR_PAGESTYPE 201
#define IDR_TOOLS1 210
#define IDR_TOOLS2 211
#define IDR_TOOLS3 212
#define IDR_DOCKFRAME 213

// Bars (control ids in the frame's bar range).
#define IDW_TOOLS1 0xE840
#define IDW_TOOLS2 0xE841
#define IDW_TOOLS3 0xE842

// Commands of the tool bars and the status bar's own pane.
#define ID_TOOL_RED 32900
#define ID_TOOL_BLUE 32901
#define ID_TOOL_GREEN 32902
#define ID_TOOL_PURPLE 32903
#define ID_TOOL_ORANGE 32904
#define ID_TOOL_TEAL 32905
#define ID_TOOL_GREY 32906
#define ID_TOOL_PINK 32907
#define ID_TOOL_NAVY 32908
#define ID_INDICATOR_PAGES 32910

// The custom print template, in the test resource library (the number a caller's library uses).
#define IDD_PRINT_OPTIONS 318
#define IDC_ONE_PER_PAGE 1200
#define IDC_SHOW_NAME 1201
#define IDC_SIZE_LIST 1202
