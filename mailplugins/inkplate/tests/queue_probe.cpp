#include "queue_probe.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "win32/owned.h"

std::string QueueDir() {
  const char* dir = std::getenv("INKPLATE_QUEUE_DIR");
  return dir ? dir : "";
}

std::string WinePath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

namespace {

std::vector<std::vector<std::string>> SplitPages(const std::string& text) {
  std::vector<std::vector<std::string>> pages;
  std::string page;
  std::istringstream in(text);
  while (std::getline(in, page, '\f')) {
    if (in.eof()) break;  // what follows the last form feed is no page
    std::vector<std::string> lines;
    std::istringstream pageIn(page);
    std::string line;
    while (std::getline(pageIn, line)) {
      if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
      // The printer font's "hyphen" glyph comes back as U+00AD (soft hyphen).
      for (std::size_t at; (at = line.find("\xC2\xAD")) != std::string::npos;) line.replace(at, 2, "-");
      lines.push_back(line);
    }
    pages.push_back(lines);
  }
  return pages;
}

}  // namespace

QueueReport ReadQueue() {
  QueueReport report;
  const std::string dir = QueueDir();
  const char* script = std::getenv("INKPLATE_QUEUE_REPORT");
  if (dir.empty() || !script) return report;
  static int serial = 0;
  const std::string reportPath = dir + "/report-" + std::to_string(++serial) + ".txt";
  const std::string windowsReport = WinePath(reportPath);
  DeleteFileA(windowsReport.c_str());

  std::string command = "Z:\\bin\\sh " + std::string(script) + " " + dir + " " + reportPath;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return report;
  const qxtest::KernelHandle process(info.hProcess), thread(info.hThread);
  // A Linux child gives Wine nothing to wait on; the report appears by rename.
  std::ifstream in;
  for (int i = 0; i < 1200 && !in.is_open(); ++i) {
    in.open(windowsReport, std::ios::binary);
    if (!in.is_open()) Sleep(100);
  }
  if (!in.is_open()) return report;
  std::string key, pdfLine;
  in >> key >> report.jobs >> key >> report.pending >> key;
  std::getline(in, pdfLine);
  report.pdf = pdfLine.empty() ? "" : pdfLine.substr(1);
  std::stringstream rest;
  rest << in.rdbuf();
  report.pages = SplitPages(rest.str());
  report.ok = true;
  return report;
}
