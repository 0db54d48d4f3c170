// cQuilloApp: start-up and shutdown of the postcard program.
#include "QuilloApp.h"

#include <commctrl.h>

#include <media/AVIFile.h>

#include "CardDialog.h"
#include "CommandLine.h"
#include "MediaEditor.h"
#include "QuilloSettings.h"
#include "quillo/QuilloIds.h"

namespace {

CString ProgramPath() {
  char path[MAX_PATH] = "";
  const DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
  return (n > 0 && n < MAX_PATH) ? CString(path) : CString();
}

// Replaces the application object's name (kept in the framework's own allocation).
void SetAppName(CWinApp& app, LPCSTR name) {
  free(const_cast<LPSTR>(app.m_pszAppName));
  app.m_pszAppName = _strdup(name);
}

}  // namespace

cQuilloApp::cQuilloApp() : m_hResources(NULL) {}

BOOL cQuilloApp::InitInstance() {
  // 1. The resource library beside the program becomes the resource source.
  const CString program = ProgramPath();
  const CString folder = program.Left(program.ReverseFind('\\') + 1);
  m_hResources = LoadLibraryA(folder + quillo::kResourceLibrary);
  if (!m_hResources) {
    ::MessageBoxA(NULL, quillo::kResourceLibraryMissing, m_pszExeName, MB_OK | MB_ICONSTOP);
    return FALSE;
  }
  AfxSetResourceHandle(m_hResources);
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  // 2. The profile lives under Software\Nexlumen\<program name>; the windows then carry the title.
  SetRegistryKey(quillo::kRegistryKey);
  CString title;
  if (title.LoadString(IDS_APP_TITLE)) SetAppName(*this, title);

  // 3. The command line.
  cQuilloCommandLine commandLine;
  ParseCommandLine(commandLine);

  // 4. The video library.
  cAVIFile::Initialize();

  // 5. The card's media, picture and video, must open.
  for (const CString& media : {commandLine.MediaPath(), commandLine.VideoPath()}) {
    if (!media.IsEmpty() && !cMediaEditor::CanOpen(media)) {
      CString text;
      AfxFormatString1(text, IDS_CANNOT_OPEN_FILE, media);
      AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
      return FALSE;
    }
  }

  // 6. The card window; the program ends when it closes.
  cCardDialog card(commandLine.MediaPath(), commandLine.VideoPath(), commandLine.SoundPath(),
                   commandLine.m_bShowSplash);
  m_pMainWnd = &card;
  card.DoModal();
  m_pMainWnd = NULL;
  return FALSE;
}

void cQuilloApp::RecordLocation() {
  const CString program = ProgramPath();
  char shortPath[MAX_PATH] = "";
  const DWORD n = GetShortPathNameA(program, shortPath, MAX_PATH);
  const CString path = (n > 0 && n < MAX_PATH) ? CString(shortPath) : program;
  WritePrivateProfileStringA(m_pszExeName, quillo::kPathValue, path, quillo::kSharedProfileFile);
  WriteProfileString(quillo::kLocationSection, quillo::kPathValue, path);
}

int cQuilloApp::ExitInstance() {
  if (m_hResources) {
    RecordLocation();
    AfxSetResourceHandle(AfxGetInstanceHandle());
    FreeLibrary(m_hResources);
    m_hResources = NULL;
  }
  cAVIFile::Terminate();
  return CWinApp::ExitInstance();
}
