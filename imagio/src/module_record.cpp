// Loading a format module's class object and type table into its record.
#include <string>
#include <new>
#include "imgfile_logic.h"
#include "module_record.h"

namespace imagio {

NXIFLib::NXIFLib() : m_count(0), m_types(nullptr), m_extensions(nullptr), m_clsid(CLSID_NULL), m_factory(nullptr) {}

NXIFLib::~NXIFLib() { Unload(); }

tagIMGFILERR NXIFLib::Load(REFCLSID clsid) {
  m_clsid = clsid;
  if (FAILED(CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                              reinterpret_cast<void**>(&m_factory)))) {
    m_factory = nullptr;
    return IMGFILERR_NOTOPEN;
  }
  tagIMGFILERR result = QueryTypeTable();
  if (result != IMGFILERR_OK) Unload();
  return result;
}

tagIMGFILERR NXIFLib::QueryTypeTable() {
  INXIFLib* lib = CreateInstance();
  if (!lib) return IMGFILERR_NOINSTANCE;
  ULONG types[nxformat::kMaxTypesPerModule] = {};
  unsigned short count = 0;
  tagIMGFILERR result = nxformat::Code(lib->GetSupportImageType(&count, nxformat::kMaxTypesPerModule, types));
  // A module that claims more types than it may list only ever copied the first ten.
  if (count > nxformat::kMaxTypesPerModule) count = nxformat::kMaxTypesPerModule;
  if (result == IMGFILERR_OK && count > 0) {
    m_types = new (std::nothrow) uint32_t[count];
    m_extensions = new (std::nothrow) char[count][nxformat::kExtensionRoom];
    if (!m_types || !m_extensions) {
      result = IMGFILERR_NOMEMORY;
    } else {
      m_count = count;
      for (unsigned i = 0; i < count; ++i) {
        m_types[i] = types[i];
        m_extensions[i][0] = '\0';
      }
      for (unsigned i = 0; i < count && result == IMGFILERR_OK; ++i) {
        result = nxformat::Code(lib->GetDefaultExt(nxformat::kExtensionRoom,
                                                   reinterpret_cast<unsigned char*>(m_extensions[i]), types[i]));
        m_extensions[i][nxformat::kExtensionRoom - 1] = '\0';
      }
    }
  }
  lib->Release();
  return result;
}

tagIMGFILERR NXIFLib::Unload() {
  if (m_factory) {
    m_factory->Release();
    m_factory = nullptr;
  }
  delete[] m_types;
  delete[] m_extensions;
  m_types = nullptr;
  m_extensions = nullptr;
  m_count = 0;
  return IMGFILERR_OK;
}

INXIFLib* NXIFLib::CreateInstance() {
  if (!m_factory) return nullptr;
  INXIFLib* lib = nullptr;
  if (FAILED(m_factory->CreateInstance(nullptr, IID_INXIFLib, reinterpret_cast<void**>(&lib)))) return nullptr;
  return lib;
}

void NXIFLib::GetTypes(uint16_t* count, const uint32_t** types) const {
  *count = m_count;
  *types = m_types;
}

bool NXIFLib::SupportsType(uint32_t type) const {
  for (unsigned i = 0; i < m_count; ++i) {
    if (m_types[i] == type) return true;
  }
  return false;
}

void NXIFLib::GetExtensions(uint16_t* count, const char (**extensions)[nxformat::kExtensionRoom]) const {
  *count = m_count;
  *extensions = m_extensions;
}

bool NXIFLib::MatchesExtension(const std::string& extension) const {
  for (unsigned i = 0; i < m_count; ++i) {
    if (ExtensionStringContains(m_extensions[i], extension)) return true;
  }
  return false;
}

}  // namespace imagio
