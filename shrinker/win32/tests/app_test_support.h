// Files, folders and processes for the Vantilo tests under Wine.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "picture/work_picture.h"

namespace vantilo::test {

// A fresh folder under the temporary folder, removed with its content.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }  // no trailing separator
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// Gradient picture with a little structure, distinct per seed.
WorkPicture MakePicture(int width, int height, int seed);

void WriteBmp(const std::string& path, const WorkPicture& picture);
void WriteJpeg(const std::string& path, const WorkPicture& picture);
void WritePng(const std::string& path, const WorkPicture& picture);
void WriteText(const std::string& path, const std::string& text);

std::vector<std::uint8_t> ReadBytes(const std::string& path);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Names in a folder, without "." and "..", sorted.
std::vector<std::string> ListFolder(const std::string& folder);

// The folder of the running test program (where Vantilo.exe is built).
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

// Today's page file name.
std::string TodayPageName();

}  // namespace vantilo::test
