// Resource numbers of the framework's own texts (resources/afx/orvafx.rc, linked into orvafx.dll).
#pragma once

#define AFX_IDS_APP_TITLE 0xE000
#define AFX_IDP_NO_ERROR_AVAILABLE 0xF020
#define AFX_IDS_NOT_SUPPORTED_EXCEPTION 0xF021
#define AFX_IDS_RESOURCE_EXCEPTION 0xF022
#define AFX_IDS_MEMORY_EXCEPTION 0xF023
#define AFX_IDS_USER_EXCEPTION 0xF024
#define AFX_IDP_INTERNAL_FAILURE 0xF025

// File exceptions, one per CFileException cause, with the file name as %1.
#define AFX_IDP_FILE_NONE 0xF040
#define AFX_IDP_FILE_GENERIC 0xF041
#define AFX_IDP_FILE_NOT_FOUND 0xF042
#define AFX_IDP_FILE_BAD_PATH 0xF043
#define AFX_IDP_FILE_TOO_MANY_OPEN 0xF044
#define AFX_IDP_FILE_ACCESS_DENIED 0xF045
#define AFX_IDP_FILE_INVALID_FILE 0xF046
#define AFX_IDP_FILE_REMOVE_CURRENT 0xF047
#define AFX_IDP_FILE_DIR_FULL 0xF048
#define AFX_IDP_FILE_BAD_SEEK 0xF049
#define AFX_IDP_FILE_HARD_IO 0xF04A
#define AFX_IDP_FILE_SHARING 0xF04B
#define AFX_IDP_FILE_LOCKING 0xF04C
#define AFX_IDP_FILE_DISKFULL 0xF04D
#define AFX_IDP_FILE_EOF 0xF04E

// Archive exceptions, one per CArchiveException cause, with the file name as %1.
#define AFX_IDP_ARCH_NONE 0xF060
#define AFX_IDP_ARCH_GENERIC 0xF061
#define AFX_IDP_ARCH_READONLY 0xF062
#define AFX_IDP_ARCH_ENDOFFILE 0xF063
#define AFX_IDP_ARCH_WRITEONLY 0xF064
#define AFX_IDP_ARCH_BADINDEX 0xF065
#define AFX_IDP_ARCH_BADCLASS 0xF066
#define AFX_IDP_ARCH_BADSCHEMA 0xF067

// Mail hand-off prompts (the framework's numbers, shown by the mail helpers).
#define AFX_IDP_FAILED_MAPI_LOAD 0xF190
#define AFX_IDP_INVALID_MAPI_DLL 0xF191
#define AFX_IDP_FAILED_MAPI_SEND 0xF192

// Framework texts of the window layer.
#define AFX_IDS_IDLEMESSAGE 0xE001
#define AFX_IDS_UNTITLED 0xE002
#define AFX_IDS_ALLFILTER 0xE003
#define AFX_IDS_OPENFILE 0xE004
#define AFX_IDS_SAVEFILE 0xE005
#define AFX_IDS_SAVEFILECOPY 0xE006
#define AFX_IDP_ASK_TO_SAVE 0xF080      // %1: the document's title
#define AFX_IDP_FAILED_TO_OPEN_DOC 0xF081
#define AFX_IDP_FAILED_TO_SAVE_DOC 0xF082
#define AFX_IDP_FAILED_TO_CREATE_DOC 0xF083
#define AFX_IDP_PARSE_INT 0xF084
#define AFX_IDP_PARSE_REAL 0xF085
#define AFX_IDP_PARSE_INT_RANGE 0xF086  // %1, %2: the limits
#define AFX_IDP_PARSE_REAL_RANGE 0xF087
#define AFX_IDP_PARSE_STRING_SIZE 0xF088 // %1: the maximum
#define AFX_IDP_PARSE_UINT 0xF089
#define AFX_IDD_NEWTYPEDLG 30721
#define AFX_IDC_LISTBOX 100

// Standard commands.
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_CLOSE 0xE102
#define ID_FILE_SAVE 0xE103
#define ID_FILE_SAVE_AS 0xE104
#define ID_EDIT_CLEAR 0xE120
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_SELECT_ALL 0xE12A
#define ID_EDIT_UNDO 0xE12B
#define ID_WINDOW_NEW 0xE130
#define ID_WINDOW_ARRANGE 0xE131
#define ID_WINDOW_CASCADE 0xE132
#define ID_WINDOW_TILE_HORZ 0xE133
#define ID_WINDOW_TILE_VERT 0xE134
#define ID_WINDOW_SPLIT 0xE135
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
#define ID_HELP_FINDER 0xE143
#define ID_CONTEXT_HELP 0xE145
#define ID_HELP 0xE146
#define ID_DEFAULT_HELP 0xE147
#define ID_NEXT_PANE 0xE150
#define ID_PREV_PANE 0xE151
#define ID_VIEW_TOOLBAR 0xE800
#define ID_VIEW_STATUS_BAR 0xE801

// Child window ids of frames.
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_DOCKBAR_TOP 0xE81B
#define AFX_IDW_DOCKBAR_LEFT 0xE81C
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E
#define AFX_IDW_CONTROLBAR_FIRST 0xE800
#define AFX_IDW_CONTROLBAR_LAST 0xE8FF
#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_PANE_LAST 0xE9FF
#define AFX_IDM_FIRST_MDICHILD 0xFF00

// Window messages of the framework.
#define WM_QUERYAFXWNDPROC 0x0360
#define WM_SIZEPARENT 0x0361        // lParam: AFX_SIZEPARENTPARAMS*
#define WM_SETMESSAGESTRING 0x0362  // wParam: prompt id, or lParam: text
#define WM_IDLEUPDATECMDUI 0x0363   // wParam: disable items without handlers
#define WM_INITIALUPDATE 0x0364
#define WM_RECALCPARENT 0x0368
#define WM_KICKIDLE 0x036A          // to a window in RunModalLoop: wParam MSGF_DIALOGBOX, lParam the idle count

// RunModalLoop flags.
#define MLF_NOIDLEMSG 0x0001   // no WM_ENTERIDLE to the owner
#define MLF_NOKICKIDLE 0x0002  // no WM_KICKIDLE to the window
#define MLF_SHOWONIDLE 0x0004  // show the window at the first idle moment

// ---------------------------------------------------------------------------------------------
// Control bars, printing and preview, recent files, help.

#define ID_SEPARATOR 0  // a status bar's message pane; a tool bar's gap
#define ID_FILE_PAGE_SETUP 0xE105
#define ID_FILE_PRINT_SETUP 0xE106
#define ID_FILE_PRINT 0xE107
#define ID_FILE_PRINT_DIRECT 0xE108  // print on the current printer without the print dialog
#define ID_FILE_PRINT_PREVIEW 0xE109
#define ID_FILE_MRU_FILE1 0xE110  // the recent-file list's items, 16 at most
#define ID_FILE_MRU_FILE2 0xE111
#define ID_FILE_MRU_FILE3 0xE112
#define ID_FILE_MRU_FILE4 0xE113
#define ID_FILE_MRU_FILE5 0xE114
#define ID_FILE_MRU_FILE6 0xE115
#define ID_FILE_MRU_FILE7 0xE116
#define ID_FILE_MRU_FILE8 0xE117
#define ID_FILE_MRU_FILE9 0xE118
#define ID_FILE_MRU_FILE10 0xE119
#define ID_FILE_MRU_FILE11 0xE11A
#define ID_FILE_MRU_FILE12 0xE11B
#define ID_FILE_MRU_FILE13 0xE11C
#define ID_FILE_MRU_FILE14 0xE11D
#define ID_FILE_MRU_FILE15 0xE11E
#define ID_FILE_MRU_FILE16 0xE11F
#define ID_HELP_INDEX 0xE142
#define ID_HELP_USING 0xE144

// Status bar indicators (their strings are the texts shown while the key is on).
#define ID_INDICATOR_EXT 0xE700
#define ID_INDICATOR_CAPS 0xE701
#define ID_INDICATOR_NUM 0xE702
#define ID_INDICATOR_SCRL 0xE703
#define ID_INDICATOR_OVR 0xE704
#define ID_INDICATOR_REC 0xE705

// Commands of the print preview's dialog bar.
#define AFX_ID_PREVIEW_CLOSE 0xE300
#define AFX_ID_PREVIEW_NUMPAGE 0xE301  // one page / two pages
#define AFX_ID_PREVIEW_NEXT 0xE302
#define AFX_ID_PREVIEW_PREV 0xE303
#define AFX_ID_PREVIEW_PRINT 0xE304
#define AFX_ID_PREVIEW_ZOOMIN 0xE305
#define AFX_ID_PREVIEW_ZOOMOUT 0xE306

// Bar styles (CControlBar::m_dwStyle): sides a bar may dock on or is docked on, borders, tool tips and
// fly-by prompts, and how it sizes.
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L        // the command's prompt on the message bar while the pointer is over it
#define CBRS_FLOAT_MULTI 0x0040L  // may share a floating frame with other bars
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Child windows of frames.
#define AFX_IDW_PREVIEW_BAR 0xE802
#define AFX_IDW_DOCKBAR_FLOAT 0xE81F  // the dock bar inside a floating frame
#define AFX_IDW_PANE_SAVE 0xEA21      // the pane's id while print preview takes its place

// Texts.
#define AFX_IDS_ONEPAGE 0xE010
#define AFX_IDS_TWOPAGE 0xE011
#define AFX_IDS_PRINTPAGENUM 0xE012     // %u: the page being printed
#define AFX_IDS_PREVIEWPAGEDESC 0xE013  // "one page\npages from-to\n", with %u
#define AFX_IDS_PRINTONPORT 0xE014      // %1: the port
#define AFX_IDS_PRINTTOFILE 0xE015      // %1: the file
#define AFX_IDS_PRINTFILTER 0xE016
#define AFX_IDS_PRINTCAPTION 0xE017
#define AFX_IDS_PRINTDEFAULTEXT 0xE018
#define AFX_IDS_PRINTDEFAULT 0xE019
#define AFX_IDP_FAILED_TO_START_PRINT 0xF0A0
#define AFX_IDP_FAILED_TO_PRINT 0xF0A1  // a job that failed after it had started
#define AFX_IDP_FAILED_TO_LAUNCH_HELP 0xF0A2
#define AFX_IDP_NO_PRINTER 0xF0A3

// Dialogs: the printing progress (with Cancel) and the print preview's dialog bar.
#define AFX_IDD_PRINTDLG 0xF800
#define AFX_IDD_PREVIEW_TOOLBAR 0xF801
#define AFX_IDC_PRINT_DOCNAME 100
#define AFX_IDC_PRINT_PRINTERNAME 101
#define AFX_IDC_PRINT_PORTNAME 102
#define AFX_IDC_PRINT_PAGENUM 103
