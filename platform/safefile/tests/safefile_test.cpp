// Tests that writes replace the old file only when complete and never leave temporary files behind.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include "safefile/safefile.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

class SafeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    target_ = std::string("safefile_test_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::remove(target_.c_str());
  }
  void TearDown() override { std::remove(target_.c_str()); }
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
}

TEST_F(SafeFileTest, TemporaryNameSkipsTakenNames) {
  const std::string first = safefile::TemporaryNameBeside(target_);
  ASSERT_FALSE(first.empty());
  ASSERT_TRUE(safefile::WriteWholeFile(first, "taken", 5));
  const std::string second = safefile::TemporaryNameBeside(target_);
  EXPECT_NE(first, second);
  // Another writer's temporary is never reused or removed.
  ASSERT_TRUE(safefile::WriteWholeFile(target_, "mine", 4));
  EXPECT_EQ("mine", ReadAll(target_));
  EXPECT_EQ("taken", ReadAll(first));
  EXPECT_EQ(0, std::remove(first.c_str()));
}

TEST_F(SafeFileTest, MoveIntoPlaceFailureLeavesBothFiles) {
  ASSERT_TRUE(safefile::WriteWholeFile(target_, "kept", 4));
  EXPECT_FALSE(safefile::MoveIntoPlace(target_ + ".missing", target_));
  EXPECT_EQ("kept", ReadAll(target_));
}

}  // namespace
