// The outbox: saving the card to a file.
#include "Outbox.h"

#include <afxdlgs.h>

#include <safefile/safefile.h>

#include "Attachments.h"
#include "CardDialog.h"
#include "Preferences.h"
#include "QuilloSettings.h"
#include "SendProgress.h"
#include "quillo/CardPackage.h"
#include "quillo/QuilloIds.h"

namespace quillo {

namespace {

CString ProgramFolder() {
  char path[MAX_PATH] = "";
  const DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
  const CString program = (n > 0 && n < MAX_PATH) ? CString(path) : CString();
  return program.Left(program.ReverseFind('\\'));
}

int FileNameStart(const CString& path) { return path.ReverseFind('\\') + 1; }

}  // namespace

CString OutboxFolder() { return ProgramFolder() + "\\" + kOutboxFolder; }

CString BaseNameOf(const CString& path) {
  const CString name = path.Mid(FileNameStart(path));
  const int dot = name.ReverseFind('.');
  return dot >= 0 ? name.Left(dot) : name;
}

CString WithExtension(const CString& path, LPCSTR extension) {
  const int start = FileNameStart(path);
  const int dot = path.ReverseFind('.');
  return (dot >= start ? path.Left(dot) : path) + extension;
}

int CountFolderEntries(LPCSTR folder, int atMost) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(CString(folder) + "\\*.*", &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    if (lstrcmpA(found.cFileName, ".") != 0 && lstrcmpA(found.cFileName, "..") != 0) ++count;
  } while (count < atMost && FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

}  // namespace quillo

namespace {

void ShowMessage(UINT textId, LPCSTR insert, UINT icon = MB_ICONEXCLAMATION) {
  CString text;
  AfxFormatString1(text, textId, insert);
  AfxMessageBox(text, MB_OK | icon);
}

// Copies source over target through a temporary file beside it; false when the target is not replaced.
BOOL CopyOver(const std::string& source, const CString& target) {
  safefile::PendingFile pending{std::string(LPCSTR(target))};
  if (!pending.Close()) return FALSE;
  if (!CopyFileA(source.c_str(), pending.temporary().c_str(), FALSE)) return FALSE;
  return pending.Commit() ? TRUE : FALSE;
}

}  // namespace

BOOL SaveCardToFile(cCardDialog& card, BOOL asPackage, cSendProgress* progress) {
  CWaitCursor wait;
  const CString outbox = quillo::OutboxFolder();
  CreateDirectoryA(outbox, NULL);
  if (progress) progress->SetStage(cSendProgress::kBuilding);
  const std::string built = asPackage ? BuildPackageAttachment(card) : BuildPictureAttachment(card);
  if (built.empty()) return FALSE;  // the builder told the user why

  if (progress) progress->SetStage(cSendProgress::kSaving);
  const LPCSTR extension = asPackage ? quillo::kPackageExtension : quillo::kPictureExtension;
  const CString media = card.GetMediaPath().IsEmpty() ? card.GetVideoPath() : card.GetMediaPath();
  const CString firstFolder = card.GetSaveFolder().IsEmpty() ? outbox : card.GetSaveFolder();
  CString filter, title;
  filter.LoadString(asPackage ? IDS_SAVE_FILTER_PACKAGE : IDS_SAVE_FILTER_PICTURE);
  title.LoadString(IDS_SAVE_TITLE);
  CFileDialog dialog(FALSE, NULL, quillo::BaseNameOf(media) + extension, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     filter, &card);
  dialog.m_ofn.lpstrInitialDir = firstFolder;
  dialog.m_ofn.lpstrTitle = title;
  if (dialog.DoModal() != IDOK) {
    DeleteFileA(built.c_str());
    return FALSE;
  }
  const CString chosen = dialog.GetPathName();
  card.SetSaveFolder(chosen.Left(chosen.ReverseFind('\\')));
  const CString target = quillo::WithExtension(chosen, extension);
  if (!CopyOver(built, target)) {
    DeleteFileA(built.c_str());
    ShowMessage(IDS_SAVE_FAILED, target);
    return FALSE;
  }
  if (cPreferences::WarnOutboxFull()) {
    // The folder the dialog opened in is the outbox the user keeps cards in.
    const int limit = cPreferences::OutboxLimit();
    if (quillo::CountFolderEntries(firstFolder, limit + 1) > limit) ShowMessage(IDS_OUTBOX_FULL, firstFolder,
                                                                                 MB_ICONINFORMATION);
  }
  card.SetSavedPath(target);
  DeleteFileA(built.c_str());
  return TRUE;
}
