// The context-menu extension object: the shell initialises it with the selection, asks it for its menu
// command and invokes that command, which starts the host once for every supported selected item.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include "orvaneext/ExtensionList.h"

class cForgeExt : public IContextMenu, public IShellExtInit {
 public:
  cForgeExt();
  virtual ~cForgeExt();

  // IUnknown and IShellExtInit give the shell-init part, IContextMenu the object itself.
  STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // Keeps the selection and answers S_OK when at least one item is an existing folder or supported file.
  STDMETHODIMP Initialize(LPCITEMIDLIST folder, IDataObject* data, HKEY progIdKey) override;

  STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags) override;
  STDMETHODIMP InvokeCommand(LPCMINVOKECOMMANDINFO info) override;
  STDMETHODIMP GetCommandString(UINT_PTR id, UINT type, UINT* reserved, LPSTR name, UINT size) override;

 private:
  // Re-reads the launch items' file types into m_extensions.
  void ReadSupportedExtensions();
  // The file-name half of the supported test, or an existing folder.
  bool IsSupported(const char* path) const;
  // Starts the host on one path, waiting until it is idle when asked; tells the user when it fails.
  void StartHost(HWND owner, bool showMessages, const char* program, const char* path, bool waitForIdle) const;
  void ShowMessage(HWND owner, UINT textId) const;

  volatile LONG m_refs;  // starts at 0; the first QueryInterface takes the caller's reference
  IDataObject* m_data;   // the selection kept from Initialize (owned reference)
  char m_fileName[MAX_PATH];
  orvext::ExtensionList m_extensions;
};
