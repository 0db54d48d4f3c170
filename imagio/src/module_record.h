// NXIFLib: imagio's record of one loaded format module: its class object, image types and extension strings.
#pragma once
#include <string>
#include <windows.h>
#include <nxformat/nxformat.h>
#include "nxiflib.h"

namespace imagio {

class NXIFLib {
 public:
  NXIFLib();
  virtual ~NXIFLib();
  NXIFLib(const NXIFLib&) = delete;
  NXIFLib& operator=(const NXIFLib&) = delete;

  // Gets the class object of an in-process server (516 when that fails) and asks a first instance for the
  // module's types and their extension strings; on any result but 512 the record is emptied again.
  virtual tagIMGFILERR Load(REFCLSID clsid);
  virtual tagIMGFILERR Unload();
  // A new instance (no aggregation), or null.
  virtual INXIFLib* CreateInstance();
  virtual void GetTypes(uint16_t* count, const uint32_t** types) const;
  virtual bool SupportsType(uint32_t type) const;
  virtual void GetExtensions(uint16_t* count, const char (**extensions)[nxformat::kExtensionRoom]) const;
  virtual bool MatchesExtension(const std::string& extension) const;

 private:
  tagIMGFILERR QueryTypeTable();

  uint16_t m_count;
  uint32_t* m_types;
  char (*m_extensions)[nxformat::kExtensionRoom];
  CLSID m_clsid;
  IClassFactory* m_factory;
};

}  // namespace imagio
