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
