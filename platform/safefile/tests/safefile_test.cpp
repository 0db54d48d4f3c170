// Tests that saves replace the old file only when complete, never share or leave temporaries, refuse protected
// targets, and that numbered files are reserved rather than guessed.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include "safefile/safefile.h"
#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

void MakeReadOnly(const std::string& path, bool readOnly) {
#ifdef _WIN32
  SetFileAttributesA(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
#else
  chmod(path.c_str(), readOnly ? 0444 : 0644);
#endif
}

class SafeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    target_ = std::string("safefile_test_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::remove(target_.c_str());
  }
  void TearDown() override {
    MakeReadOnly(target_, false);
    std::remove(target_.c_str());
  }
  std::string target_;
};

TEST_F(SafeFileTest, WriteReplacesExistingFileAndLeavesNoTemporary) {
  ASSERT_TRUE(safefile::WriteWholeFile(target_, "old", 3));
  ASSERT_TRUE(safefile::WriteWholeFile(target_, "new content", 11));
  EXPECT_EQ("new content", ReadAll(target_));
  EXPECT_FALSE(Exists(target_ + ".~0.tmp"));
  ASSERT_TRUE(safefile::WriteWholeFile(target_, nullptr, 0));
  EXPECT_EQ("", ReadAll(target_));
}

TEST_F(SafeFileTest, FailedWriteKeepsNothingNew) {
  EXPECT_FALSE(safefile::WriteWholeFile("no_such_folder/x.bin", "x", 1));
  EXPECT_FALSE(Exists("no_such_folder"));
  safefile::PendingFile pending("no_such_folder/x.bin");
  EXPECT_EQ(nullptr, pending.file());
  EXPECT_EQ(safefile::Error::kCreate, pending.error());
  EXPECT_FALSE(pending.Commit());
}

TEST_F(SafeFileTest, UncommittedSaveLeavesTheTargetAndRemovesItsTemporary) {
  ASSERT_TRUE(safefile::WriteWholeFile(target_, "kept", 4));
  std::string temporary;
  {
    safefile::PendingFile pending(target_);
    ASSERT_NE(nullptr, pending.file());
    temporary = pending.temporary();
    std::fputs("half written", pending.file());
    EXPECT_TRUE(Exists(temporary));
  }
  EXPECT_FALSE(Exists(temporary));
  EXPECT_EQ("kept", ReadAll(target_));
}

TEST_F(SafeFileTest, ConcurrentWritersNeverShareATemporary) {
  safefile::PendingFile first(target_), second(target_);
  ASSERT_NE(nullptr, first.file());
  ASSERT_NE(nullptr, second.file());
  EXPECT_NE(first.temporary(), second.temporary());
  std::fputs("first", first.file());
  std::fputs("second", second.file());
  // Another writer's temporary is never reused or removed.
  ASSERT_TRUE(safefile::WriteWholeFile(target_, "third", 5));
  ASSERT_TRUE(second.Commit());
  EXPECT_EQ("second", ReadAll(target_));
  ASSERT_TRUE(first.Commit());
  EXPECT_EQ("first", ReadAll(target_));
}

TEST_F(SafeFileTest, TemporaryWrittenByNameAfterClose) {
  safefile::PendingFile pending(target_);
  ASSERT_TRUE(pending.Close());
  // A writer that takes a path (and saves through this library itself) fills the reserved temporary.
  ASSERT_TRUE(safefile::WriteWholeFile(pending.temporary(), "by name", 7));
  ASSERT_TRUE(pending.Commit());
  EXPECT_EQ("by name", ReadAll(target_));
  EXPECT_FALSE(Exists(pending.temporary()));
}

TEST_F(SafeFileTest, ProtectedTargetsAreNotReplaced) {
  ASSERT_TRUE(safefile::WriteWholeFile(target_, "protected", 9));
  MakeReadOnly(target_, true);
  safefile::PendingFile pending(target_);
  ASSERT_NE(nullptr, pending.file());
  std::fputs("new", pending.file());
  EXPECT_FALSE(pending.Commit());
  EXPECT_EQ(safefile::Error::kTargetLocked, pending.error());
  EXPECT_FALSE(Exists(pending.temporary()));
  MakeReadOnly(target_, false);
  EXPECT_EQ("protected", ReadAll(target_));
#ifdef _WIN32
  // Held open by another without write sharing.
  HANDLE held = CreateFileA(target_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  safefile::PendingFile locked(target_);
  ASSERT_NE(nullptr, locked.file());
  EXPECT_FALSE(locked.Commit());
  EXPECT_EQ(safefile::Error::kTargetLocked, locked.error());
  CloseHandle(held);
  EXPECT_EQ("protected", ReadAll(target_));
#endif
}

TEST_F(SafeFileTest, NumberedFilesAreReservedInOrder) {
  const std::string stem = target_ + "_NXX";
  struct Step { const char* expected; } steps[] = {{"1.bmp"}, {"2.bmp"}, {"3.bmp"}};
  for (const Step& s : steps) EXPECT_EQ(stem + s.expected, safefile::CreateNumberedFile(stem, ".bmp", 1, 3));
  EXPECT_TRUE(Exists(stem + "1.bmp"));
  EXPECT_EQ("", safefile::CreateNumberedFile(stem, ".bmp", 1, 3));  // all taken
  EXPECT_EQ(0, std::remove((stem + "2.bmp").c_str()));
  EXPECT_EQ(stem + "2.bmp", safefile::CreateNumberedFile(stem, ".bmp", 1, 3));
  EXPECT_EQ("", safefile::CreateNumberedFile("no_such_folder/NXX", ".bmp", 1, 3));
  for (const char* n : {"1.bmp", "2.bmp", "3.bmp"}) std::remove((stem + n).c_str());
}

}  // namespace
