#include "mail_tree.h"

#include <windows.h>

#include <stdexcept>

std::string MailTree::Folder(const std::string& relative) {
  const std::string path = root_ + relative;
  if (!CreateDirectoryW(qxtest::LongPath(qxtest::Widen(path)).c_str(), nullptr) &&
      GetLastError() != ERROR_ALREADY_EXISTS)
    throw std::runtime_error("cannot create " + path);
  return path + "\\";
}

std::string MailTree::File(const std::string& relative, const std::string& bytes) {
  const std::string path = root_ + relative;
  if (!qxtest::WriteBytes(qxtest::Widen(path), bytes)) throw std::runtime_error("cannot write " + path);
  return path;
}
