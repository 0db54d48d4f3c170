// NXMedia's host of the media core: imagio for picture files and types, NXMisc for exceptions, lists and
// temporary files, NXMediaRes.dll for texts and default thumbnails, and NXMedia's info dialogs.
#pragma once
#include <media/MediaHost.h>

class NXMediaHost : public nxmedia::MediaHost {
 public:
  std::unique_ptr<nxmedia::PictureFile> NewPictureFile() override;
  CString PictureTypeExtensions(uint32_t type) override;
  CString CombinedOpenFilter() override;
  FileFormat DeterminePictureFormat(LPCSTR name) override;
  CString UntitledName() override;
  CString VideoExtension(int entry) override;
  CString SoundExtension() override;
  CBitmap* DefaultThumbnail(DataType kind, CDC* dc, int boxWidth, int boxHeight, BOOL force) override;
  void ShowProperties(cImageObject& object) override;  // media/src/infodialogs.cpp, with the dialogs
  void ShowProperties(cVideoObject& object) override;
  void ShowProperties(cWaveObject& object) override;
  int SendPostcard(cMediaObject& object) override;
  CString NewTemporaryFile(LPCSTR extension) override;

 protected:
  void RaiseError(int type) override;
  void RaiseImagingError(int nxError) override;
  void RaiseFileInfoError(LPCSTR path) override;
};
