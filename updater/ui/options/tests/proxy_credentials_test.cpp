#include "ui/options/core/proxy_credentials.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/support/core/password_scrambler.h"

namespace qxu {
namespace {

class ProxyCredentials : public ::testing::Test {
 protected:
  SettingsOptions& Fields() { return options_; }
  std::wstring Shown() {
    wchar_t out[kProxyTextChars];
    PasswordForDisplay(options_, out, kProxyTextChars);
    return out;
  }
  SettingsOptions options_;
  std::wstring& user_ = options_.proxyUser;
  std::wstring& password_ = options_.proxyPassword;
  std::wstring& scrambled_ = options_.proxyPasswordScrambled;
};

TEST_F(ProxyCredentials, PasswordIsKeptPlainAndScrambled) {
  EXPECT_EQ(1, TakeProxyCredentials(Fields(), L"alice", L"s3cret!"));
  EXPECT_EQ(L"alice", user_);
  EXPECT_EQ(L"s3cret!", password_);
  EXPECT_EQ(16u, scrambled_.size());
  EXPECT_EQ(std::wstring::npos, scrambled_.find(L"s3cret"));
  wchar_t back[kProxyTextChars];
  ASSERT_EQ(1, UnscramblePassword(scrambled_.c_str(), back, kProxyTextChars));
  EXPECT_EQ(L"s3cret!", std::wstring(back));
}

TEST_F(ProxyCredentials, EmptyTextsClearTheFields) {
  ASSERT_EQ(1, TakeProxyCredentials(Fields(), L"alice", L"s3cret!"));
  EXPECT_EQ(1, TakeProxyCredentials(Fields(), L"", L""));
  EXPECT_EQ(L"", user_);
  EXPECT_EQ(L"", password_);
  EXPECT_EQ(L"", scrambled_);
}

TEST_F(ProxyCredentials, APasswordThatCannotBeScrambledLeavesNoStaleForm) {
  ASSERT_EQ(1, TakeProxyCredentials(Fields(), L"alice", L"old-one"));
  EXPECT_EQ(0, TakeProxyCredentials(Fields(), L"alice", L"new one"));
  EXPECT_EQ(L"new one", password_);  // this run can still use it
  EXPECT_EQ(L"", scrambled_);        // the old one is not saved in its place
}

TEST_F(ProxyCredentials, DisplayPrefersPlainThenUnscrambles) {
  EXPECT_EQ(L"", Shown());
  wchar_t scrambled[64];
  ASSERT_EQ(1, ScramblePassword(L"from-file", scrambled, 64));
  scrambled_ = scrambled;  // as loaded from the setting file
  EXPECT_EQ(L"from-file", Shown());
  password_ = L"typed";
  EXPECT_EQ(L"typed", Shown());
  password_.clear();
  scrambled_[0] = L'!';  // no longer decodes
  EXPECT_EQ(L"", Shown());
}

TEST_F(ProxyCredentials, DisplayIsCutToTheBuffer) {
  password_ = L"abcdefgh";
  wchar_t out[4];
  PasswordForDisplay(options_, out, 4);
  EXPECT_EQ(L"abc", std::wstring(out));
}

}  // namespace
}  // namespace qxu
