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
