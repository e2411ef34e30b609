/* Inkplate.dll: prints one stored mail file through the print dialog.
   Bind by name: GetProcAddress(module, "PrintChar"). */
#ifndef INKPLATE_H
#define INKPLATE_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* file: path of the mail file (ANSI code page).
   pageHeight: printable height in printer device units; a page ends when the
     next row would pass it.
   printAll: 0 prints the Subject/From/To header lines, the separator and the
     body; any other value prints every line of the file.
   owner: window that owns the print dialog.
   Returns 0 when the document was printed, 1 when the file can't be opened or
   the print dialog was cancelled or failed. */
int WINAPI PrintChar(LPCSTR file, int pageHeight, int printAll, HWND owner);

typedef int(WINAPI* PrintCharProc)(LPCSTR file, int pageHeight, int printAll, HWND owner);

#ifdef __cplusplus
}
#endif

#endif
