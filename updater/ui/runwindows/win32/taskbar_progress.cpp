#include "ui/runwindows/win32/taskbar_progress.h"

namespace qxu {

namespace {
// Named here so that the object does not depend on the uuid library's copies.
const CLSID kTaskbarListClass = {0x56FDF344, 0xFD6D, 0x11D0, {0x95, 0x8A, 0x00, 0x60, 0x97, 0xC9, 0xA0, 0x90}};
const IID kTaskbarList3 = {0xEA1AFB91, 0x9E28, 0x4B86, {0x90, 0xE9, 0x9E, 0x9F, 0x8A, 0x5E, 0xEF, 0xAF}};
}  // namespace

HRESULT TaskbarProgress::CreatePlatformObject(void** object) {
  return CoCreateInstance(kTaskbarListClass, nullptr, CLSCTX_ALL, kTaskbarList3, object);
}

bool TaskbarProgress::Create() {
  LockHold hold(lock_);
  if (list_) return true;
  void* object = nullptr;
  if (!factory_ || FAILED(factory_(&object)) || !object) return false;
  list_ = static_cast<ITaskbarList3*>(object);
  return true;
}

void TaskbarProgress::Release() {
  LockHold hold(lock_);
  if (list_) list_->Release();
  list_ = nullptr;
}

bool TaskbarProgress::Exists() {
  LockHold hold(lock_);
  return list_ != nullptr;
}

void TaskbarProgress::SetValue(HWND window, ULONGLONG done, ULONGLONG total) {
  LockHold hold(lock_);
  if (list_) list_->SetProgressValue(window, done, total);
}

void TaskbarProgress::SetState(HWND window, TBPFLAG state) {
  LockHold hold(lock_);
  if (list_) list_->SetProgressState(window, state);
}

void TaskbarProgress::SetOverlay(HWND window, HICON icon) {
  LockHold hold(lock_);
  if (list_) list_->SetOverlayIcon(window, icon, nullptr);
}

}  // namespace qxu
