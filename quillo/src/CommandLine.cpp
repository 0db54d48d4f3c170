// cQuilloCommandLine: the switches and files of the postcard program's command line.
#include "CommandLine.h"

#include "QuilloSettings.h"
#include "quillo/CardPackage.h"

void cQuilloCommandLine::ParseParam(LPCSTR param, BOOL flag, BOOL) {
  if (m_bSoundNext) {
    m_sound = param;
    m_bSoundNext = FALSE;
    return;
  }
  if (flag) {
    if (lstrcmpiA(param, quillo::kNoSplashSwitch) == 0)
      m_bShowSplash = FALSE;
    else if (lstrcmpiA(param, quillo::kSoundSwitch) == 0)
      m_bSoundNext = TRUE;
    return;
  }
  m_files.Add(param);
}

CString cQuilloCommandLine::MediaPath() const {
  if (m_files.GetSize() == 0) return CString();
  const CString& first = m_files[0];
  return quillo::IsVideoFile(LPCSTR(first)) ? CString() : first;
}

CString cQuilloCommandLine::VideoPath() const {
  const int count = int(m_files.GetSize());
  if (count >= 2 && quillo::IsVideoFile(LPCSTR(m_files[count - 1]))) return m_files[count - 1];
  if (count >= 1 && quillo::IsVideoFile(LPCSTR(m_files[0]))) return m_files[0];
  return CString();
}
