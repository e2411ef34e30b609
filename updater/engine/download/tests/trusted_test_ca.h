// Trust in the throw-away test CA of with_servers.sh, for this user of the
// Wine prefix and only while the object lives.
#pragma once
#include <windows.h>

#include <string>

class TrustedTestCa {
 public:
  // derPath: the CA certificate in DER form. Wine's chain engine reads the
  // root store once per process, so this must exist before the process
  // makes its first secure connection.
  explicit TrustedTestCa(const std::wstring& derPath);
  ~TrustedTestCa();
  TrustedTestCa(const TrustedTestCa&) = delete;
  TrustedTestCa& operator=(const TrustedTestCa&) = delete;
  bool installed() const { return installed_; }

 private:
  std::string der_;
  bool installed_ = false;
};
