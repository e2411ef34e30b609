// A folder tree of mail files made for one test and removed afterwards.
#pragma once

#include <string>

#include "win32/files.h"

class MailTree {
 public:
  MailTree() : root_(folder_.pathA() + "\\") {}

  // Root folder, ending with a backslash.
  const std::string& root() const { return root_; }
  // Paths are relative to the root, with backslashes; trees may go deeper
  // than the platform's usual path limit.
  std::string Folder(const std::string& relative);
  std::string File(const std::string& relative, const std::string& bytes);

 private:
  qxtest::TempFolder folder_{L"rk"};
  std::string root_;
};
