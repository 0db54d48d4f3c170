// The registry object on the real registry: a key with subkeys and values written, enumerated in the
// registry's order, read back by type, and deleted with everything below it; keys under HKEY_LOCAL_MACHINE
// with the access the Gallery's machine fall-back uses; the file-title helper's rule.
#include <gtest/gtest.h>

#include <set>

#include "secfile.h"
#include "secreg.h"

namespace {

const char kTestKey[] = "Software\\OrvaneSecTest";

class RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SECRegistry::DeleteKeyTree(HKEY_CURRENT_USER, kTestKey);
    SECRegistry::DeleteKeyTree(HKEY_LOCAL_MACHINE, kTestKey);
  }
};

TEST_F(RegistryTest, AKeyWithSubkeysAndValuesIsEnumeratedInOrderAndDeletedWholly) {
  SECRegistry key;
  ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, CString(kTestKey) + "\\Launch Items"));
  // Subkeys made out of order, two levels deep; values in the order a caller writes them.
  for (LPCSTR name : {"Workspace", "Browser", "Gallery"}) {
    SECRegistry item;
    ASSERT_TRUE(item.Create(key, name));
    ASSERT_TRUE(item.SetValue(NULL, "Dll"));
    ASSERT_TRUE(item.SetValue("Locator", CString("NXComponent.") + name + ".1"));
    ASSERT_TRUE(item.SetValue("Permanent", DWORD(1)));
    SECRegistry types;
    ASSERT_TRUE(types.Create(item, "FileTypesSupported"));
    ASSERT_TRUE(types.SetValue("jpg", "jpg"));
    ASSERT_TRUE(types.SetValue("bmp", "bmp"));
    ASSERT_TRUE(types.SetValue("avi", "avi"));
  }
  CStringArray names;
  ASSERT_TRUE(key.GetSubKeyNames(names));
  ASSERT_EQ(3, names.GetSize());
  // The registry hands subkeys out sorted by name.
  EXPECT_STREQ("Browser", names[0]);
  EXPECT_STREQ("Gallery", names[1]);
  EXPECT_STREQ("Workspace", names[2]);
  SECRegistry gallery;
  ASSERT_TRUE(gallery.Open(key, "Gallery\\FileTypesSupported"));
  ASSERT_TRUE(gallery.GetValueNames(names));
  ASSERT_EQ(3, names.GetSize());
  // Values come in the registry's index order, which the system does not promise to be the order of writing
  // (Windows keeps it, Wine sorts them by name): the object hands out exactly that order.
  for (DWORD i = 0; i < 3; ++i) {
    char raw[32];
    DWORD length = sizeof raw;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueA(gallery.GetKey(), i, raw, &length, NULL, NULL, NULL, NULL));
    EXPECT_STREQ(raw, names[int(i)]);
  }
  std::set<CString> types(names.GetData(), names.GetData() + 3);
  EXPECT_EQ(std::set<CString>({"avi", "bmp", "jpg"}), types);
  CString name;
  DWORD type = 0;
  EXPECT_FALSE(gallery.EnumValue(3, name));
  EXPECT_EQ(ERROR_NO_MORE_ITEMS, gallery.GetLastErrorCode());
  SECRegistry item;
  ASSERT_TRUE(item.Open(key, "Browser"));
  ASSERT_TRUE(item.EnumValue(1, name, &type));
  EXPECT_STREQ("Locator", name);
  EXPECT_EQ(DWORD(REG_SZ), type);
  CString text;
  ASSERT_TRUE(item.QueryValue(NULL, text));  // the default value
  EXPECT_STREQ("Dll", text);
  DWORD number = 0;
  ASSERT_TRUE(item.QueryValue("Permanent", number));
  EXPECT_EQ(1u, number);
  item.Close();
  gallery.Close();

  // Deleting "Launch Items" takes the items and their file types with it.
  SECRegistry parent;
  ASSERT_TRUE(parent.Open(HKEY_CURRENT_USER, kTestKey, KEY_ALL_ACCESS));
  key.Close();
  ASSERT_TRUE(parent.DeleteKey("Launch Items"));
  EXPECT_FALSE(key.Open(parent, "Launch Items"));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.GetLastErrorCode());
  EXPECT_FALSE(parent.DeleteKey("Launch Items"));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, parent.GetLastErrorCode());
}

TEST_F(RegistryTest, ValuesReadBackByTypeAndAWrongTypeIsRefused) {
  SECRegistry key;
  ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kTestKey));
  const BYTE placement[] = {44, 0, 0, 0, 2, 0, 0, 0, 0xFF, 0x10};
  ASSERT_TRUE(key.SetValue("WindowPlacement", placement, sizeof placement));
  ASSERT_TRUE(key.SetValue("Title", "Nexlumen Orvane"));
  ASSERT_TRUE(key.SetValue("Empty", ""));
  ASSERT_TRUE(key.SetValue("Icon State", DWORD(0)));
  CByteArray bytes;
  ASSERT_TRUE(key.QueryValue("WindowPlacement", bytes));
  ASSERT_EQ(int(sizeof placement), bytes.GetSize());
  EXPECT_EQ(0, memcmp(placement, bytes.GetData(), sizeof placement));
  CString text = "unchanged";
  EXPECT_TRUE(key.QueryValue("Empty", text));
  EXPECT_STREQ("", text);
  text = "unchanged";
  DWORD number = 7;
  EXPECT_FALSE(key.QueryValue("Icon State", text));
  EXPECT_EQ(ERROR_UNSUPPORTED_TYPE, key.GetLastErrorCode());
  EXPECT_STREQ("unchanged", text);
  EXPECT_FALSE(key.QueryValue("Title", number));
  EXPECT_EQ(7u, number);
  EXPECT_FALSE(key.QueryValue("Missing", text));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.GetLastErrorCode());
  ASSERT_TRUE(key.QueryValue("Icon State", number));
  EXPECT_EQ(0u, number);
  // A string stored without its terminator (another program's writing) ends with its data.
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key.GetKey(), "Raw", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3));
  ASSERT_TRUE(key.QueryValue("Raw", text));
  EXPECT_STREQ("abc", text);
  ASSERT_TRUE(key.DeleteValue("Raw"));
  EXPECT_FALSE(key.QueryValue("Raw", text));
  // A long string comes back whole.
  CString longText('x', 5000);
  ASSERT_TRUE(key.SetValue("Long", longText));
  ASSERT_TRUE(key.QueryValue("Long", text));
  EXPECT_EQ(5000, text.GetLength());
}

TEST_F(RegistryTest, MachineKeysWithTheGivenAccessAndRefusedRequests) {
  // Written with full access (0xF003F, as the Gallery's recent-folder list does), read with read access.
  SECRegistry machine;
  ASSERT_TRUE(machine.Create(HKEY_LOCAL_MACHINE, CString(kTestKey) + "\\Preferences", 0xF003F));
  ASSERT_TRUE(machine.SetValue("Picture Editor", "default"));
  machine.Close();
  SECRegistry reader;
  ASSERT_TRUE(reader.Open(HKEY_LOCAL_MACHINE, CString(kTestKey) + "\\Preferences", KEY_READ));
  CString text;
  ASSERT_TRUE(reader.QueryValue("Picture Editor", text));
  EXPECT_STREQ("default", text);
  // A key opened for reading only refuses writing.
  EXPECT_FALSE(reader.SetValue("Picture Editor", "other"));
  EXPECT_EQ(ERROR_ACCESS_DENIED, reader.GetLastErrorCode());
  reader.Close();
  // The same path under the user's hive is another key.
  SECRegistry user;
  EXPECT_FALSE(user.Open(HKEY_CURRENT_USER, CString(kTestKey) + "\\Preferences"));
  // Whole hives are never emptied by a missing name, and a closed key answers nothing.
  EXPECT_EQ(ERROR_INVALID_PARAMETER, SECRegistry::DeleteKeyTree(HKEY_CURRENT_USER, ""));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, SECRegistry::DeleteKeyTree(HKEY_CURRENT_USER, NULL));
  SECRegistry closed;
  EXPECT_FALSE(closed.SetValue("x", DWORD(1)));
  EXPECT_FALSE(closed.DeleteKey("x"));
  EXPECT_FALSE(closed.Open(closed, "x"));
  EXPECT_EQ(ERROR_SUCCESS, SECRegistry::DeleteKeyTree(HKEY_LOCAL_MACHINE, kTestKey));
  EXPECT_FALSE(reader.Open(HKEY_LOCAL_MACHINE, kTestKey));
}

TEST(FileTitle, IsTheFileNameWithoutItsExtension) {
  struct Case {
    LPCSTR path, title;
  } cases[] = {
      {"C:\\Program Files\\Paint\\Paint.exe", "Paint"},
      {"C:\\Tools\\archive.tar.gz", "archive.tar"},
      {"C:\\my.folder\\README", "README"},
      {"Notes.txt", "Notes"},
      {"D:relative.doc", "relative"},
      {"\\\\server\\share\\Scan.bmp", "Scan"},
      {"C:/unix/style.jpg", "style"},
      {"C:\\Users\\.profile", ".profile"},
      {"C:\\Folder\\", ""},
      {"", ""},
      {NULL, ""},
  };
  for (const Case& c : cases) EXPECT_STREQ(c.title, SECFileTitle(c.path)) << (c.path ? c.path : "(null)");
}

}  // namespace
