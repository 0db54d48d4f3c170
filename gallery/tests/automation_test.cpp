// The Gallery's automation interface as scripts reach it: its type library, the document's members called
// late-bound by name and id, and the slide collections with their enumerator.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>

#include "galcore/slidelayout.h"
#include "galcore/slidesort.h"
#include "galhost.h"
#include "gallery/GalleryIds.h"
#include "gallery/GalleryText.h"
#include "media/NXMedia.h"

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

// A late-bound call as a script makes it: the member found by name, arguments in the order written.
struct Call {
  HRESULT hr = E_FAIL;
  VARIANT result;
  EXCEPINFO error = {};
  Call() { VariantInit(&result); }
  ~Call() {
    VariantClear(&result);
    SysFreeString(error.bstrSource);
    SysFreeString(error.bstrDescription);
    SysFreeString(error.bstrHelpFile);
  }
  std::string Text() const { return result.vt == VT_BSTR ? Narrow(result.bstrVal) : std::string("<not a string>"); }
};

void CallByName(Call& call, IDispatch* object, const char* name, std::vector<VARIANT> args, WORD flags = DISPATCH_METHOD) {
  WCHAR wide[64];
  MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 64);
  LPOLESTR names[] = {wide};
  DISPID id = DISPID_UNKNOWN;
  call.hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(call.hr)) return;
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params = {reversed.empty() ? NULL : reversed.data(), NULL, UINT(reversed.size()), 0};
  call.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &call.result, &call.error, NULL);
}

VARIANT Text(const std::string& text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  std::wstring wide(text.begin(), text.end());
  v.bstrVal = SysAllocString(wide.c_str());  // the test's paths are plain ASCII
  return v;
}
VARIANT Long(long value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}
VARIANT Bool(bool value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}
void Free(std::vector<VARIANT>& args) {
  for (VARIANT& v : args) VariantClear(&v);
}

// Calls name with args (freed afterwards).
void Script(Call& call, IDispatch* object, const char* name, std::vector<VARIANT> args = {}, WORD flags = DISPATCH_METHOD) {
  CallByName(call, object, name, args, flags);
  Free(args);
}

short CountOf(IDispatch* collection) {
  Call count;
  Script(count, collection, "Count", {}, DISPATCH_PROPERTYGET);
  EXPECT_EQ(S_OK, count.hr);
  EXPECT_EQ(VT_I2, count.result.vt);
  return count.result.iVal;
}

// The names of the slides For Each walks.
std::vector<std::string> Walk(IDispatch* collection) {
  std::vector<std::string> names;
  Call newEnum;
  Script(newEnum, collection, "_NewEnum", {}, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
  EXPECT_EQ(S_OK, newEnum.hr);
  IEnumVARIANT* items = NULL;
  EXPECT_EQ(S_OK, newEnum.result.punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&items)));
  if (!items) return names;
  VARIANT slide;
  VariantInit(&slide);
  ULONG fetched = 0;
  while (items->Next(1, &slide, &fetched) == S_OK) {
    EXPECT_EQ(1u, fetched);
    Call name;
    Script(name, slide.pdispVal, "Name", {}, DISPATCH_PROPERTYGET);
    names.push_back(name.Text());
    VariantClear(&slide);
  }
  items->Release();
  return names;
}

std::pair<int, int> PictureSize(const std::string& path) {
  cImageObject picture;
  picture.CreateFromFile(path.c_str());
  picture.UpdateImageProperties();
  return {picture.GetWidth(), picture.GetHeight()};
}

class GalleryAutomationTest : public GalleryTest {
 protected:
  // The document's dispatch interface, as the host hands it to a script.
  static IDispatch* Automation(cSlideTableDoc* doc) { return doc->GetIDispatch(FALSE); }
};

TEST_F(GalleryAutomationTest, OpenFolderSizesAndTheThumbnailSizeByReference) {
  const std::string first = MakeFolder("auto-open1"), second = MakeFolder("auto-open2");
  WritePhoto(first + "\\a.jpg", 40, 30, 1);
  for (const char* name : {"b.jpg", "c.png"}) WritePhoto(second + "\\" + name, 40, 30, 2);
  cSlideTableDoc* doc = Open(first);
  ASSERT_NE(nullptr, doc);
  IDispatch* gallery = Automation(doc);
  Call open, folder;
  Script(open, gallery, "Open", {Text(second)});
  EXPECT_EQ(S_OK, open.hr);
  Script(folder, gallery, "GetCurrentFolder");
  EXPECT_EQ(second, folder.Text());
  EXPECT_EQ((std::vector<std::string>{"b.jpg", "c.png"}), CellNames(ViewOf(doc)));
  Call missing;
  Script(missing, gallery, "Open", {Text(second + "\\none")});
  EXPECT_EQ(DISP_E_EXCEPTION, missing.hr);

  // The image box of each size, through two longs passed by reference.
  const std::pair<short, long> sizes[] = {{0, 40}, {2, 112}, {1, 80}, {7, 80}};
  for (const auto& size : sizes) {
    Call set;
    Script(set, gallery, "SetSlideSize", {Long(size.first)});
    EXPECT_EQ(S_OK, set.hr);
    Pump();
    long width = 0, height = 0;
    VARIANT byRef[2];
    VariantInit(&byRef[0]);
    VariantInit(&byRef[1]);
    byRef[0].vt = byRef[1].vt = VT_I4 | VT_BYREF;
    byRef[0].plVal = &width;
    byRef[1].plVal = &height;
    Call thumb;
    CallByName(thumb, gallery, "GetThumbnailSize", {byRef[0], byRef[1]});
    EXPECT_EQ(S_OK, thumb.hr);
    EXPECT_EQ(size.second, width) << size.first;
    EXPECT_EQ(size.second, height) << size.first;
  }
  WaitForLoader(ViewOf(doc));
}

TEST_F(GalleryAutomationTest, SortCriteriaMapToTheTableAndSelectedFirstNeedsASelection) {
  const std::string folder = MakeFolder("auto-sort");
  const char* names[] = {"old.jpg", "newest.jpg", "Apple.bmp"};
  const int ages[] = {3000, 10, 1000};
  for (int i = 0; i < 3; ++i) {
    WritePhoto(folder + "\\" + names[i], 40, 30, uint32_t(30 + i));
    SetWriteTime(folder + "\\" + names[i], ages[i]);
  }
  cSlideTableDoc* doc = Open(folder);
  ASSERT_NE(nullptr, doc);
  cSlideTableView* view = ViewOf(doc);
  IDispatch* gallery = Automation(doc);
  struct Case {
    short criterion;
    std::vector<std::string> order;
    int stored;
  };
  const Case cases[] = {{1, {"newest.jpg", "Apple.bmp", "old.jpg"}, galcore::kSortByDate},
                        {0, {"Apple.bmp", "newest.jpg", "old.jpg"}, galcore::kSortByName}};
  for (const Case& c : cases) {
    Call sort;
    Script(sort, gallery, "SetSortCriteria", {Long(c.criterion)});
    EXPECT_EQ(S_OK, sort.hr);
    Pump();
    EXPECT_EQ(c.order, CellNames(view)) << c.criterion;
    EXPECT_EQ(c.stored, view->GetSortCriterion());
  }
  // Selected first with nothing selected: the table's message, the order stays.
  theApp.m_boxes.clear();
  Call sort;
  Script(sort, gallery, "SetSortCriteria", {Long(3)});
  Pump();
  ASSERT_EQ(1u, theApp.m_boxes.size());
  EXPECT_EQ(std::string(GalleryText(IDS_GAL_NOTHING_SELECTED)), theApp.m_boxes[0]);
  EXPECT_EQ((std::vector<std::string>{"Apple.bmp", "newest.jpg", "old.jpg"}), CellNames(view));
  EXPECT_EQ(galcore::kSortByName, view->GetSortCriterion());

  // With a selection it is taken and kept; a table rebuilt with nothing selected (as a folder opened anew)
  // shows the names' order without a message and keeps the choice.
  WaitForLoader(view);
  doc->Select(2, TRUE);
  const std::string chosen(doc->GetItem(2)->GetMediaObject()->GetDisplayName());
  std::vector<std::string> expected = {chosen};
  for (const char* name : {"Apple.bmp", "newest.jpg", "old.jpg"})
    if (chosen != name) expected.push_back(name);
  Call selectedFirst;
  Script(selectedFirst, gallery, "SetSortCriteria", {Long(3)});
  Pump();
  EXPECT_EQ(expected, CellNames(view));
  EXPECT_EQ(galcore::kSortSelectedFirst, view->GetSortCriterion());
  WaitForLoader(view);
  theApp.m_boxes.clear();
  doc->Select(2, FALSE);
  view->Rebuild();
  Pump();
  EXPECT_TRUE(theApp.m_boxes.empty());
  EXPECT_EQ((std::vector<std::string>{"Apple.bmp", "newest.jpg", "old.jpg"}), CellNames(view));
  EXPECT_EQ(galcore::kSortSelectedFirst, view->GetSortCriterion());
  WaitForLoader(view);
  Call byName;
  Script(byName, gallery, "SetSortCriteria", {Long(0)});
  Pump();
  WaitForLoader(view);
}

TEST_F(GalleryAutomationTest, SaveImagesFitsTheBoxKeepsTheSizeForZeroAndRefusesOtherFormatsFirst) {
  const std::string folder = MakeFolder("auto-save");
  WritePhoto(folder + "\\wide.jpg", 160, 120, 5);
  WritePhoto(folder + "\\tall.png", 60, 120, 6);
  cSlideTableDoc* doc = Open(folder);
  ASSERT_NE(nullptr, doc);
  IDispatch* gallery = Automation(doc);
  const std::string out = MakeFolder("auto-save-out");
  RemoveDirectoryA(out.c_str());

  // Another format fails with code 1 before anything is written (the folder is not even made).
  Call format;
  Script(format, gallery, "SaveImages", {Text(out), Long(2), Long(0), Long(0), Long(80), Long(0), Long(-1), Bool(false)});
  EXPECT_EQ(DISP_E_EXCEPTION, format.hr);
  EXPECT_EQ(1, format.error.wCode);
  EXPECT_EQ(std::string(GalleryText(IDS_GAL_SAVE_FORMAT)), Narrow(format.error.bstrDescription));
  EXPECT_FALSE(Exists(out));
  CreateDirectoryA(out.c_str(), NULL);

  struct Case {
    long width, height;
    std::pair<int, int> wide, tall;
  };
  const Case cases[] = {
      {0, 50, {160, 120}, {60, 120}},   // a zero side: the pictures' own sizes
      {80, 0, {160, 120}, {60, 120}},
      {80, 80, {80, 60}, {40, 80}},     // the box 80 x 80, aspect kept
      {100, 30, {40, 30}, {15, 30}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    Call save;
    Script(save, gallery, "SaveImages", {Text(out), Long(1), Long(c.width), Long(c.height), Long(80), Long(0), Long(-1), Bool(false)});
    EXPECT_EQ(S_OK, save.hr);
    EXPECT_EQ(c.wide, PictureSize(out + "\\wide.jpg"));
    // JPEG data gets a JPEG name.
    EXPECT_EQ(c.tall, PictureSize(out + "\\tall.jpg"));
    EXPECT_FALSE(Exists(out + "\\tall.png"));
  }
  // One slide by its position; a position outside the table is code 3; the slides' own folder is refused
  // (code 2) so that no picture is replaced by its copy.
  Call one, outside, own;
  DeleteFileA((out + "\\wide.jpg").c_str());
  Script(one, gallery, "SaveImages", {Text(out + "\\"), Long(1), Long(0), Long(0), Long(80), Long(0), Long(1), Bool(false)});
  EXPECT_EQ(S_OK, one.hr);
  EXPECT_TRUE(Exists(out + "\\wide.jpg"));
  Script(outside, gallery, "SaveImages", {Text(out), Long(1), Long(0), Long(0), Long(80), Long(0), Long(2), Bool(false)});
  EXPECT_EQ(DISP_E_EXCEPTION, outside.hr);
  EXPECT_EQ(3, outside.error.wCode);
  const std::vector<uint8_t> before = ReadAll(folder + "\\wide.jpg");
  Script(own, gallery, "SaveImages", {Text(folder), Long(1), Long(40), Long(40), Long(80), Long(0), Long(1), Bool(false)});
  EXPECT_EQ(DISP_E_EXCEPTION, own.hr);
  EXPECT_EQ(2, own.error.wCode);
  EXPECT_EQ(before, ReadAll(folder + "\\wide.jpg"));
  WaitForLoader(ViewOf(doc));
}

TEST_F(GalleryAutomationTest, CollectionsItemsEnumeratorAndAfterARefreshAndAClose) {
  const std::string folder = MakeFolder("auto-slides");
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) WritePhoto(folder + "\\" + name, 40, 30, 7);
  cSlideTableDoc* doc = Open(folder);
  ASSERT_NE(nullptr, doc);
  IDispatch* gallery = Automation(doc);
  Call all, selected;
  Script(all, gallery, "AllSlides");
  Script(selected, gallery, "SelectedSlides");
  ASSERT_EQ(VT_DISPATCH, all.result.vt);
  ASSERT_EQ(VT_DISPATCH, selected.result.vt);
  IDispatch* allSlides = all.result.pdispVal;
  IDispatch* selectedSlides = selected.result.pdispVal;
  EXPECT_EQ(3, CountOf(allSlides));
  EXPECT_EQ((std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}), Walk(allSlides));

  // An empty selection: Next answers S_FALSE at once.
  EXPECT_EQ(0, CountOf(selectedSlides));
  {
    Call newEnum;
    Script(newEnum, selectedSlides, "_NewEnum", {}, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    IEnumVARIANT* items = NULL;
    ASSERT_EQ(S_OK, newEnum.result.punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&items)));
    VARIANT slide;
    VariantInit(&slide);
    ULONG fetched = 7;
    EXPECT_EQ(S_FALSE, items->Next(1, &slide, &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_EQ(VT_EMPTY, slide.vt);
    items->Release();
  }

  // Items by position: the default member, a string that is a number, a text that is none, outside the range.
  struct ItemCase {
    VARIANT index;
    HRESULT scode;
    const char* path;
  };
  ItemCase items[] = {{Long(1), S_OK, "b.jpg"}, {Text("2"), S_OK, "c.jpg"}, {Text("two"), DISP_E_TYPEMISMATCH, ""},
                      {Long(3), DISP_E_BADINDEX, ""}, {Long(-1), DISP_E_BADINDEX, ""}};
  for (ItemCase& c : items) {
    Call item;
    DISPPARAMS params = {&c.index, NULL, 1, 0};
    item.hr = allSlides->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                &params, &item.result, &item.error, NULL);
    if (c.scode == S_OK) {
      ASSERT_EQ(S_OK, item.hr);
      Call path;
      Script(path, item.result.pdispVal, "Path", {}, DISPATCH_PROPERTYGET);
      EXPECT_EQ(folder + "\\" + c.path, path.Text());
    } else {
      EXPECT_EQ(DISP_E_EXCEPTION, item.hr);
      EXPECT_EQ(c.scode, item.error.scode);
    }
    VariantClear(&c.index);
  }

  // The enumerator's other answers.
  {
    Call newEnum;
    Script(newEnum, allSlides, "_NewEnum", {}, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
    IEnumVARIANT* walk = NULL;
    ASSERT_EQ(S_OK, newEnum.result.punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&walk)));
    VARIANT two[2];
    VariantInit(&two[0]);
    VariantInit(&two[1]);
    EXPECT_EQ(E_INVALIDARG, walk->Next(2, two, NULL));
    EXPECT_EQ(E_INVALIDARG, walk->Skip(2));
    EXPECT_EQ(S_OK, walk->Skip(1));
    VARIANT slide;
    VariantInit(&slide);
    ASSERT_EQ(S_OK, walk->Next(1, &slide, NULL));
    Call name;
    Script(name, slide.pdispVal, "Name", {}, DISPATCH_PROPERTYGET);
    EXPECT_EQ("b.jpg", name.Text());
    VariantClear(&slide);
    EXPECT_EQ(S_OK, walk->Reset());
    ASSERT_EQ(S_OK, walk->Next(1, &slide, NULL));
    VariantClear(&slide);
    IEnumVARIANT* copy = NULL;
    EXPECT_EQ(E_NOTIMPL, walk->Clone(&copy));
    walk->Release();
  }

  // Collections taken before follow the table: a selection made, a file added and refreshed.
  doc->Select(2, TRUE);
  doc->Select(0, TRUE);
  EXPECT_EQ((std::vector<std::string>{"c.jpg", "a.jpg"}), Walk(selectedSlides));
  WritePhoto(folder + "\\d.jpg", 40, 30, 8);
  Call refresh;
  Script(refresh, gallery, "Refresh");
  EXPECT_EQ(S_OK, refresh.hr);
  EXPECT_EQ(4, CountOf(allSlides));
  EXPECT_EQ("d.jpg", Walk(allSlides).back());

  // The host's calls on the view: the selection (id 3), then select none (id 12).
  IDispatch* view = ViewOf(doc)->GetIDispatch(FALSE);
  ASSERT_NE(nullptr, view);
  DISPPARAMS none = {NULL, NULL, 0, 0};
  VARIANT fromView;
  VariantInit(&fromView);
  ASSERT_EQ(S_OK, view->Invoke(DISPID_GAL_SELECTEDSLIDES, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &fromView, NULL, NULL));
  EXPECT_EQ(2, CountOf(fromView.pdispVal));
  VariantClear(&fromView);
  EXPECT_EQ(S_OK, view->Invoke(DISPID_GAL_SELECTNONE, IID_NULL, 0, DISPATCH_METHOD, &none, NULL, NULL, NULL));
  Pump();
  EXPECT_EQ(0, CountOf(selectedSlides));

  // Held after the document closed: empty.
  WaitForLoader(ViewOf(doc));
  Close(doc);
  EXPECT_EQ(0, CountOf(allSlides));
  EXPECT_TRUE(Walk(allSlides).empty());
}

TEST_F(GalleryAutomationTest, LinksAreCopiedIntoTheFolderAndResolvedToShortPaths) {
  const std::string folder = MakeFolder("auto-links"), source = MakeFolder("auto-links-src");
  WritePhoto(source + "\\picture.jpg", 40, 30, 9);
  cSlideTableDoc* doc = Open(folder);
  ASSERT_NE(nullptr, doc);
  IDispatch* gallery = Automation(doc);
  Call copy, again;
  Script(copy, gallery, "CopyFile", {Text("FILE:///" + source + "\\picture.jpg"), Text("")});
  EXPECT_EQ(S_OK, copy.hr);
  EXPECT_TRUE(Exists(folder + "\\picture.jpg"));
  const std::string other = MakeFolder("auto-links-other");
  Script(again, gallery, "CopyFile", {Text("file:///" + source + "\\picture.jpg"), Text(other)});
  EXPECT_TRUE(Exists(other + "\\picture.jpg"));
  char shortPath[MAX_PATH] = "";
  GetShortPathNameA((source + "\\picture.jpg").c_str(), shortPath, MAX_PATH);
  const std::pair<std::string, std::string> links[] = {
      {"file:///" + source + "\\picture.jpg", shortPath},
      {source + "\\picture.jpg", ""},  // neither prefix
      {"file:///" + source + "\\missing.jpg", ""},
  };
  for (const auto& link : links) {
    Call path;
    Script(path, gallery, "GetPath", {Text(link.first)});
    EXPECT_EQ(S_OK, path.hr);
    EXPECT_EQ(0, lstrcmpiA(link.second.c_str(), path.Text().c_str())) << link.first << " -> " << path.Text();
  }
  WaitForLoader(ViewOf(doc));
}

// The co-class's object from the running class, as a client creates it; null when there is none.
IDispatch* CreateGallery() {
  IDispatch* gallery = NULL;
  if (FAILED(CoCreateInstance(kCoClass, NULL, CLSCTX_LOCAL_SERVER, IID_IDispatch, reinterpret_cast<void**>(&gallery))))
    return NULL;
  return gallery;
}

TEST_F(GalleryAutomationTest, TheServerHandsOutTheOpenTableAndIsWithdrawnWithIt) {
  const std::string first = MakeFolder("auto-server1"), second = MakeFolder("auto-server2");
  cSlideTableDoc* firstDoc = Open(first);
  cSlideTableDoc* secondDoc = Open(second);
  ASSERT_NE(nullptr, firstDoc);
  ASSERT_NE(nullptr, secondDoc);
  CLSID clsid;
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"NXGallery.Document", &clsid));
  EXPECT_TRUE(IsEqualCLSID(kCoClass, clsid));
  // Two creations: the same existing document both times, no new one.
  for (int i = 0; i < 2; ++i) {
    IDispatch* gallery = CreateGallery();
    ASSERT_NE(nullptr, gallery);
    EXPECT_EQ(firstDoc, CCmdTarget::FromIDispatch(gallery));
    Call folder;
    Script(folder, gallery, "GetCurrentFolder");
    EXPECT_EQ(first, folder.Text());
    gallery->Release();
  }
  // Closing it offers the next open table.
  Close(firstDoc);
  IDispatch* next = CreateGallery();
  ASSERT_NE(nullptr, next);
  EXPECT_EQ(secondDoc, CCmdTarget::FromIDispatch(next));
  next->Release();
  // With the last one closed the class and its names are gone.
  Close(secondDoc);
  EXPECT_EQ(nullptr, CreateGallery());
  HKEY key = NULL;
  for (const char* name : {"NXGallery.Document", "NXGallery.Document.1", "CLSID\\{40557F60-2AC3-11D2-A4F5-B4CE0CC10000}"}) {
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CLASSES_ROOT, name, 0, KEY_READ, &key)) << name;
    if (key) RegCloseKey(key);
    key = NULL;
  }
}

// Runs a VBScript with the system's cscript in a process of its own and returns what it wrote; the test's
// messages are pumped meanwhile, as the script's calls arrive through them.
std::string RunScript(const std::string& folder, const std::string& script) {
  const std::string path = folder + "\\client.vbs", output = folder + "\\client.txt";
  {
    std::ofstream out(path, std::ios::binary);
    out << script;
  }
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
  HANDLE file = CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, NULL);
  EXPECT_NE(INVALID_HANDLE_VALUE, file);
  STARTUPINFOA start = {sizeof start};
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdOutput = start.hStdError = file;
  PROCESS_INFORMATION process = {};
  std::string command = "cscript.exe //nologo \"" + path + "\"";
  const BOOL started = CreateProcessA(NULL, &command[0], NULL, NULL, TRUE, CREATE_NO_WINDOW, NULL, NULL, &start, &process);
  CloseHandle(file);
  EXPECT_TRUE(started);
  if (!started) return "";
  const DWORD deadline = GetTickCount() + 60000;
  while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0 &&
         GetTickCount() < deadline)
    Pump();
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const std::vector<uint8_t> text = ReadAll(output);
  std::string result(text.begin(), text.end());
  result.erase(std::remove(result.begin(), result.end(), '\r'), result.end());
  return result;
}

// A script in another process finds the open table by its class, sets the size, and walks the slides and the
// selection the host made with For Each.
TEST_F(GalleryAutomationTest, AScriptInAnotherProcessWalksTheSlidesWithForEach) {
  const std::string folder = MakeFolder("auto-script"), scripts = MakeFolder("auto-script-files");
  for (const char* name : {"one.jpg", "two.png"}) WritePhoto(folder + "\\" + name, 40, 30, 11);
  cSlideTableDoc* doc = Open(folder);
  ASSERT_NE(nullptr, doc);
  ViewOf(doc)->SendMessage(WM_COMMAND, ID_GAL_SELECT_ALL);
  const std::string output = RunScript(scripts,
                                       "Set g = CreateObject(\"NXGallery.Document\")\r\n"
                                       "WScript.Echo g.GetCurrentFolder()\r\n"
                                       "g.SetSlideSize 2\r\n"
                                       "For Each s In g.AllSlides\r\n"
                                       "  WScript.Echo s.Name\r\n"
                                       "Next\r\n"
                                       "Set selected = g.SelectedSlides\r\n"
                                       "WScript.Echo selected.Count\r\n"
                                       "WScript.Echo selected(1).Path\r\n");
  EXPECT_EQ(folder + "\none.jpg\ntwo.png\n2\n" + folder + "\\two.png\n", output);
  Pump();
  EXPECT_EQ(galcore::kLargeSlides, ViewOf(doc)->GetSlideSize());
  WaitForLoader(ViewOf(doc));
}

}  // namespace
}  // namespace galtest
