// The loopback servers that testsupport/servers/with_servers.sh starts
// around a test program (HTTP, HTTPS with a throw-away CA, HTTPS with a CA
// nobody trusts, FTP, an authenticating proxy), as the test program sees them.
#pragma once
#include <windows.h>

#include <string>

namespace qxtest {

// Ports and paths the wrapper passes in its environment (0 or empty when
// the program runs without it).
int ServerPort(const char* variable);  // QX_TEST_HTTP_PORT, QX_TEST_HTTPS_PORT, ...
std::wstring ServerPath(const char* variable);  // QX_TEST_DOCROOT, QX_TEST_CA
bool ServersRunning();

std::wstring HttpUrl(const std::wstring& pathAndMode);
std::wstring HttpsUrl(const std::wstring& pathAndMode, const wchar_t* scheme = L"https");
// The same files over FTP: a response without any HTTP status.
std::wstring FtpUrl(const std::wstring& path);

// A file in the servers' document root, removed again at the end.
class ServedFile {
 public:
  ServedFile(const std::wstring& name, const std::string& bytes, const FILETIME* lastWrite = nullptr);
  ~ServedFile();
  ServedFile(const ServedFile&) = delete;
  ServedFile& operator=(const ServedFile&) = delete;
  const std::wstring& name() const { return name_; }
  std::wstring url() const { return HttpUrl(name_); }

 private:
  std::wstring name_;
  std::wstring path_;
};

// Trust in the wrapper's throw-away CA for this user of the Wine prefix,
// only while the object lives. The platform's chain engine reads the root
// store once per process: create it before the first secure connection.
class TrustedTestCa {
 public:
  TrustedTestCa();
  ~TrustedTestCa();
  TrustedTestCa(const TrustedTestCa&) = delete;
  TrustedTestCa& operator=(const TrustedTestCa&) = delete;
  bool installed() const { return installed_; }

 private:
  std::string der_;
  bool installed_ = false;
};

}  // namespace qxtest
