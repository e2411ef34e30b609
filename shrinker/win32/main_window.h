// Form1, the shrinker's one window: controls, events, first showing, close.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "batch_driver.h"
#include "handles.h"
#include "picture/work_picture.h"
#include "settings_file.h"
#include "settings_model.h"

namespace vantilo {

struct AppOptions {
  std::string programPath;             // target of the desktop shortcut
  SettingsFiles settings;              // the ini file and its per-user stand-in
  std::vector<std::string> arguments;  // command line after the program name
  bool quitOnDestroy = true;           // end the thread's message loop on close
};

class MainWindow : private BatchHost {
 public:
  explicit MainWindow(AppOptions options);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  static bool RegisterClasses(HINSTANCE instance);

  // Creates and shows the window, then does the work of the first showing;
  // with arguments the batch runs here and the window is gone afterwards.
  HWND Create(HINSTANCE instance);

  HWND Hwnd() const { return hwnd_.Get(); }
  HWND Control(int id) const { return GetDlgItem(hwnd_.Get(), id); }
  bool BatchRunning() const { return batchRunning_; }
  HWND Tooltips() const { return tooltips_.Get(); }

  // Called after each file's preview is painted (tests, screenshots).
  void SetPreviewObserver(std::function<void()> observer) { previewObserver_ = std::move(observer); }

  // The option set as the controls hold it now, and the reverse with the
  // controls' own limits and change handlers.
  ShrinkSettings CurrentSettings() override;
  void ApplySettings(const ShrinkSettings& s);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

  void CreateControls();
  HWND AddControl(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
                  DWORD exStyle = 0);
  HWND AddLabel(const wchar_t* text, int x, int y, int id, HFONT font);
  void AddHint(HWND control, const wchar_t* text);
  void Paint(HDC dc);

  void FormShow();
  void FormClose();
  void LoadSettings();
  void SaveSettings();
  void HandleCommandLine();
  void EndWithoutSaving();
  void OnDrop(HDROP drop);
  void OnCommand(int id, int code);

  void OnEditChange(int id);
  void TrackBar1Change();
  void SetTrackPosition(int position);

  int SizeIndex() const;
  void SelectSize(int index);
  bool Checked(int id) const;
  void SetChecked(int id, bool on);
  void SelectRadio(int id);
  std::string TextOf(int id) const;
  void SetText(int id, const std::string& text);

  // BatchHost
  void ShowPreview(const WorkPicture& picture) override;
  void HidePreview() override;
  void SetAffixText(const std::string& text) override;
  void SetProgressRange(int maximum) override;
  void SetProgressPosition(int position) override;
  void HandlePendingEvents();

  AppOptions options_;
  // GDI objects outlive the windows that use them.
  GdiObject font_, versionFont_, background_, whiteBrush_, hatchBrush_;
  WindowHandle hwnd_;
  WindowHandle tooltips_;
  BatchDriver driver_;
  std::function<void()> previewObserver_;
  int trackPosition_ = 50;
  bool rotate_ = true;  // a setting without a control
  bool batchRunning_ = false;
  bool closePending_ = false;
  bool commandLineRun_ = false;
};

}  // namespace vantilo
