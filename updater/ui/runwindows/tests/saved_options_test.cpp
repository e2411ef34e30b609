#include "ui/runwindows/core/saved_options.h"

#include <gtest/gtest.h>

namespace qxu {
namespace {

TEST(SavedOptions, KeepsCopiesIndependentOfTheRecord) {
  wchar_t user[] = L"alice";
  SavedOptions s = TakeSavedOptions(1, 1, user, nullptr);
  user[0] = L'X';  // the record's string changes or is freed later
  EXPECT_TRUE(s.taken);
  EXPECT_EQ(s.proxyUser, L"alice");
  EXPECT_TRUE(s.proxyPasswordScrambled.empty());
  EXPECT_EQ(s.information, 1);
}

}  // namespace
}  // namespace qxu
