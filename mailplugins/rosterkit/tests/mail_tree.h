// A folder tree of mail files made for one test and removed afterwards.
#pragma once

#include <string>

class MailTree {
 public:
  MailTree();
  ~MailTree();
  MailTree(const MailTree&) = delete;
  MailTree& operator=(const MailTree&) = delete;

  // Root folder, ending with a backslash.
  const std::string& root() const { return root_; }
  // Paths are relative to the root, with backslashes.
  std::string Folder(const std::string& relative);
  std::string File(const std::string& relative, const std::string& bytes);

 private:
  std::string root_;
};

// Folder of the running test program, where the built DLLs lie.
std::string ModuleFolder();
