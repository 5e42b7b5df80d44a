#pragma once
// Identifiers shared by the resource script and the code. Kept free of C++ so the resource
// compiler can read it.

#define IDR_MAIN_MENU 100
#define IDR_ACCELERATORS 101
#define IDD_PROMPT 200
#define IDC_PROMPT_LABEL 201
#define IDC_PROMPT_TEXT 202
#define IDC_ZOOM_BOX 300

// File
#define ID_FILE_OPEN 1000
#define ID_FILE_OPEN_ADDRESS 1001
#define ID_FILE_SAVE_COPY 1002
#define ID_FILE_PRINT_DIALOG 1003
#define ID_FILE_PRINT_ALL 1004
#define ID_FILE_EXIT 1005
// Edit
#define ID_EDIT_COPY_TEXT 1100
#define ID_EDIT_SEARCH 1101
// Go
#define ID_GO_FIRST 1200
#define ID_GO_PREVIOUS 1201
#define ID_GO_NEXT 1202
#define ID_GO_LAST 1203
#define ID_GO_PAGE 1204
// View: zoom
#define ID_ZOOM_IN 1300
#define ID_ZOOM_OUT 1301
#define ID_ZOOM_APPLY 1302
// View: layout modes, in LayoutMode order
#define ID_LAYOUT_DONT_CARE 1310
#define ID_LAYOUT_SINGLE_PAGE 1311
#define ID_LAYOUT_ONE_COLUMN 1312
#define ID_LAYOUT_TWO_COLUMN_LEFT 1313
#define ID_LAYOUT_TWO_COLUMN_RIGHT 1314
// View: page modes, in PageMode order
#define ID_PAGE_MODE_NONE 1320
#define ID_PAGE_MODE_BOOKMARKS 1321
#define ID_PAGE_MODE_THUMBS 1322
// View: view modes, in ViewMode order
#define ID_VIEW_FIT 1330
#define ID_VIEW_FIT_H 1331
#define ID_VIEW_FIT_V 1332
#define ID_VIEW_FIT_B 1333
#define ID_VIEW_FIT_BH 1334
#define ID_VIEW_FIT_BV 1335
// View: the viewer's own toolbar and navigation bar
#define ID_BAR_SHOW_TOOLBAR 1400
#define ID_BAR_HIDE_TOOLBAR 1401
#define ID_BAR_CLOSE_TOOLBAR 1402
#define ID_BAR_ENABLE_TOOLBAR 1403
#define ID_BAR_DISABLE_TOOLBAR 1404
#define ID_BAR_ENABLE_NAVIGATION 1405
#define ID_BAR_DISABLE_NAVIGATION 1406
// Restrictions (check items)
#define ID_RESTRICT_PRINT_DIALOG 1500
#define ID_RESTRICT_SAVE_DIALOG 1501
#define ID_RESTRICT_SAVE_KEYS 1502
