// The shell formats a drag out of the slide table offers: the file list (CF_HDROP) and the shell's ID list
// array ("Shell IDList Array") of files in one folder. cSlideTableView's drag source caches both. Also what
// links dropped on the table or handed to its automation interface name, and the shell copy into a folder.
#pragma once
#include <vector>

#include "afxwin.h"

// A DROPFILES block (list at offset 20, point 0, not wide) of the paths, each ending in a zero, and one more
// zero; movable global memory shared for DDE, owned by the caller. Null when memory runs out.
HGLOBAL MakeDropFiles(const std::vector<CString>& paths);
// A CIDA of folder's absolute ID list and the files' ID lists relative to it (names of files in folder);
// movable global memory owned by the caller. Null when the shell cannot name the folder or a file.
HGLOBAL MakeShellIdList(LPCSTR folder, const std::vector<CString>& names);

// The local file a link names: in the lower-cased text, what follows "file:///" when it holds one, else the
// cached copy Url2Path finds (only for "http://" links when httpOnly); empty when neither.
CString LocalPathOfLink(LPCSTR link, BOOL httpOnly);
// Copies (FO_COPY) or moves (FO_MOVE) the files of from (paths separated by zeros) into folder with the shell,
// renaming on collision, without asking; SHFileOperation's result (0 when done).
int ShellCopyInto(HWND owner, UINT operation, const std::vector<char>& from, LPCSTR folder);
