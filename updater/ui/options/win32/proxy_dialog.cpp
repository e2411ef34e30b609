#include "ui/options/win32/proxy_dialog.h"

#include <initializer_list>

#include "engine/identity/win32/program_identity.h"
#include "ui/lang/resource_ids.h"
#include "ui/options/win32/window_icons.h"
#include "ui/placement/win32/window_placement.h"

namespace qxu {
namespace {

// What one open proxy dialog works on; it lives on ShowProxyDialog's stack.
struct ProxyState {
  const DialogContext* context = nullptr;
  const WindowIcons* icons = nullptr;
};

ProxyState& StateOf(HWND dialog) { return *reinterpret_cast<ProxyState*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

void EnableEdits(HWND dialog, int on) {
  EnableWindow(GetDlgItem(dialog, QXU_PROXY_USER), on ? TRUE : FALSE);
  EnableWindow(GetDlgItem(dialog, QXU_PROXY_PASSWORD), on ? TRUE : FALSE);
}

void InitProxy(HWND dialog) {
  const ProxyState& state = StateOf(dialog);
  const DialogContext& context = *state.context;
  const SettingsOptions& options = *context.options;
  state.icons->SetOn(dialog);
  CentreWindow(dialog, 0, nullptr);
  SetProgramTitle(context.identity, dialog);
  for (int edit : {QXU_PROXY_USER, QXU_PROXY_PASSWORD})
    SendDlgItemMessageW(dialog, edit, EM_LIMITTEXT, kProxyTextChars - 1, 0);
  if (!options.proxyUser.empty()) SetDlgItemTextW(dialog, QXU_PROXY_USER, options.proxyUser.c_str());
  wchar_t password[kProxyTextChars];
  PasswordForDisplay(options, password, kProxyTextChars);
  if (password[0]) SetDlgItemTextW(dialog, QXU_PROXY_PASSWORD, password);
  SecureZeroMemory(password, sizeof(password));
  const int use = options.proxyUserUse;
  CheckDlgButton(dialog, QXU_PROXY_USE, use ? BST_CHECKED : BST_UNCHECKED);
  EnableEdits(dialog, use);
  SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
}

void Confirm(HWND dialog) {
  const DialogContext& context = *StateOf(dialog).context;
  wchar_t user[kProxyTextChars] = {}, password[kProxyTextChars] = {};
  GetDlgItemTextW(dialog, QXU_PROXY_USER, user, kProxyTextChars);
  GetDlgItemTextW(dialog, QXU_PROXY_PASSWORD, password, kProxyTextChars);
  TakeProxyCredentials(*context.options, user, password);
  SecureZeroMemory(password, sizeof(password));
  SaveDialogSettings(context);
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK ProxyProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      InitProxy(dialog);
      return TRUE;
    case WM_COMMAND:
      if (!GetWindowLongPtrW(dialog, DWLP_USER)) return FALSE;
      switch (LOWORD(wParam)) {
        case IDOK:
          Confirm(dialog);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        case QXU_PROXY_USE: {
          const int use = IsDlgButtonChecked(dialog, QXU_PROXY_USE) == BST_CHECKED ? 1 : 0;
          StateOf(dialog).context->options->proxyUserUse = use;
          EnableEdits(dialog, use);
          return TRUE;
        }
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

int ShowProxyDialog(const DialogContext& context) {
  if (!context.options) return IDCANCEL;
  WindowIcons icons(context.library);
  ProxyState state{&context, &icons};
  const INT_PTR result = DialogBoxParamW(context.library, MAKEINTRESOURCEW(QXU_DIALOG_PROXY_USER),
                                         nullptr, ProxyProc, reinterpret_cast<LPARAM>(&state));
  return result == IDOK ? IDOK : IDCANCEL;
}

}  // namespace qxu
