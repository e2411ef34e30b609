/* Rosterkit.dll: lists, counts and numbers the stored mail files of a host
 * mail program. Bind the functions by these plain names; all use WINAPI
 * (stdcall) and ANSI strings. Calls are made one at a time from the thread
 * that owns the list boxes. */
#ifndef ROSTERKIT_H
#define ROSTERKIT_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifdef ROSTERKIT_BUILD
#define ROSTERKIT_API
#else
#define ROSTERKIT_API __declspec(dllimport)
#endif

/* One summary line per entry of `pattern` ("  " or "* ", name, " / ",
 * subject, " / ", sender). `folder` ends with a backslash. `noUnreadMark` 1
 * shows every mail as read. Returns the number of entries found (folders
 * included), 0 when none, 1 when a found file cannot be opened. */
ROSTERKIT_API int WINAPI AddListMail(HWND listBox, const char* pattern, const char* folder, int noUnreadMark);

/* `folderPattern` is a folder followed by "\*". The tree is walked depth
 * first; names containing ".txt" are mail files. The library-wide counters
 * start at 0 when the library is loaded and are never reset. */
ROSTERKIT_API int WINAPI DirectoryFCount(const char* folderPattern);
ROSTERKIT_API int WINAPI RetMaxFName(const char* folderPattern);
ROSTERKIT_API int WINAPI SendFileToList(HWND listBox, const char* folderPattern);

typedef int(WINAPI* AddListMailProc)(HWND, const char*, const char*, int);
typedef int(WINAPI* DirectoryFCountProc)(const char*);
typedef int(WINAPI* RetMaxFNameProc)(const char*);
typedef int(WINAPI* SendFileToListProc)(HWND, const char*);

#ifdef __cplusplus
}
#endif

#endif
