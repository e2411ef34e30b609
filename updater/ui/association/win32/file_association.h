#pragma once
// The file type that makes the shell open update description files with
// QxUpdate, registered for the current user.
#include <windows.h>

namespace qxu {

// Writes extension -> typeName -> DefaultIcon, shell\open\command under
// HKEY_CURRENT_USER\Software\Classes. 1 when every key could be created;
// 0 otherwise (what was written before the failure stays) or when a name or
// value does not fit its buffer (nothing written then).
int RegisterAssociation(const wchar_t* typeName, const wchar_t* typeDescription,
                        const wchar_t* verbCaption, const wchar_t* command,
                        const wchar_t* extension, const wchar_t* iconFile, int iconIndex);

// As RegisterAssociation, for the given platform identifier (VER_PLATFORM_*):
// anything but the NT family writes short paths.
int RegisterAssociationForPlatform(DWORD platformId, const wchar_t* typeName,
                                   const wchar_t* typeDescription, const wchar_t* verbCaption,
                                   const wchar_t* command, const wchar_t* extension,
                                   const wchar_t* iconFile, int iconIndex);

// Deletes the extension and the type in HKEY_CLASSES_ROOT, then under
// HKEY_CURRENT_USER\Software\Classes. 1 when the type's key was deleted in
// either place.
int RemoveAssociation(const wchar_t* typeName, const wchar_t* extension);

// 1 when the extension's key and the type's shell\open\command exist.
int QueryAssociation(const wchar_t* typeName, const wchar_t* extension);

}  // namespace qxu
