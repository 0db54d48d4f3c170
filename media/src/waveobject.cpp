// cWaveObject: sounds described by their RIFF WAVE header.
#include <media/MediaHost.h>
#include <avi/wav.h>
#include <avi/error.h>
#include <cstring>
#include "thumbnail_util.h"

IMPLEMENT_SERIAL(cWaveObject, cMediaObject, 1)

cWaveObject::cWaveObject() : m_formatTag(0), m_channels(0), m_sampleFrequency(0) {}

void PASCAL cWaveObject::ParseHeader(const BYTE* data, UINT length, WAVEFORMATEX* format) {
  try {
    avi::WaveHeader header = avi::ParseWaveHeader(data, length);
    std::memset(format, 0, sizeof(*format));
    format->wFormatTag = header.format.formatTag;
    format->nChannels = header.format.channels;
    format->nSamplesPerSec = header.format.samplesPerSec;
    format->nAvgBytesPerSec = header.format.avgBytesPerSec;
    format->nBlockAlign = header.format.blockAlign;
    format->wBitsPerSample = header.format.bitsPerSample;
    format->cbSize = header.format.extraSize;
  } catch (const avi::Error&) {
    AfxThrowFileException(CFileException::generic);
  }
}

WAVEFORMATEX cWaveObject::GetHeader(LPCSTR path) {
  WAVEFORMATEX format = {};
  try {
    avi::WaveHeader header = avi::ReadWaveHeader(path);
    format.wFormatTag = header.format.formatTag;
    format.nChannels = header.format.channels;
    format.nSamplesPerSec = header.format.samplesPerSec;
    format.nAvgBytesPerSec = header.format.avgBytesPerSec;
    format.nBlockAlign = header.format.blockAlign;
    format.wBitsPerSample = header.format.bitsPerSample;
    format.cbSize = header.format.extraSize;
  } catch (const avi::Error&) {
    AfxThrowFileException(CFileException::generic, -1, path);
  }
  return format;
}

UINT cWaveObject::ReadPartialFile(LPCSTR path, BYTE* buffer, UINT length) {
  CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
  return file.Read(buffer, length);
}

CByteArray* cWaveObject::ReadFullFile(LPCSTR path) {
  CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
  CByteArray* bytes = new CByteArray;
  try {
    bytes->SetSize(file.GetLength());
    if (file.Read(bytes->GetData(), UINT(bytes->GetSize())) != UINT(bytes->GetSize()))
      AfxThrowFileException(CFileException::endOfFile, -1, path);
  } catch (...) {
    delete bytes;
    throw;
  }
  return bytes;
}

void cWaveObject::UpdateFileInfo(LPCSTR path) {
  WAVEFORMATEX format = GetHeader(path);
  m_formatTag = format.wFormatTag;
  m_channels = format.nChannels;
  m_sampleFrequency = format.nSamplesPerSec;
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  m_diskSize = GetFileAttributesExA(path, GetFileExInfoStandard, &attributes) ? long(attributes.nFileSizeLow) : 0;
  m_dataSource = DATASOURCE_FILE;
  m_fileFormat = FILEFORMAT_WAVE;
}

CBitmap* cWaveObject::CreateThumbnail(CDC* dc, int boxWidth, int boxHeight, int, BOOL) {
  return GetDefaultThumbnail(dc, boxWidth, boxHeight, FALSE);
}

CBitmap* cWaveObject::GetDefaultThumbnail(CDC* dc, int boxWidth, int boxHeight, BOOL force) {
  return nxmedia::ModuleHost().DefaultThumbnail(DATATYPE_SOUND, dc, boxWidth, boxHeight, force);
}

void cWaveObject::ShowProperties() { nxmedia::ModuleHost().ShowProperties(*this); }

CString PASCAL cWaveObject::GetExtension(FileFormat format) {
  if (format != FILEFORMAT_WAVE) return CString();
  return "." + nxmedia::ModuleHost().SoundExtension();
}

FileFormat PASCAL cWaveObject::DetermineFileFormat(LPCSTR name) {
  CString text(name ? name : "");
  int dot = text.ReverseFind('.');
  if (dot < 0 || dot == text.GetLength() - 1) return FILEFORMAT_UNKNOWN;
  CString extension = text.Mid(dot);
  extension.MakeLower();
  return extension == GetExtension(FILEFORMAT_WAVE) ? FILEFORMAT_WAVE : FILEFORMAT_UNKNOWN;
}

BOOL PASCAL cWaveObject::IsSupportedFileExtension(LPCSTR name) {
  return DetermineFileFormat(name) != FILEFORMAT_UNKNOWN;
}
