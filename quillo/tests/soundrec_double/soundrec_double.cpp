// The sound recorder's test double (test code): a COM local server with one embeddable object (IOleObject,
// IDataObject, IPersistStorage) under the recorder's class id. Started by COM with -Embedding; it ends when its
// last object is released.
#include <windows.h>
#include <ole2.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "soundrec_double.h"

namespace {

const CLSID kRecorderClass = {0x00020C01, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const wchar_t kStreamName[] = L"WAVE";
const DWORD kIdleExitMs = 30000;  // started but never given an object: end anyway
const double kTone = 440.0;
const double kPi = 3.14159265358979323846;

LONG g_objects = 0;
LONG g_locks = 0;
bool g_created = false;

void Log(const std::string& key, const std::string& value) {
  char path[MAX_PATH] = "";
  if (!GetEnvironmentVariableA(soundrecdouble::kLogVariable, path, MAX_PATH)) return;
  if (std::FILE* out = std::fopen(path, "a")) {
    std::fprintf(out, "%s=%s\n", key.c_str(), value.c_str());
    std::fclose(out);
  }
}

std::string Narrow(LPCOLESTR text) {
  if (!text) return "(null)";
  char buffer[512] = "";
  WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, NULL, NULL);
  return buffer;
}

std::string DefaultFormat() {
  char value[256] = "";
  DWORD size = sizeof value - 1;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Multimedia\\Audio", 0, KEY_READ, &key) != 0)
    return "(none)";
  const LONG found = RegQueryValueExA(key, "DefaultFormat", NULL, NULL, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  return found == 0 ? value : "(none)";
}

void MaybeQuit() {
  if (g_created && g_objects == 0 && g_locks == 0) PostQuitMessage(0);
}

void Put16(std::vector<BYTE>& out, unsigned v) {
  out.push_back(BYTE(v));
  out.push_back(BYTE(v >> 8));
}
void Put32(std::vector<BYTE>& out, unsigned v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// The fixed recording: a RIFF WAVE file image.
std::vector<BYTE> Recording() {
  std::vector<BYTE> wav;
  const char* tags[] = {"RIFF", "WAVE", "fmt ", "data"};
  wav.insert(wav.end(), tags[0], tags[0] + 4);
  Put32(wav, 36 + soundrecdouble::kSamples);
  wav.insert(wav.end(), tags[1], tags[1] + 4);
  wav.insert(wav.end(), tags[2], tags[2] + 4);
  Put32(wav, 16);
  Put16(wav, WAVE_FORMAT_PCM);
  Put16(wav, 1);
  Put32(wav, soundrecdouble::kSampleRate);
  Put32(wav, soundrecdouble::kSampleRate);
  Put16(wav, 1);
  Put16(wav, 8);
  wav.insert(wav.end(), tags[3], tags[3] + 4);
  Put32(wav, soundrecdouble::kSamples);
  for (unsigned i = 0; i < soundrecdouble::kSamples; ++i)
    wav.push_back(BYTE(128 + 100 * std::sin(2 * kPi * kTone * i / soundrecdouble::kSampleRate)));
  return wav;
}

class Recorder : public IOleObject, public IDataObject, public IPersistStorage {
 public:
  Recorder() { InterlockedIncrement(&g_objects); }
  virtual ~Recorder() {
    if (m_site) m_site->Release();
    if (m_oleAdvise) m_oleAdvise->Release();
    if (m_dataAdvise) m_dataAdvise->Release();
    if (m_window) DestroyWindow(m_window);
    InterlockedDecrement(&g_objects);
    MaybeQuit();
  }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleObject)
      *out = static_cast<IOleObject*>(this);
    else if (iid == IID_IDataObject)
      *out = static_cast<IDataObject*>(this);
    else if (iid == IID_IPersistStorage || iid == IID_IPersist)
      *out = static_cast<IPersistStorage*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return left;
  }

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override {
    if (site) site->AddRef();
    if (m_site) m_site->Release();
    m_site = site;
    return S_OK;
  }
  STDMETHODIMP GetClientSite(IOleClientSite** site) override {
    if (!site) return E_POINTER;
    *site = m_site;
    if (m_site) m_site->AddRef();
    return S_OK;
  }
  STDMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR object) override {
    m_host = Narrow(app);
    Log("hostapp", m_host);
    Log("hostobject", Narrow(object));
    return S_OK;
  }
  STDMETHODIMP Close(DWORD option) override {
    Finish(option != OLECLOSE_NOSAVE);
    return S_OK;
  }
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) override {
    Log("verb", std::to_string(verb));
    Log("defaultformat", DefaultFormat());
    if (site && !m_site) SetClientSite(site);
    if (!m_window) {
      m_window = CreateWindowExA(0, soundrecdouble::kWindowClass, ("Sound in " + m_host).c_str(),
                                 WS_OVERLAPPEDWINDOW, 60, 60, 260, 120, NULL, NULL, GetModuleHandleA(NULL), this);
    }
    ShowWindow(m_window, SW_SHOW);
    m_recording = Recording();  // what the user "records" while the window is open
    m_dirty = true;
    if (m_site) {
      m_site->ShowObject();
      m_site->OnShowWindow(TRUE);
    }
    return S_OK;
  }
  STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return OLE_S_USEREG; }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* id) override {
    if (!id) return E_POINTER;
    *id = kRecorderClass;
    return S_OK;
  }
  STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return OLE_S_USEREG; }
  STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
  STDMETHODIMP GetExtent(DWORD, SIZEL* size) override {
    if (!size) return E_POINTER;
    size->cx = size->cy = 1000;
    return S_OK;
  }
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override {
    if (!m_oleAdvise && FAILED(CreateOleAdviseHolder(&m_oleAdvise))) return E_OUTOFMEMORY;
    return m_oleAdvise->Advise(sink, connection);
  }
  STDMETHODIMP Unadvise(DWORD connection) override {
    return m_oleAdvise ? m_oleAdvise->Unadvise(connection) : OLE_E_NOCONNECTION;
  }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** e) override {
    return m_oleAdvise ? m_oleAdvise->EnumAdvise(e) : E_FAIL;
  }
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
    if (!status) return E_POINTER;
    *status = 0;
    return S_OK;
  }
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IDataObject
  STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!format || !medium) return E_POINTER;
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    if (m_recording.empty()) return OLE_E_BLANK;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, m_recording.size());
    if (!memory) return E_OUTOFMEMORY;
    std::memcpy(GlobalLock(memory), m_recording.data(), m_recording.size());
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    Log("data", std::to_string(m_recording.size()));
    return S_OK;
  }
  STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  STDMETHODIMP QueryGetData(FORMATETC* format) override {
    if (!format) return E_POINTER;
    return format->cfFormat == CF_WAVE && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
  }
  STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return OLE_S_USEREG; }
  STDMETHODIMP DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override {
    if (!m_dataAdvise && FAILED(CreateDataAdviseHolder(&m_dataAdvise))) return E_OUTOFMEMORY;
    return m_dataAdvise->Advise(static_cast<IDataObject*>(this), format, flags, sink, connection);
  }
  STDMETHODIMP DUnadvise(DWORD connection) override {
    return m_dataAdvise ? m_dataAdvise->Unadvise(connection) : OLE_E_NOCONNECTION;
  }
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA** e) override {
    return m_dataAdvise ? m_dataAdvise->EnumAdvise(e) : E_FAIL;
  }

  // IPersistStorage
  STDMETHODIMP GetClassID(CLSID* id) override { return GetUserClassID(id); }
  STDMETHODIMP IsDirty() override { return m_dirty ? S_OK : S_FALSE; }
  STDMETHODIMP InitNew(IStorage*) override { return S_OK; }
  STDMETHODIMP Load(IStorage* storage) override {
    IStream* stream = nullptr;
    if (FAILED(storage->OpenStream(kStreamName, NULL, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream))) return S_OK;
    STATSTG stat = {};
    stream->Stat(&stat, STATFLAG_NONAME);
    m_recording.resize(size_t(stat.cbSize.QuadPart));
    ULONG read = 0;
    stream->Read(m_recording.data(), ULONG(m_recording.size()), &read);
    m_recording.resize(read);
    stream->Release();
    return S_OK;
  }
  STDMETHODIMP Save(IStorage* storage, BOOL) override {
    IStream* stream = nullptr;
    HRESULT hr = storage->CreateStream(kStreamName, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &stream);
    if (FAILED(hr)) return hr;
    ULONG written = 0;
    hr = stream->Write(m_recording.data(), ULONG(m_recording.size()), &written);
    stream->Release();
    return hr;
  }
  STDMETHODIMP SaveCompleted(IStorage*) override {
    m_dirty = false;
    if (m_oleAdvise) m_oleAdvise->SendOnSave();
    return S_OK;
  }
  STDMETHODIMP HandsOffStorage() override { return S_OK; }

  // The user closed the window, or the container closes the object: as the recorder does, the sound is saved
  // through the site, the window goes and the sinks hear of it.
  void Finish(bool save) {
    if (m_finishing) return;
    m_finishing = true;
    AddRef();
    if (m_site && save && m_dirty) m_site->SaveObject();
    if (m_window) ShowWindow(m_window, SW_HIDE);
    if (m_site) m_site->OnShowWindow(FALSE);
    if (m_oleAdvise) m_oleAdvise->SendOnClose();
    CoDisconnectObject(static_cast<IOleObject*>(this), 0);
    m_finishing = false;
    Release();
  }

 private:
  LONG m_refs = 1;
  IOleClientSite* m_site = nullptr;
  IOleAdviseHolder* m_oleAdvise = nullptr;
  IDataAdviseHolder* m_dataAdvise = nullptr;
  HWND m_window = NULL;
  std::string m_host = "(none)";
  std::vector<BYTE> m_recording;
  bool m_dirty = false;
  bool m_finishing = false;
};

LRESULT CALLBACK WindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrA(wnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  Recorder* recorder = reinterpret_cast<Recorder*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (message == WM_CLOSE && recorder) {
    recorder->Finish(true);
    return 0;
  }
  return DefWindowProcA(wnd, message, wParam, lParam);
}

class Factory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = (iid == IID_IUnknown || iid == IID_IClassFactory) ? static_cast<IClassFactory*>(this) : nullptr;
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    Recorder* recorder = new Recorder;
    g_created = true;
    const HRESULT hr = recorder->QueryInterface(iid, out);
    recorder->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock)
      InterlockedIncrement(&g_locks);
    else if (InterlockedDecrement(&g_locks) == 0)
      MaybeQuit();
    return S_OK;
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (FAILED(OleInitialize(NULL))) return 1;
  WNDCLASSA window = {};
  window.lpfnWndProc = WindowProc;
  window.hInstance = instance;
  window.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window.hCursor = LoadCursor(NULL, IDC_ARROW);
  window.lpszClassName = soundrecdouble::kWindowClass;
  RegisterClassA(&window);
  static Factory factory;
  DWORD cookie = 0;
  if (FAILED(CoRegisterClassObject(kRecorderClass, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie))) {
    OleUninitialize();
    return 2;
  }
  const UINT_PTR idle = SetTimer(NULL, 0, kIdleExitMs, NULL);
  MSG msg;
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.wParam == idle && !g_created) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  CoRevokeClassObject(cookie);
  OleUninitialize();
  return 0;
}
