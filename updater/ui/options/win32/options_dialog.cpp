#include "ui/options/win32/options_dialog.h"

#include <string>

#include "ui/about/win32/about_dialog.h"
#include "ui/association/win32/file_association.h"
#include "ui/options/win32/help_display.h"
#include "engine/identity/win32/program_identity.h"
#include "ui/lang/resource_ids.h"
#include "ui/options/win32/option_tooltips.h"
#include "ui/options/win32/proxy_dialog.h"
#include "ui/options/win32/window_icons.h"
#include "ui/placement/win32/window_placement.h"

namespace qxu {
namespace {

// What one open options dialog works on; it lives on ShowOptionsDialog's stack.
struct OptionsState {
  const DialogContext* context = nullptr;
  const WindowIcons* icons = nullptr;
  OptionTooltips tooltips;
};

OptionsState& StateOf(HWND dialog) {
  return *reinterpret_cast<OptionsState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

const wchar_t* ProgramPath(const OptionsState& state) {
  ProgramIdentity* identity = state.context->identity;
  return identity && identity->programPath ? identity->programPath : L"";
}

int AssociationPresent() { return QueryAssociation(kAssociationTypeName, kAssociationExtension); }

void SetCheck(HWND dialog, int control, int on) {
  CheckDlgButton(dialog, control, on ? BST_CHECKED : BST_UNCHECKED);
}

int IsTicked(HWND dialog, int control) {
  return IsDlgButtonChecked(dialog, control) == BST_CHECKED ? 1 : 0;
}

void ChangeAssociation(HWND dialog, const OptionsState& state) {
  const wchar_t* caption = MessageCaption(state.context->identity);
  if (IsTicked(dialog, QXU_OPTIONS_ASSOCIATE)) {
    if (MessageBoxW(dialog, kAssociateQuestion, kAssociateQuestionCaption,
                    MB_OKCANCEL | MB_ICONQUESTION) == IDOK &&
        RegisterAssociation(kAssociationTypeName, kOptionsTypeDescription, kAssociationVerbCaption,
                            ProgramPath(state), kAssociationExtension, ProgramPath(state),
                            kAssociationIconIndex) == 1)
      // Told only when it worked; the box shows the real state either way.
      MessageBoxW(dialog, kAssociated, caption, MB_OK | MB_ICONINFORMATION);
  } else {
    if (MessageBoxW(dialog, kRemoveAssociationQuestion, caption, MB_YESNO | MB_ICONQUESTION) ==
        IDYES) {
      RemoveAssociation(kAssociationTypeName, kAssociationExtension);
      if (!AssociationPresent()) MessageBoxW(dialog, kAssociationRemoved, caption, MB_OK | MB_ICONINFORMATION);
    }
  }
  SetCheck(dialog, QXU_OPTIONS_ASSOCIATE, AssociationPresent());
}

void ShowProgramHelp(HWND dialog, const OptionsState& state) {
  ProgramIdentity* identity = state.context->identity;
  std::wstring file = identity && identity->programFolder ? identity->programFolder : L"";
  file += kHelpFileName;
  ShowHelp(identity, dialog, file.c_str(), kHelpTopic);
}

void InitOptions(HWND dialog, OptionsState& state) {
  const DialogContext& context = *state.context;
  state.icons->SetOn(dialog);
  SetProgramTitle(context.identity, dialog);
  CentreWindow(dialog, 0, nullptr);
  SetCheck(dialog, QXU_OPTIONS_INFORMATION, context.options ? context.options->information : 0);
  SetCheck(dialog, QXU_OPTIONS_AUTO_UPDATE, context.settings ? context.settings->autoUpdate : 0);
  SetCheck(dialog, QXU_OPTIONS_ASSOCIATE, AssociationPresent());
  SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
  state.tooltips.Rebuild(dialog, true);
}

// Ends the dialog with result; the tooltips go first.
void Finish(HWND dialog, int result) {
  StateOf(dialog).tooltips.Rebuild(dialog, false);
  EndDialog(dialog, result);
}

bool OnCommand(HWND dialog, int command) {
  OptionsState& state = StateOf(dialog);
  const DialogContext& context = *state.context;
  switch (command) {
    case IDOK:
      SaveDialogSettings(context);
      Finish(dialog, IDOK);
      return true;
    case IDCANCEL:
      Finish(dialog, IDCANCEL);
      return true;
    case kOptionsSelfUpdateNow:
      Finish(dialog, kOptionsSelfUpdateNow);
      return true;
    case QXU_OPTIONS_HELP:
      ShowProgramHelp(dialog, state);
      break;
    case QXU_OPTIONS_PROXY:
      ShowProxyDialog(context);
      break;
    case QXU_OPTIONS_ASSOCIATE:
      ChangeAssociation(dialog, state);
      break;
    case QXU_OPTIONS_ABOUT:
      ShowAboutDialog(context.library, QXU_DIALOG_ABOUT, dialog, state.icons->big(),
                      state.icons->small(), nullptr, context.identity, 1);
      break;
    case QXU_OPTIONS_INFORMATION:
      if (context.options) context.options->information = IsTicked(dialog, QXU_OPTIONS_INFORMATION);
      SaveDialogSettings(context);
      break;
    case QXU_OPTIONS_AUTO_UPDATE:
      if (context.settings) context.settings->autoUpdate = IsTicked(dialog, QXU_OPTIONS_AUTO_UPDATE);
      SaveDialogSettings(context);
      break;
    default:
      return false;
  }
  // The dialog stays: the tooltips are made anew so they are this dialog's.
  state.tooltips.Rebuild(dialog, true);
  return true;
}

INT_PTR CALLBACK OptionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      InitOptions(dialog, StateOf(dialog));
      return TRUE;
    case WM_COMMAND:
      if (!GetWindowLongPtrW(dialog, DWLP_USER)) return FALSE;
      return OnCommand(dialog, LOWORD(wParam)) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

HWND OptionTooltipOf(HWND dialog, int slot) {
  auto* state = reinterpret_cast<const OptionsState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  return state ? state->tooltips.Slot(slot) : nullptr;
}

int ShowOptionsDialog(const DialogContext& context) {
  WindowIcons icons(context.library);
  OptionsState state;
  state.context = &context;
  state.icons = &icons;
  const INT_PTR result = DialogBoxParamW(context.library, MAKEINTRESOURCEW(QXU_DIALOG_OPTIONS), nullptr,
                                         OptionsProc, reinterpret_cast<LPARAM>(&state));
  // A dialog that could not be made counts as closed, so the caller ends.
  if (result != IDOK && result != kOptionsSelfUpdateNow) return IDCANCEL;
  return static_cast<int>(result);
}

}  // namespace qxu
