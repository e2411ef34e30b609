#include "ui/options/tests/dialog_fixture.h"

#include "engine/support/core/owned_string.h"

namespace qxu::testing {

void DialogFixture::SetUp() {
  library_.reset(LoadLibraryW(L"QxUpdate.Jpn.dll"));
  ASSERT_TRUE(library_);
  identity_.reset(CreateIdentity());
  ASSERT_TRUE(identity_);
  SetQxUpdateIdentity(identity_.get());
  identity_->osName = ReplaceString(identity_->osName, L"Windows 7");

  // The path is computed once per run and kept: setting it first keeps the
  // tests' files out of the program folder.
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  // A name of its own for every test: the platform's profile cache must not
  // answer from an earlier test's file of the same name.
  static int test = 0;
  settingFile_ = std::wstring(folder) + L"qxu-dialog-test-" +
                 std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++test) + L".ini";
  identity_->settingFilePath = ReplaceString(identity_->settingFilePath, settingFile_.c_str());
  SetFileAttributesW(settingFile_.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(settingFile_.c_str());

  context_.library = library_.get();
  context_.identity = identity_.get();
  context_.settings = &settings_;
  context_.options.information = &information_;
  context_.options.proxyUserUse = &proxyUserUse_;
  context_.options.proxyUser = &proxyUser_;
  context_.options.proxyPassword = &proxyPassword_;
  context_.options.proxyPasswordScrambled = &proxyPasswordScrambled_;
  ClearAssociation();
}

void DialogFixture::TearDown() {
  ClearAssociation();
  SetFileAttributesW(settingFile_.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(settingFile_.c_str());
  FreeString(proxyUser_);
  FreeString(proxyPassword_);
  FreeString(proxyPasswordScrambled_);
}

std::wstring DialogFixture::FileValue(const wchar_t* key) const {
  // Read from the file itself: the platform's profile cache of this process
  // may still hold the section as it was handed over, keys padded.
  HANDLE file = CreateFileW(settingFile_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return L"<none>";
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  std::wstring text;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    text.assign(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
  } else {
    text.resize(bytes.size());
    text.resize(MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                    text.data(), static_cast<int>(text.size())));
  }
  auto trim = [](std::wstring value) {
    const size_t first = value.find_first_not_of(L" \t\r");
    const size_t last = value.find_last_not_of(L" \t\r");
    return first == std::wstring::npos ? std::wstring() : value.substr(first, last - first + 1);
  };
  bool inSection = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = trim(text.substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line[0] == L'[') {
      inSection = _wcsicmp(line.c_str(), L"[QxUpdate]") == 0;
      continue;
    }
    const size_t equals = line.find(L'=');
    if (inSection && equals != std::wstring::npos &&
        _wcsicmp(trim(line.substr(0, equals)).c_str(), key) == 0)
      return trim(line.substr(equals + 1));
  }
  return L"<none>";
}

bool DialogFixture::FileExists() const {
  return GetFileAttributesW(settingFile_.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DialogFixture::ClearAssociation() {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\.quf");
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\QxUpdateFormat");
}

}  // namespace qxu::testing
