// Form1 created inside the test process, with its own settings file.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app_test_support.h"
#include "main_window.h"

namespace vantilo::test {

class HostedWindow {
 public:
  // Creates the window; settings are read from folder\Vantilo.ini.
  explicit HostedWindow(const TempFolder& folder, std::vector<std::string> arguments = {});
  ~HostedWindow();
  HostedWindow(const HostedWindow&) = delete;
  HostedWindow& operator=(const HostedWindow&) = delete;

  MainWindow& Window() { return *window_; }
  HWND Hwnd() const { return window_->Hwnd(); }
  HWND Control(int id) const { return window_->Control(id); }
  std::wstring Text(int id) const;
  std::string AnsiText(int id) const;
  bool Checked(int id) const;
  std::wstring Hint(HWND control) const;
  // Control rectangle in the client coordinates of Form1.
  RECT Place(int id) const;

  // Handles whatever is queued for this thread.
  static void Pump();

 private:
  std::unique_ptr<MainWindow> window_;
};

// A drop block with narrow paths, as the shell hands it over.
HDROP MakeDrop(const std::vector<std::string>& paths);
// The same with UTF-16 paths, as the desktop shell of today sends them.
HDROP MakeWideDrop(const std::vector<std::wstring>& paths);

}  // namespace vantilo::test
