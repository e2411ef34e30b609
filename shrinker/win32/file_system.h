// File-system look-ups of the batch, on narrow (ANSI) paths.
#pragma once
#include <string>

namespace vantilo {

// The path with its file-name part replaced by the stored name of the first
// match (any attribute, wildcards allowed); unchanged when nothing matches.
std::string LookUpName(const std::string& path);

bool DirectoryExists(const std::string& path);

// True when both paths open the same file or folder (same volume and file
// index), which also sees through links, short names and "..".
bool SameFile(const std::string& a, const std::string& b);

// What tells files apart whatever path names them: volume and file index.
struct FileId {
  unsigned long volume = 0, high = 0, low = 0;
  bool operator==(const FileId& o) const { return volume == o.volume && high == o.high && low == o.low; }
};
// The identity of an existing file or folder, or false.
bool FileIdOf(const std::string& path, FileId& id);

// Full path against the current working directory.
std::string AbsolutePath(const std::string& path);

// Appends text and a line end to the file at path, creating it when missing.
bool AppendLine(const std::string& path, const std::string& text);

}  // namespace vantilo
