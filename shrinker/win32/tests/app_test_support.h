// Files, folders and processes for the Vantilo tests under Wine.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "picture/work_picture.h"
#include "win32/files.h"

namespace vantilo::test {

using qxtest::TempFolder;

// Gradient picture with a little structure, distinct per seed.
WorkPicture MakePicture(int width, int height, int seed);

void WriteBmp(const std::string& path, const WorkPicture& picture);
void WriteJpeg(const std::string& path, const WorkPicture& picture);
// The same with an EXIF block whose orientation tag says how to turn it.
void WriteJpegWithOrientation(const std::string& path, const WorkPicture& picture, int orientation);
// The picture a quarter turn clockwise, as a viewer shows orientation 6.
WorkPicture QuarterTurnClockwise(const WorkPicture& picture);
void WritePng(const std::string& path, const WorkPicture& picture);
// A one-image GIF with a 3-3-2 palette, and a one-component gray JPEG.
void WriteGif(const std::string& path, const WorkPicture& picture);
void WriteGrayJpeg(const std::string& path, const WorkPicture& picture);
void WriteText(const std::string& path, const std::string& text);

// Narrow forms of the support library's file functions, for these tests'
// ANSI paths.
std::vector<std::uint8_t> ReadBytes(const std::string& path);
inline bool FileExists(const std::string& path) { return qxtest::FileExists(qxtest::Widen(path)); }
inline bool FolderExists(const std::string& path) { return qxtest::FolderExists(qxtest::Widen(path)); }
// Names in a folder, without "." and "..", sorted.
std::vector<std::string> ListFolder(const std::string& folder);

// The folder of the running test program (where Vantilo.exe is built),
// without a trailing separator.
std::string BinFolder();

// Copies Vantilo.exe into folder, runs it there with the argument text in
// workingFolder and returns its exit code (-1 on time-out or start failure).
int RunVantilo(const std::string& folder, const std::string& arguments, const std::string& workingFolder);

// Writes key=value pairs to the ini at path.
void WriteIni(const std::string& path, const std::string& section,
              const std::vector<std::pair<std::string, std::string>>& values);
std::string IniValue(const std::string& path, const std::string& section, const std::string& key);

// Output of the pipeline for one source under the given options, built
// straight from the picture functions (quality <= 0: size mode in KByte).
struct PipelineOptions {
  int boxWidth = 1280, boxHeight = 1280;
  bool saturation = false;
  bool sharpen = true;
  int strength = 80;
  int quality = 92;
  int targetKByte = 0;
  bool gray = false;
  bool progressive = false;
};
std::vector<std::uint8_t> ExpectedOutput(const std::string& source, const PipelineOptions& options);
std::vector<std::uint8_t> ExpectedOutputOf(WorkPicture picture, const PipelineOptions& options);

// Sets a registry value of the test's own (name nullptr: the key's default
// value) and puts the old state back afterwards, removing a key it made.
class RegistryValue {
 public:
  RegistryValue(HKEY root, const std::string& keyPath, const char* name, const std::string& value);
  ~RegistryValue();
  RegistryValue(const RegistryValue&) = delete;
  RegistryValue& operator=(const RegistryValue&) = delete;

 private:
  HKEY root_;
  std::string path_;
  const char* name_;
  HKEY key_ = nullptr;
  bool madeKey_ = false;
  bool had_ = false;
  DWORD type_ = REG_SZ;
  std::vector<BYTE> old_;
};

// A user shell folder ("Desktop", "AppData") pointed at a folder of the
// test's own. The shell refreshes "Shell Folders" from "User Shell
// Folders", so both are redirected.
struct ShellFolderRedirect {
  ShellFolderRedirect(const char* name, const std::string& folder);
  RegistryValue shell, user;
};

// While it lives, opening an .html file with its default handler copies the
// file to target; the association goes back as it was afterwards.
class HtmlOpenerCopiesTo {
 public:
  explicit HtmlOpenerCopiesTo(const std::string& target);
  ~HtmlOpenerCopiesTo();

 private:
  RegistryValue extension_;
  RegistryValue command_;
};

// Today's page file name.
std::string TodayPageName();

}  // namespace vantilo::test
