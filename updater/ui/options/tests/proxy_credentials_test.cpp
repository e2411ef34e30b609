#include "ui/options/core/proxy_credentials.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/support/core/owned_string.h"
#include "engine/support/core/password_scrambler.h"

namespace qxu {
namespace {

class ProxyCredentials : public ::testing::Test {
 protected:
  void TearDown() override {
    FreeString(user_);
    FreeString(password_);
    FreeString(scrambled_);
  }
  ProxyCredentialFields Fields() { return {&user_, &password_, &scrambled_}; }
  std::wstring Shown() {
    wchar_t out[kProxyTextChars];
    PasswordForDisplay(Fields(), out, kProxyTextChars);
    return out;
  }
  wchar_t* user_ = nullptr;
  wchar_t* password_ = nullptr;
  wchar_t* scrambled_ = nullptr;
};

TEST_F(ProxyCredentials, PasswordIsKeptPlainAndScrambled) {
  EXPECT_EQ(1, TakeProxyCredentials(Fields(), L"alice", L"s3cret!"));
  ASSERT_TRUE(user_ && password_ && scrambled_);
  EXPECT_EQ(L"alice", std::wstring(user_));
  EXPECT_EQ(L"s3cret!", std::wstring(password_));
  EXPECT_EQ(16u, std::wstring(scrambled_).size());
  EXPECT_EQ(std::wstring::npos, std::wstring(scrambled_).find(L"s3cret"));
  wchar_t back[kProxyTextChars];
  ASSERT_EQ(1, UnscramblePassword(scrambled_, back, kProxyTextChars));
  EXPECT_EQ(L"s3cret!", std::wstring(back));
}

TEST_F(ProxyCredentials, EmptyTextsClearTheFields) {
  ASSERT_EQ(1, TakeProxyCredentials(Fields(), L"alice", L"s3cret!"));
  EXPECT_EQ(1, TakeProxyCredentials(Fields(), L"", L""));
  EXPECT_EQ(nullptr, user_);
  EXPECT_EQ(nullptr, password_);
  EXPECT_EQ(nullptr, scrambled_);
}

TEST_F(ProxyCredentials, APasswordThatCannotBeScrambledLeavesNoStaleForm) {
  ASSERT_EQ(1, TakeProxyCredentials(Fields(), L"alice", L"old-one"));
  EXPECT_EQ(0, TakeProxyCredentials(Fields(), L"alice", L"new one"));
  ASSERT_TRUE(password_);
  EXPECT_EQ(L"new one", std::wstring(password_));  // this run can still use it
  EXPECT_EQ(nullptr, scrambled_);                  // the old one is not saved in its place
}

TEST_F(ProxyCredentials, DisplayPrefersPlainThenUnscrambles) {
  EXPECT_EQ(L"", Shown());
  wchar_t scrambled[64];
  ASSERT_EQ(1, ScramblePassword(L"from-file", scrambled, 64));
  scrambled_ = DupString(scrambled);  // as loaded from the setting file
  EXPECT_EQ(L"from-file", Shown());
  password_ = DupString(L"typed");
  EXPECT_EQ(L"typed", Shown());
  FreeString(password_);
  password_ = nullptr;
  scrambled_[0] = L'!';  // no longer decodes
  EXPECT_EQ(L"", Shown());
}

TEST_F(ProxyCredentials, DisplayIsCutToTheBuffer) {
  password_ = DupString(L"abcdefgh");
  wchar_t out[4];
  PasswordForDisplay(Fields(), out, 4);
  EXPECT_EQ(L"abc", std::wstring(out));
}

}  // namespace
}  // namespace qxu
