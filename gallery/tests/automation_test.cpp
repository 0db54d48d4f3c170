// The Gallery's automation interface as scripts reach it: its type library, the document's members called
// late-bound by name and id, and the slide collections with their enumerator.
#include <gtest/gtest.h>

#include <map>

#include "galhost.h"

namespace galtest {
namespace {

const GUID kLibrary = {0x40557F61, 0x2AC3, 0x11D2, {0xA4, 0xF5, 0xB4, 0xCE, 0x0C, 0xC1, 0x00, 0x00}};
const GUID kGalleryIid = {0x40557F62, 0x2AC3, 0x11D2, {0xA4, 0xF5, 0xB4, 0xCE, 0x0C, 0xC1, 0x00, 0x00}};
const GUID kSelectionIid = {0x40557F63, 0x2AC3, 0x11D2, {0xA4, 0xF5, 0xB4, 0xCE, 0x0C, 0xC1, 0x00, 0x00}};
const GUID kCoClass = {0x40557F60, 0x2AC3, 0x11D2, {0xA4, 0xF5, 0xB4, 0xCE, 0x0C, 0xC1, 0x00, 0x00}};

std::string Narrow(BSTR text) {
  char buffer[1024] = "";
  WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, NULL, NULL);
  return buffer;
}

// Member name -> dispatch id of a type's functions and variables.
std::map<std::string, MEMBERID> MembersOf(ITypeInfo* info) {
  std::map<std::string, MEMBERID> members;
  TYPEATTR* attr = NULL;
  EXPECT_EQ(S_OK, info->GetTypeAttr(&attr));
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* f = NULL;
    info->GetFuncDesc(i, &f);
    BSTR name = NULL;
    info->GetDocumentation(f->memid, &name, NULL, NULL, NULL);
    members[Narrow(name)] = f->memid;
    SysFreeString(name);
    info->ReleaseFuncDesc(f);
  }
  for (UINT i = 0; i < attr->cVars; ++i) {
    VARDESC* v = NULL;
    info->GetVarDesc(i, &v);
    BSTR name = NULL;
    info->GetDocumentation(v->memid, &name, NULL, NULL, NULL);
    members[Narrow(name)] = v->memid;
    SysFreeString(name);
    info->ReleaseVarDesc(v);
  }
  info->ReleaseTypeAttr(attr);
  return members;
}

TEST(GalleryTypeLibrary, IsEmbeddedInTheComponentWithItsEnumerationsInterfacesAndIds) {
  HMODULE gallery = LoadLibraryA("gallery.dll");
  ASSERT_NE(nullptr, gallery);
  WCHAR path[MAX_PATH];
  GetModuleFileNameW(gallery, path, MAX_PATH);
  ITypeLib* lib = NULL;
  ASSERT_EQ(S_OK, LoadTypeLibEx(path, REGKIND_NONE, &lib));
  TLIBATTR* attr = NULL;
  ASSERT_EQ(S_OK, lib->GetLibAttr(&attr));
  EXPECT_TRUE(IsEqualGUID(kLibrary, attr->guid));
  EXPECT_EQ(1, attr->wMajorVerNum);
  EXPECT_EQ(0, attr->wMinorVerNum);
  EXPECT_EQ(LCID(0), attr->lcid);
  lib->ReleaseTLibAttr(attr);
  BSTR name = NULL;
  lib->GetDocumentation(-1, &name, NULL, NULL, NULL);
  EXPECT_EQ("NXGallery", Narrow(name));
  SysFreeString(name);

  // The enumerations' values and help strings, by name.
  struct Enum {
    const char* name;
    const char* help;
    std::map<std::string, MEMBERID> values;
  };
  const Enum enums[] = {
      {"SlideSizeEnum", "Slide sizes available in Gallery", {{"gssSmallSlide", 0}, {"gssMediumSlide", 1}, {"gssLargeSlide", 2}}},
      {"SortCriteriaEnum", "Sort criteria available in Gallery",
       {{"gscSortByName", 0}, {"gscSortByDate", 1}, {"gscSortByType", 2}, {"gscSortSelected", 3}}},
  };
  for (const Enum& e : enums) {
    SCOPED_TRACE(e.name);
    bool found = false;
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
      BSTR typeName = NULL, help = NULL;
      lib->GetDocumentation(int(i), &typeName, &help, NULL, NULL);
      const bool match = Narrow(typeName) == e.name;
      if (match) {
        found = true;
        EXPECT_EQ(e.help, Narrow(help));
        ITypeInfo* info = NULL;
        ASSERT_EQ(S_OK, lib->GetTypeInfo(i, &info));
        TYPEATTR* t = NULL;
        info->GetTypeAttr(&t);
        EXPECT_EQ(TKIND_ENUM, t->typekind);
        std::map<std::string, MEMBERID> values;
        for (UINT v = 0; v < t->cVars; ++v) {
          VARDESC* var = NULL;
          info->GetVarDesc(v, &var);
          BSTR valueName = NULL;
          UINT got = 0;
          info->GetNames(var->memid, &valueName, 1, &got);
          values[Narrow(valueName)] = var->lpvarValue->lVal;
          SysFreeString(valueName);
          info->ReleaseVarDesc(var);
        }
        EXPECT_EQ(e.values, values);
        info->ReleaseTypeAttr(t);
        info->Release();
      }
      SysFreeString(typeName);
      SysFreeString(help);
    }
    EXPECT_TRUE(found);
  }

  ITypeInfo* gallery_ = NULL;
  ASSERT_EQ(S_OK, lib->GetTypeInfoOfGuid(kGalleryIid, &gallery_));
  const std::map<std::string, MEMBERID> expected = {
      {"ScrollToChanges", 1}, {"Open", 2}, {"SelectedSlides", 3}, {"GetCurrentFolder", 4}, {"ShowToolbar", 5},
      {"ShowStatusBar", 6}, {"ShowFolders", 7}, {"SetSlideSize", 8}, {"SetSortCriteria", 9}, {"Refresh", 10},
      {"ShowExtensions", 11}, {"SelectNone", 12}, {"CopyFile", 13}, {"GetPath", 14}, {"RefreshFileTree", 15},
      {"AllSlides", 16}, {"GetThumbnailSize", 17}, {"SaveImages", 18}};
  EXPECT_EQ(expected, MembersOf(gallery_));
  gallery_->Release();
  ITypeInfo* selection = NULL;
  ASSERT_EQ(S_OK, lib->GetTypeInfoOfGuid(kSelectionIid, &selection));
  const std::map<std::string, MEMBERID> selectionMembers = MembersOf(selection);
  EXPECT_EQ(DISPID_VALUE, selectionMembers.at("Item"));
  EXPECT_EQ(DISPID_NEWENUM, selectionMembers.at("_NewEnum"));
  EXPECT_EQ(1u, selectionMembers.count("Count"));
  selection->Release();
  ITypeInfo* coclass = NULL;
  EXPECT_EQ(S_OK, lib->GetTypeInfoOfGuid(kCoClass, &coclass));
  if (coclass) coclass->Release();
  lib->Release();
}

}  // namespace
}  // namespace galtest
