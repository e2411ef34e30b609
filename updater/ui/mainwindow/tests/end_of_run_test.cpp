#include "ui/mainwindow/core/end_of_run.h"

#include <gtest/gtest.h>

namespace qxu {
namespace {

TEST(Restart, OpenedAfterEveryRunUnlessNoRestartAndNothingUpdated) {
  EXPECT_TRUE(ShouldOpenRestart(L"C:\\app.exe", 0, 0));
  EXPECT_TRUE(ShouldOpenRestart(L"C:\\app.exe", 0, -1));  // aborted
  EXPECT_TRUE(ShouldOpenRestart(L"C:\\app.exe", 1, 3));
  EXPECT_FALSE(ShouldOpenRestart(L"C:\\app.exe", 1, 0));
  EXPECT_FALSE(ShouldOpenRestart(L"C:\\app.exe", 1, -1));
  EXPECT_FALSE(ShouldOpenRestart(nullptr, 0, 5));
  EXPECT_FALSE(ShouldOpenRestart(L"", 0, 5));
}

TEST(DescriptionFile, DeletedOnlyWhenAskedAndPresent) {
  EXPECT_TRUE(ShouldDeleteDescription(L"C:\\a.quf", 1, true));
  EXPECT_FALSE(ShouldDeleteDescription(L"C:\\a.quf", 0, true));
  EXPECT_FALSE(ShouldDeleteDescription(L"C:\\a.quf", 1, false));
  EXPECT_FALSE(ShouldDeleteDescription(nullptr, 1, true));
}

}  // namespace
}  // namespace qxu
