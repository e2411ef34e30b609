#include "ui/options/win32/proxy_dialog.h"

#include <initializer_list>

#include "ui/identity/win32/program_identity.h"
#include "ui/lang/resource_ids.h"
#include "ui/options/win32/window_icons.h"
#include "ui/placement/win32/window_placement.h"

namespace qxu {
namespace {

struct ProxyState {
  const DialogContext* context = nullptr;
  const WindowIcons* icons = nullptr;
};
ProxyState g_proxy;

void EnableEdits(HWND dialog, int on) {
  EnableWindow(GetDlgItem(dialog, QXU_PROXY_USER), on ? TRUE : FALSE);
  EnableWindow(GetDlgItem(dialog, QXU_PROXY_PASSWORD), on ? TRUE : FALSE);
}

void InitProxy(HWND dialog) {
  const DialogContext& context = *g_proxy.context;
  g_proxy.icons->SetOn(dialog);
  CentreWindow(dialog, 0, nullptr);
  SetProgramTitle(context.identity, dialog);
  for (int edit : {QXU_PROXY_USER, QXU_PROXY_PASSWORD})
    SendDlgItemMessageW(dialog, edit, EM_LIMITTEXT, kProxyTextChars - 1, 0);
  if (context.options.proxyUser && *context.options.proxyUser)
    SetDlgItemTextW(dialog, QXU_PROXY_USER, *context.options.proxyUser);
  wchar_t password[kProxyTextChars];
  PasswordForDisplay(ProxyFieldsOf(context), password, kProxyTextChars);
  if (password[0]) SetDlgItemTextW(dialog, QXU_PROXY_PASSWORD, password);
  SecureZeroMemory(password, sizeof(password));
  const int use = context.options.proxyUserUse ? *context.options.proxyUserUse : 0;
  CheckDlgButton(dialog, QXU_PROXY_USE, use ? BST_CHECKED : BST_UNCHECKED);
  EnableEdits(dialog, use);
  SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
}

void Confirm(HWND dialog) {
  const DialogContext& context = *g_proxy.context;
  wchar_t user[kProxyTextChars] = {}, password[kProxyTextChars] = {};
  GetDlgItemTextW(dialog, QXU_PROXY_USER, user, kProxyTextChars);
  GetDlgItemTextW(dialog, QXU_PROXY_PASSWORD, password, kProxyTextChars);
  TakeProxyCredentials(ProxyFieldsOf(context), user, password);
  SecureZeroMemory(password, sizeof(password));
  SaveDialogSettings(context);
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK ProxyProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      InitProxy(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          Confirm(dialog);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        case QXU_PROXY_USE: {
          const int use = IsDlgButtonChecked(dialog, QXU_PROXY_USE) == BST_CHECKED ? 1 : 0;
          if (g_proxy.context->options.proxyUserUse) *g_proxy.context->options.proxyUserUse = use;
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
  WindowIcons icons(context.library);
  // The options dialog's state is not touched: this may run inside it.
  const ProxyState outer = g_proxy;
  g_proxy = ProxyState{&context, &icons};
  const INT_PTR result = DialogBoxParamW(context.library, MAKEINTRESOURCEW(QXU_DIALOG_PROXY_USER),
                                         nullptr, ProxyProc, 0);
  g_proxy = outer;
  return result == IDOK ? IDOK : IDCANCEL;
}

}  // namespace qxu
