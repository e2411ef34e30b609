/* Identifiers of the language resource library, shared by its resource
   script and the program. Plain defines: the resource compiler reads this. */
#ifndef QXU_LANG_RESOURCE_IDS_H
#define QXU_LANG_RESOURCE_IDS_H

#define QXU_ICON_PROGRAM 10 /* 32x32 window icon; 16x16 small and resting tray icon */
#define QXU_ICON_TRAY_FRAME1 12
#define QXU_ICON_TRAY_FRAME2 13
#define QXU_ICON_TRAY_FRAME3 14
#define QXU_ICON_TRAY_FRAME4 15
#define QXU_ICON_UNCHECKED 20
#define QXU_ICON_CHECKED 21

#define QXU_DIALOG_ABOUT 101
#define QXU_DIALOG_CONFIRM 102
#define QXU_DIALOG_OPTIONS 201
#define QXU_DIALOG_PROGRESS 202
#define QXU_DIALOG_PROXY_USER 203

/* About dialog (101); closed by command 2. */
#define QXU_ABOUT_DESCRIPTION 1001
#define QXU_ABOUT_VERSION 1002
#define QXU_ABOUT_COPYRIGHT 1003
#define QXU_ABOUT_LINK 1004

/* Confirm window (102) with buttons 1 (action) and 2 (close). */
#define QXU_CONFIRM_LIST 2025
#define QXU_CONFIRM_PROGRESS 2026

/* Progress window (202) with button 1 (cancel). */
#define QXU_PROGRESS_STATUS 2001
#define QXU_PROGRESS_SECOND_LINE 2002
#define QXU_PROGRESS_BAR 2003

/* Options dialog (201) with buttons 1 (OK) and 2 (close). */
#define QXU_OPTIONS_SELF_UPDATE 2301
#define QXU_OPTIONS_PROXY 2302
#define QXU_OPTIONS_ASSOCIATE 2304
#define QXU_OPTIONS_ABOUT 2305
#define QXU_OPTIONS_INFORMATION 2306
#define QXU_OPTIONS_AUTO_UPDATE 2307
#define QXU_OPTIONS_HELP 9

/* Proxy user dialog (203) with buttons 1 (OK) and 2 (cancel). */
#define QXU_PROXY_USE 2201
#define QXU_PROXY_USER 2202
#define QXU_PROXY_PASSWORD 2203

#endif
