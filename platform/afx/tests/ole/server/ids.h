// Names and numbers of the test servers, shared by the servers and the tests that drive them.
#pragma once
#include <windows.h>

// Host-shaped automation object served by afx_oleserver.exe (LocalServer32).
#define OLETEST_HOST_PROGID "OrvAfxTest.Host"
// {F3E76F29-45E7-4818-9354-6B11AC1C2085}
static const CLSID CLSID_OleTestHost = {0xF3E76F29, 0x45E7, 0x4818, {0x93, 0x54, 0x6B, 0x11, 0xAC, 0x1C, 0x20, 0x85}};
// One object for every client (the factory hands out the existing one).
#define OLETEST_SINGLE_PROGID "OrvAfxTest.Single"
// {0C205CD0-E4F2-457D-86CE-9C88DC9A9A87}
static const CLSID CLSID_OleTestSingle = {0x0C205CD0, 0xE4F2, 0x457D, {0x86, 0xCE, 0x9C, 0x88, 0xDC, 0x9A, 0x9A, 0x87}};
// Document object served by afx_oleserver.exe (out of process) and by afx_docserver.dll (in process).
#define OLETEST_DOC_PROGID "OrvAfxTest.Document"
// {CB130565-17DE-4D86-ADF0-84D47CC2FE3F}
static const CLSID CLSID_OleTestDocument = {0xCB130565, 0x17DE, 0x4D86, {0xAD, 0xF0, 0x84, 0xD4, 0x7C, 0xC2, 0xFE, 0x3F}};
#define OLETEST_INPROC_DOC_PROGID "OrvAfxTest.InprocDocument"
// {61F375C6-D1C1-4356-BAFB-7B9EB9C41D9B}
static const CLSID CLSID_OleTestInprocDocument = {0x61F375C6, 0xD1C1, 0x4356, {0xBA, 0xFB, 0x7B, 0x9E, 0xB9, 0xC4, 0x1D, 0x9B}};

// Dispatch ids of the host-shaped object: the host's 1-7, 9 and 10 (8 unassigned), then the test's own.
enum OleTestHostId {
  kHostOpen = 1, kHostSlideTable = 2, kHostLaunch = 3, kHostSetGalleryPath = 4, kHostLaunchDocObject = 5,
  kHostShowSlideTable = 6, kHostDockSlideTable = 7, kHostGetVersionNumbers = 9, kHostRunCommand = 10,
  kHostFail = 11, kHostLiveObjects = 12, kHostProcessId = 13, kHostGetThumbnailSize = 14,
  kHostOwned = 15, kHostDropOwned = 16
};
// An object the host owns as a plain C++ object (as a program owns its windows) and hands out.
enum OleTestOwnedId { kOwnedPing = 1 };
// The collection, its items and the single object.
enum OleTestCollectionId { kItemsCount = 1, kItemsItem = 2 };
enum OleTestItemId { kItemPath = 1, kItemName = 2 };
enum OleTestSingleId { kSingleValue = 1, kSingleProcessId = 2 };
// The collection SlideTable hands out holds these three paths.
#define OLETEST_ITEM_FOLDER "C:\\pictures\\"
static const char* const kOleTestItems[] = {"one.jpg", "two.png", "three.bmp"};

// Application code and description of the exception Fail raises.
#define OLETEST_FAIL_CODE 3
#define IDS_OLETEST_FAIL 101
// A document object that refuses the host's open command (served by afx_docserver.dll).
#define OLETEST_REFUSING_DOC_PROGID "OrvAfxTest.RefusingDocument"
// {89676B22-7CB9-40A8-9B82-5CA9CD59FA53}
static const CLSID CLSID_OleTestRefusingDocument = {0x89676B22, 0x7CB9, 0x40A8, {0x9B, 0x82, 0x5C, 0xA9, 0xCD, 0x59, 0xFA, 0x53}};
// Files of this extension belong to OrvAfxTest.InprocDocument (for creating items from files).
#define OLETEST_DOC_EXTENSION ".afxtestdoc"

// The host's command group for documents (command 1: open the path in the string argument).
// {3638A8A1-FEDF-11D1-A8BC-00A02471018E}
static const GUID CGID_OleTestHost = {0x3638A8A1, 0xFEDF, 0x11D1, {0xA8, 0xBC, 0x00, 0xA0, 0x24, 0x71, 0x01, 0x8E}};
enum { kHostCommandOpen = 1 };
// The tests' own command group: command 2 reports what the document saw; command 3 asks the frame to stop
// (FALSE) or resume (TRUE) its modeless windows, as a document does around a dialog of its own.
// {5E1B83A1-72ED-488E-8207-21C545FB31ED}
static const GUID CGID_OleTestReport = {0x5E1B83A1, 0x72ED, 0x488E, {0x82, 0x07, 0x21, 0xC5, 0x45, 0xFB, 0x31, 0xED}};
enum { kTestCommandReport = 2, kTestCommandModal = 3 };
// The document's own menu while it is active in place: one popup with two commands.
#define OLETEST_DOC_MENU_TEXT "&Test"
enum { kDocCommandGreet = 7001, kDocCommandRuler = 7002 };
