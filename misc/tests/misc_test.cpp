// NXMisc: path names on a real folder, list strings, registry integers, resources, exceptions and the
// start-up check for the resource library.
#include <gtest/gtest.h>

#include <string>

#include "NXException.h"
#include "NXMisc.h"
#include "NXMiscIds.h"
#include "startprobe.h"

namespace {

TEST(PathNameTest, SplitsFullPaths) {
  cPathName p("C:\\photos\\1999\\beach.jpg");
  EXPECT_STREQ(p.GetDrive(), "C:");
  EXPECT_STREQ(p.GetDriveAndPath(), "C:\\photos\\1999");
  EXPECT_EQ(p.GetPathPartsCount(), 3);
  EXPECT_STREQ(p.GetPathPart(0), "photos");
  EXPECT_STREQ(p.GetPathPart(1), "1999");
  EXPECT_STREQ(p.GetPathPart(2), "beach.jpg");
  EXPECT_STREQ(p.GetPathPart(3), "");
  EXPECT_STREQ(p.GetFilename(FALSE), "beach");
  EXPECT_STREQ(p.GetExtension(), ".jpg");

  cPathName folder;
  folder.SetFullPath("C:\\photos\\1999");
  EXPECT_STREQ(folder.GetDriveAndPath(), "C:\\photos\\1999");
  EXPECT_STREQ(folder.GetFilename(), "");

  cPathName bare("beach.jpg");
  EXPECT_STREQ(bare.GetDriveAndPath(), "");
  EXPECT_EQ(bare.GetPathPartsCount(), 1);
  EXPECT_STREQ(cPathName("C:\\").GetDriveAndPath(), "C:");
  EXPECT_STREQ(cPathName("C:beach.jpg").GetDriveAndPath(), "C:");

  // Parts longer than their buffers are cut, never overrun.
  std::string huge = "C:\\" + std::string(600, 'd') + "\\" + std::string(600, 'n') + "." + std::string(600, 'e');
  cPathName big(huge.c_str());
  EXPECT_EQ(big.GetFilename(FALSE).GetLength(), 255);
}

TEST(PathNameTest, LongNamesFromTheFileSystem) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  CString root = CString(temp) + "Long Folder Name For Test";
  CreateDirectoryA(root, NULL);
  CString file = root + "\\A Long Picture Name.jpeg";
  HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);

  char shortPath[MAX_PATH];
  ASSERT_NE(GetShortPathNameA(file, shortPath, MAX_PATH), 0u);
  cPathName p(shortPath);
  p.ConvertToLongNames();
  char longTemp[MAX_PATH];
  GetLongPathNameA(temp, longTemp, MAX_PATH);
  CString expected = CString(longTemp) + "Long Folder Name For Test";
  EXPECT_EQ(p.GetDriveAndPath().CompareNoCase(expected), 0) << p.GetDriveAndPath() << " vs " << expected;
  EXPECT_STREQ(p.GetFilename(FALSE), "A Long Picture Name");
  EXPECT_STREQ(p.GetExtension(), ".jpeg");
  EXPECT_STREQ(p.GetExpandedPart(root + "\\*.jpeg"), "A Long Picture Name.jpeg");
  EXPECT_STREQ(p.GetExpandedPart(root + "\\missing"), "");

  DeleteFileA(file);
  RemoveDirectoryA(root);
}

TEST(StringExTest, ListEntries) {
  struct Case {
    const char* text;
    int count;
    int index;
    const char* entry;
  } cases[] = {
      {",;Yes;No;OK", 3, 1, "No"}, {"Yes,No", 2, 0, "Yes"}, {"", 0, 0, ""},
      {"a,b", 2, 5, ""},           {"a,,b", 3, 1, ""},      {",", 2, 1, ""},
  };
  for (const Case& c : cases) {
    cStringEx s(c.text);
    EXPECT_EQ(s.GetSubstringCount(), c.count) << c.text;
    EXPECT_STREQ(s.GetSubstring(c.index), c.entry) << c.text;
  }
  cStringEx r("a.b.c");
  r.ReplaceAll('.', "::");
  EXPECT_STREQ(CString(r), "a::b::c");
}

TEST(ProfileTest, IntegersAsDecimalText) {
  const char* subkey = "Software\\Nexlumen\\MiscTest";
  // The test prefix keeps settings between runs; this test's key is cleared before it starts (CLEAN_KEYS).
  HKEY key;
  ASSERT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &key), ERROR_SUCCESS) << "left by an earlier run";
  ASSERT_TRUE(WriteProfileInt(HKEY_CURRENT_USER, subkey, "Value", -12));
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &key), ERROR_SUCCESS);
  char text[16] = {};
  DWORD size = sizeof text, type;
  RegQueryValueExA(key, "Value", NULL, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  EXPECT_EQ(type, DWORD(REG_SZ));
  EXPECT_STREQ(text, "-12");
  EXPECT_EQ(ReadProfileInt(HKEY_CURRENT_USER, subkey, "Value", 5), -12);
  EXPECT_EQ(ReadProfileInt(HKEY_CURRENT_USER, subkey, "Missing", 5), 5);
  EXPECT_EQ(ReadProfileInt(HKEY_CURRENT_USER, "Software\\Nexlumen\\NoSuchKey", "Value", 6), 6);

  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_WRITE, &key), ERROR_SUCCESS);
  RegSetValueExA(key, "Ten", 0, REG_SZ, reinterpret_cast<const BYTE*>("1234567890"), 10);
  RegSetValueExA(key, "Nine", 0, REG_SZ, reinterpret_cast<const BYTE*>("123456789"), 10);
  RegCloseKey(key);
  EXPECT_EQ(ReadProfileInt(HKEY_CURRENT_USER, subkey, "Ten", 7), 7);
  EXPECT_EQ(ReadProfileInt(HKEY_CURRENT_USER, subkey, "Nine", 7), 123456789);
  RegDeleteKeyA(HKEY_CURRENT_USER, subkey);
}

TEST(PredicateTest, DriveRootsAndBackslashes) {
  struct Case {
    const char* path;
    BOOL root;
  } cases[] = {{"C:", TRUE},          {"C:\\", TRUE},           {"C:\\photos", FALSE},
               {"\\\\srv\\share", TRUE}, {"\\\\srv\\share\\", TRUE}, {"\\\\srv\\share\\x", FALSE},
               {"\\\\srv", FALSE},    {"\\\\\\share", FALSE},    {"", FALSE}};
  for (const Case& c : cases) EXPECT_EQ(IsDriveRoot(c.path), c.root) << c.path;
  EXPECT_TRUE(HasTrailingBackslash("C:\\"));
  EXPECT_FALSE(HasTrailingBackslash(""));

  char path[MAX_PATH] = "C:\\pics\\a.jpg";
  AssureCorrectExtension(path, ".bmp");
  EXPECT_STREQ(path, "C:\\pics\\a.jpg.bmp");
  strcpy(path, "C:\\pics\\a.JPG");
  AssureCorrectExtension(path, ".jpg");
  EXPECT_STREQ(path, "C:\\pics\\a.jpg");
  strcpy(path, "a.JPG");
  AssureCorrectExtension(path, ".jpg");
  EXPECT_STREQ(path, "a.jpg");
}

TEST(ResourceTest, FontsAndTheResourceLibrary) {
  ASSERT_NE(NXMiscResourceHandle(), nullptr);
  LOGFONTA font;
  ASSERT_TRUE(GetFontInfo(IDR_NXMISC_MESSAGE_FONT, &font));
  EXPECT_EQ(font.lfHeight, -12);
  EXPECT_EQ(font.lfWeight, 400);
  EXPECT_STREQ(font.lfFaceName, "Arial");
  ASSERT_TRUE(GetFontInfo(IDR_NXMISC_BUTTON_FONT, &font));
  EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
  EXPECT_FALSE(GetFontInfo(4242, &font));

  CString labels;
  EXPECT_TRUE(LoadLargeString(IDS_NXMISC_BUTTON_LABELS, labels));
  EXPECT_EQ(cStringEx(labels).GetSubstringCount(), 5);
  BYTE raw[5];
  EXPECT_TRUE(GetRCData(IDR_NXMISC_MESSAGE_FONT, raw, sizeof raw));
  EXPECT_FALSE(GetRCData(IDR_NXMISC_MESSAGE_FONT, raw, 100000));
}

TEST(ResourceTest, ResourceLibraryIsTheOneBesideTheModule) {
  char misc[MAX_PATH], res[MAX_PATH];
  ASSERT_TRUE(GetModuleFileNameA(GetModuleHandleA("NXMisc.dll"), misc, MAX_PATH));
  ASSERT_TRUE(GetModuleFileNameA(NXMiscResourceHandle(), res, MAX_PATH));
  CString expected = CString(misc).Left(CString(misc).ReverseFind('\\') + 1) + NXMISC_RESOURCE_LIBRARY;
  EXPECT_EQ(0, expected.CompareNoCase(res)) << res;
  EXPECT_TRUE(NXMiscStartup());  // later calls only report
}

// The resource library is loaded by the start-up call, never while the loader holds its lock: loading NXMisc
// alone neither loads NXMiscRes.dll nor shows a box; the start-up call shows the fixed message when the
// resource library is missing, and NXMisc goes on without its texts.
TEST(ResourceTest, StartupLoadsTheResourceLibraryOrShowsTheFixedMessage) {
  startprobe::ExpectStartsOutsideTheLoaderLock("NXMisc.dll", "NXMiscStartup", NXMISC_MISSING_RESOURCES_TEXT);
}

TEST(ExceptionTest, TextsByTypeStringAndImagingError) {
  char text[512];
  struct Case {
    cNXExceptionType type;
    const char* expected;
  } cases[] = {{NXERR_NONE, "An unexpected error has occurred."},
               {NXERR_OUT_OF_MEMORY, "There is not enough memory."},
               {NXERR_NOT_IMPLEMENTED, "An unexpected error has occurred."},
               {NXERR_DEVICE, "The device is not available."},
               {cNXExceptionType(40), "An unexpected error has occurred."}};
  for (const Case& c : cases) {
    cNXException e(c.type);
    EXPECT_TRUE(e.GetErrorMessage(text, sizeof text));
    EXPECT_STREQ(text, c.expected) << c.type;
  }

  HINSTANCE res = NXMiscResourceHandle();
  cNXException one(IDS_NXMISC_TEMP_FOLDER_FAILED, "C:\\x", NULL, res);
  one.GetErrorMessage(text, sizeof text);
  EXPECT_STREQ(text, "The temporary folder C:\\x could not be created.");
  cNXException none(IDS_NXMISC_TEMP_FOLDER_FAILED, NULL, "ignored", res);
  none.GetErrorMessage(text, sizeof text);
  EXPECT_STREQ(text, "The temporary folder %1 could not be created.");
  none.GetErrorMessage(text, 8);
  EXPECT_STREQ(text, "The tem");

  cNXLeadException unknown(99), memory(2);
  unknown.GetErrorMessage(text, sizeof text);
  EXPECT_STREQ(text, "The picture could not be processed: The imaging library reported an unknown error.");
  memory.GetErrorMessage(text, sizeof text);
  EXPECT_STREQ(text, "The picture could not be processed: There is not enough memory for the picture.");
  EXPECT_EQ(cNXLeadException::StringForError(12), 147u);

  try {
    throw new cNXLeadException(5);
  } catch (CException* e) {
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(cNXException)));
    e->Delete();
  }
}

TEST(TempTest, TempFolderAndReservedNumberedFiles) {
  CString folder = GetTempPathA();
  ASSERT_FALSE(folder.IsEmpty());
  EXPECT_TRUE(HasTrailingBackslash(folder));
  EXPECT_NE(GetFileAttributesA(folder), INVALID_FILE_ATTRIBUTES);
  for (const char* n : {"NXX1.bmp", "NXX2.bmp", "NXX3.bmp"}) DeleteFileA(folder + n);
  // Each call takes a name no other call gets, even before the caller has written anything.
  EXPECT_STREQ(CreateNumberedTempFile("bmp"), folder + "NXX1.bmp");
  EXPECT_NE(GetFileAttributesA(folder + "NXX1.bmp"), INVALID_FILE_ATTRIBUTES);
  EXPECT_STREQ(CreateNumberedTempFile("bmp"), folder + "NXX2.bmp");
  DeleteFileA(folder + "NXX1.bmp");
  EXPECT_STREQ(CreateNumberedTempFile("bmp"), folder + "NXX1.bmp");
  for (const char* n : {"NXX1.bmp", "NXX2.bmp"}) DeleteFileA(folder + n);
}

TEST(PlatformTest, CacheLookupOfUnknownAddress) {
  char path[MAX_PATH];
  EXPECT_EQ(Url2Path("http://example.invalid/never-cached.jpg", path), 1);
  EXPECT_TRUE(RunProgram("cmd.exe /c exit 0", NULL));
  EXPECT_FALSE(RunProgram("no-such-program-here.exe", NULL));
}

}  // namespace
