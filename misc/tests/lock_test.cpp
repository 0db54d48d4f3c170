// The reader-writer lock's ordering and the folder monitor against real folder changes.
#include <gtest/gtest.h>

#include <vector>

#include "FileSystemMonitor.h"
#include "NXMiscIds.h"

namespace {

struct Order {
  cRWLockData data;
  CRITICAL_SECTION cs;
  std::vector<int> events;
  Order() { InitializeCriticalSection(&cs); }
  ~Order() { DeleteCriticalSection(&cs); }
  void Note(int e) {
    EnterCriticalSection(&cs);
    events.push_back(e);
    LeaveCriticalSection(&cs);
  }
};

Order* g_order;

DWORD WINAPI Writer(LPVOID) {
  cReadWriteLock lock(g_order->data);
  lock.WriteLock();
  g_order->Note(3);  // writer in
  Sleep(200);
  g_order->Note(4);  // writer out
  return 0;
}

DWORD WINAPI LateReader(LPVOID) {
  cReadWriteLock lock(g_order->data);
  lock.ReadLock();
  g_order->Note(5);
  return 0;
}

TEST(ReadWriteLockTest, TwoReadersThenWriterThenReader) {
  Order order;
  g_order = &order;
  cReadWriteLock r1(order.data), r2(order.data);
  r1.ReadLock();
  r2.ReadLock();  // both readers hold it at once
  EXPECT_TRUE(order.data.IsReadLocked());
  EXPECT_FALSE(order.data.IsWriteLocked());
  HANDLE writer = CreateThread(NULL, 0, Writer, NULL, 0, NULL);
  Sleep(150);
  EXPECT_TRUE(order.events.empty()) << "the writer entered while readers held the lock";
  order.Note(1);
  r1.Unlock();
  r1.Unlock();  // a second unlock releases nothing more
  Sleep(100);
  EXPECT_EQ(order.events.size(), 1u) << "the writer entered while one reader held the lock";
  order.Note(2);
  r2.Unlock();
  while (!order.data.IsWriteLocked()) Sleep(5);
  HANDLE reader = CreateThread(NULL, 0, LateReader, NULL, 0, NULL);
  WaitForSingleObject(writer, 5000);
  WaitForSingleObject(reader, 5000);
  EXPECT_EQ(order.events, (std::vector<int>{1, 2, 3, 4, 5}));
  CloseHandle(writer);
  CloseHandle(reader);
}

TEST(ReadWriteLockTest, HolderReleasesOnDestruction) {
  cRWLockData data;
  {
    cReadWriteLock lock(data);
    lock.ReadLock();
    EXPECT_TRUE(lock.IsReadLocked());
    EXPECT_FALSE(lock.IsWriteLocked());
  }
  EXPECT_FALSE(data.IsReadLocked());
  cReadWriteLock writer(data);
  writer.WriteLock();
  EXPECT_TRUE(data.IsWriteLocked());
  EXPECT_TRUE(data.IsReadLocked());
  writer.Unlock();
  EXPECT_FALSE(data.IsWriteLocked());
}

class MonitorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    ASSERT_NE(window_, nullptr);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = CString(temp) + "nxmisc_monitor";
    CreateDirectoryA(folder_, NULL);
    Touch(folder_ + "\\a.txt");
  }
  void TearDown() override {
    DeleteFileA(folder_ + "\\a.txt");
    DeleteFileA(folder_ + "\\b.txt");
    RemoveDirectoryA(folder_);
    DestroyWindow(window_);
  }
  static void Touch(const CString& path) {
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    CloseHandle(h);
  }
  // Counts the monitor's messages arriving within the given time.
  int Drain(DWORD ms) {
    int n = 0;
    DWORD end = GetTickCount() + ms;
    MSG msg;
    while (GetTickCount() < end) {
      while (PeekMessageA(&msg, window_, NXMISC_WM_FOLDER_CHANGED, NXMISC_WM_FOLDER_CHANGED, PM_REMOVE)) {
        EXPECT_EQ(msg.wParam, 0u);
        EXPECT_EQ(msg.lParam, 0);
        ++n;
      }
      Sleep(10);
    }
    return n;
  }
  HWND window_ = NULL;
  CString folder_;
};

TEST_F(MonitorTest, RenamePostsOneMessagePerNotification) {
  cFileSystemMonitor monitor;
  monitor.SetNotification(window_, NXMISC_WM_FOLDER_CHANGED);
  monitor.EnableNotification(TRUE);
  monitor.MonitorChangesIn(folder_, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  Sleep(300);
  EXPECT_EQ(Drain(100), 0);
  ASSERT_TRUE(MoveFileA(folder_ + "\\a.txt", folder_ + "\\b.txt"));
  EXPECT_EQ(Drain(700), 1);
  // Re-armed: a second rename is reported too.
  ASSERT_TRUE(MoveFileA(folder_ + "\\b.txt", folder_ + "\\a.txt"));
  EXPECT_EQ(Drain(700), 1);
  // Switched off, changes are followed but not posted.
  monitor.EnableNotification(FALSE);
  ASSERT_TRUE(MoveFileA(folder_ + "\\a.txt", folder_ + "\\b.txt"));
  EXPECT_EQ(Drain(500), 0);
}

TEST_F(MonitorTest, ThreadEndsBeforeDestructorReturns) {
  HANDLE thread = NULL;
  {
    cFileSystemMonitor monitor;
    monitor.MonitorChangesIn(folder_, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    ASSERT_NE(monitor.m_hThread, nullptr);
    DuplicateHandle(GetCurrentProcess(), monitor.m_hThread, GetCurrentProcess(), &thread, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    EXPECT_EQ(WaitForSingleObject(thread, 100), DWORD(WAIT_TIMEOUT));
  }
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
  CloseHandle(thread);
}

TEST_F(MonitorTest, EmptyFolderEndsTheThreadAndALaterOneStartsAgain) {
  cFileSystemMonitor monitor;
  monitor.SetNotification(window_, NXMISC_WM_FOLDER_CHANGED);
  monitor.EnableNotification(TRUE);
  monitor.MonitorChangesIn(folder_, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_NE(monitor.m_hThread, nullptr);
  monitor.MonitorChangesIn("", FALSE, 0);
  EXPECT_EQ(monitor.m_hThread, nullptr);
  // A folder that cannot be watched leaves the thread running and posts nothing.
  monitor.MonitorChangesIn(folder_ + "\\missing", FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  EXPECT_NE(monitor.m_hThread, nullptr);
  monitor.MonitorChangesIn(folder_, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  Sleep(300);
  ASSERT_TRUE(MoveFileA(folder_ + "\\a.txt", folder_ + "\\b.txt"));
  EXPECT_EQ(Drain(700), 1);
  monitor.StopMonitoring();
  EXPECT_EQ(monitor.m_hThread, nullptr);
}

}  // namespace
