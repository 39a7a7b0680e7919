// Resource ids of the program: string ids and control ids are named after their role. The
// numbers are fixed; the page logic and the translations depend on them.
#pragma once

// Messages
#define IDS_SETTINGS_FILE_FAILED 141       // %s: the settings file name
#define IDS_START_FAILED 1022              // the application list could not be installed
#define IDS_APPLICATION_NOT_PERMITTED 1108 // the program picked to be added is not listed under IDS_APPLICATIONS_KEY
#define IDS_NO_MAIN_WINDOW 1901            // %s: the system's error number; the main window could not be created
#define IDS_MAIN_WINDOW_GAVE_UP 1902       // the main window ended before it was shown (on standard error only)
#define IDS_PROGRAM_PATH_TOO_LONG 1109     // the program picked to be added does not fit the entry's fields

// Registry key paths (under HKEY_CURRENT_USER / HKEY_LOCAL_MACHINE). They name keys, not things the user reads,
// so they are never translated.
#define IDS_DRIVER_KEY 1106       // HKCU, value "Path": the driver's folder name
#define IDS_APPLICATIONS_KEY 1107 // HKLM, one subkey per executable that may be added as an application
#define IDS_MAIL_CLIENTS_KEY 1120 // HKLM, default value: the default mail client; subkeys: the mail clients

// Warnings when a page has no destination to offer; each is also the hint over that page's empty list
#define IDS_NO_MAIL_CLIENT 1066
#define IDS_NO_PRINTER 1071
#define IDS_NO_APPLICATION 1086
// Hints over an empty destination list of a page that does not warn
#define IDS_NO_RECOGNITION_APPLICATION 1093
#define IDS_NO_DUZAR_APPLICATION 1124

// Scan mode list entries, by bit of bColorModes. The list finds an entry by prefix, so none of them may begin
// with another, in any language.
#define IDS_SCAN_MODE_COLOR 111       // 0x1
#define IDS_SCAN_MODE_GRAY 112        // 0x2
#define IDS_SCAN_MODE_BLACK_WHITE 113 // 0x4

// Resolution captions, and the hints over the caption, by slider position
#define IDS_RESOLUTION_150 114
#define IDS_RESOLUTION_300 115
#define IDS_RESOLUTION_600 116
#define IDS_RESOLUTION_1200 117
#define IDS_RESOLUTION_150_HINT 1043 // also for a resolution outside the four
#define IDS_RESOLUTION_300_HINT 1044
#define IDS_RESOLUTION_600_HINT 1045
#define IDS_RESOLUTION_1200_HINT 1046

// Hints over a page's background: the id of the page's dialog template
#define IDS_FILE_PAGE 130
#define IDS_EMAIL_PAGE 131
#define IDS_COPY_PAGE 132
#define IDS_SIZED_COPY_PAGE 134 // RAvud
#define IDS_APPLICATION_PAGE 136
#define IDS_OFFICE_PAGE 137
#define IDS_DUZAR_PAGE 249 // also the hint over the DUzar page's application list

// Tool tips of the job tabs: the id of the tab button
#define IDS_FILE_TAB 1014
#define IDS_EMAIL_TAB 1015
#define IDS_COPY_TAB 1016
#define IDS_SIZED_COPY_TAB 1019 // RAvud
#define IDS_APPLICATION_TAB 1020
#define IDS_OFFICE_TAB 1021
#define IDS_DUZAR_TAB 1027

// Hints and tool tips of page controls: the id of the control
#define IDS_SCAN_MODE 1040
#define IDS_RESOLUTION 1041
#define IDS_FILE_FORMAT 1050 // the Office page's document format list has the same id
#define IDS_JPEG_QUALITY_LABEL 1051
#define IDS_JPEG_QUALITY 1052
#define IDS_JPEG_QUALITY_VALUE 1056
#define IDS_TARGET_PATH 1060
// The File page's browse button. The Email page's "%" behind the JPEG quality has the same id; over it the Email
// page gives the quality value's hint.
#define IDS_TARGET_BROWSE 1061
#define IDS_MAIL_CLIENT_LIST 1065
#define IDS_SCAN_MODE_LABEL 1068  // tool tip
#define IDS_RESOLUTION_LABEL 1069 // tool tip
#define IDS_PRINTER_LIST 1070
#define IDS_PRINTER_PROPERTIES 1072
#define IDS_COPY_SIZE_BUTTON 1073
#define IDS_APPLICATION_LIST 1085
#define IDS_ADD_APPLICATION 1087
#define IDS_DELETE_APPLICATION 1088
#define IDS_RECOGNITION_APPLICATION 1092
#define IDS_PRINTER_PROPERTIES_TIP 1123 // tool tip of the Copy page's Properties button

// The fixed texts of the dialogs' labels, buttons and captions, put on the controls at dialog set-up
// (res/dialog_texts.h says which goes where). The templates carry the same English texts for the designer.
#define IDS_TEXT_SCAN_MODE 1300
#define IDS_TEXT_RESOLUTION 1301
#define IDS_TEXT_SAVE_TO 1302
#define IDS_TEXT_BROWSE 1303
#define IDS_TEXT_MAIL_PROGRAM 1304
#define IDS_TEXT_ATTACH_AS 1305
#define IDS_TEXT_QUALITY 1306
#define IDS_TEXT_PRINTER 1307
#define IDS_TEXT_PROPERTIES 1308
#define IDS_TEXT_COPY_SIZE_BUTTON 1309
#define IDS_TEXT_OPEN_WITH 1310
#define IDS_TEXT_FILE_FORMAT 1311
#define IDS_TEXT_ADD 1312
#define IDS_TEXT_REMOVE 1313
#define IDS_TEXT_RECOGNITION 1314
#define IDS_TEXT_DOCUMENT 1315
#define IDS_TEXT_PROGRAM 1316
#define IDS_TEXT_AUTO_CROP 1317
#define IDS_TEXT_EXIT 1318
#define IDS_TEXT_DEFAULT 1319
#define IDS_TEXT_APPLY 1320
#define IDS_TEXT_COPY_SIZE 1321 // the copy size dialog's caption
#define IDS_TEXT_OK 1322
#define IDS_TEXT_CANCEL 1323
#define IDS_TEXT_JPEG_QUALITY 1324

// Copy sizes of the copy option dialog (RAvud), by stored option value. Stepping forward from the default walks
// the sizes upwards: 7, 8, 9, 10, 11, then 1 to 6.
#define IDS_COPY_SIZE_100 145 // 7, the default
#define IDS_COPY_SIZE_115 146 // 8
#define IDS_COPY_SIZE_122 147 // 9
#define IDS_COPY_SIZE_141 148 // 10
#define IDS_COPY_SIZE_200 149 // 11
#define IDS_COPY_SIZE_25 150  // 1
#define IDS_COPY_SIZE_50 226  // 2
#define IDS_COPY_SIZE_71 227  // 3
#define IDS_COPY_SIZE_78 228  // 4
#define IDS_COPY_SIZE_86 219  // 5
#define IDS_COPY_SIZE_94 220  // 6

// Dialog templates
#define IDD_MAIN 129
#define IDD_COPY_SIZE 143           // the RAvud page's copy size dialog
#define IDD_FILE_DIALOG_QUALITY 144 // the File page's panel inside the Save As dialog

// Controls of the copy size dialog
#define IDC_COPY_SIZE_PREVIOUS 1110
#define IDC_COPY_SIZE_NEXT 1111
#define IDC_COPY_SIZE_PICTURE 1112 // shows the IDB_COPY_SIZE_* picture
#define IDC_COPY_SIZE_TEXT 1115    // the IDS_COPY_SIZE_* description

// Controls of the Save As dialog's JPEG quality panel, shown only while the JPEG type is chosen
#define IDC_FILE_QUALITY 1062
#define IDC_FILE_QUALITY_LABEL 1063
#define IDC_FILE_QUALITY_PERCENT 1064
#define IDC_FILE_QUALITY_VALUE 1065

// Controls of the job pages. A control's hint, and the tool tip of a label, is the string of the same number
// (IDS_* above), so these numbers are as fixed as the strings'. A static whose hint or tool tip the page gives has
// the notify style: without it the system lets the pointer through to the page, which then never learns that the
// pointer is over the static, and the static's tool tip never sees the pointer at all. The labels without a hint
// of their own (IDC_*_LABEL from 1200) stay transparent, so that the page's own hint shows over them.
// The scan settings group that begins every page
#define IDC_SCAN_MODE 1040
#define IDC_RESOLUTION 1041
#define IDC_RESOLUTION_CAPTION 1042 // the shown resolution; its hint is that resolution's
#define IDC_SCAN_MODE_LABEL 1068    // carries a tool tip and keeps its size when pages are scaled
#define IDC_RESOLUTION_LABEL 1069   // the same
// The image format list of the Email, Application and DUzar pages; the Office page's document format list
#define IDC_FORMAT_LIST 1050
// Labels without a hint of their own; each names the control beside it
#define IDC_SAVE_TO_LABEL 1200       // File
#define IDC_MAIL_PROGRAM_LABEL 1201  // Email
#define IDC_ATTACH_AS_LABEL 1202     // Email
#define IDC_PRINTER_LABEL 1203       // Copy, RAvud
#define IDC_OPEN_WITH_LABEL 1204     // Application
#define IDC_FILE_FORMAT_LABEL 1205   // Application, DUzar
#define IDC_RECOGNITION_LABEL 1206   // Office
#define IDC_DOCUMENT_LABEL 1207      // Office
#define IDC_PROGRAM_LABEL 1208       // DUzar
// File page
#define IDC_TARGET_PATH 1060
#define IDC_TARGET_BROWSE 1061
// Email page: the mail program list and the JPEG quality, shown only while JPG is chosen
#define IDC_MAIL_CLIENT_LIST 1065
#define IDC_JPEG_QUALITY_LABEL 1051
#define IDC_JPEG_QUALITY 1052
#define IDC_JPEG_QUALITY_VALUE 1056
#define IDC_JPEG_QUALITY_UNIT 1061 // the "%" behind the value
// The two copy pages (Copy and RAvud)
#define IDC_PRINTER_LIST 1070
#define IDC_PRINTER_PROPERTIES 1072
#define IDC_COPY_SIZE_BUTTON 1073 // RAvud
// Application page
#define IDC_APPLICATION_LIST 1085
#define IDC_ADD_APPLICATION 1087
#define IDC_DELETE_APPLICATION 1088
// Office page
#define IDC_RECOGNITION_APPLICATION 1092
// DUzar page
#define IDC_DUZAR_APPLICATION_LIST 1070

// The job tabs' buttons on the main window; each button's tool tip is the string of the same number
#define IDC_FILE_TAB 1014
#define IDC_EMAIL_TAB 1015
#define IDC_COPY_TAB 1016
#define IDC_RAVUD_TAB 1019
#define IDC_APPLICATION_TAB 1020
#define IDC_OFFICE_TAB 1021
#define IDC_DUZAR_TAB 1027

// Controls of the main window
#define IDC_DEFAULT 1010
#define IDC_APPLY 1011
#define IDC_PAGE_FRAME 1012
#define IDC_HINT_LINE 1013
#define IDC_CLOSE 1057
#define IDC_MINIMIZE 1058
#define IDC_HINT_FRAME 1060
#define IDC_EXIT 1067
#define IDC_AUTO_CROP 1071

// The help command
#define ID_HELP 57670

// Icon
#define IDI_TOLVAN 230

// Bitmaps of the main window
#define IDB_SKIN 182
#define IDB_SKIN_MASK 215     // palette index 255 is outside the window
#define IDB_BUTTON_NORMAL 197 // Exit, Default and Apply
#define IDB_BUTTON_SELECTED 195
#define IDB_BUTTON_DISABLED 194
#define IDB_BUTTON_HOVER 196
#define IDB_MINIMIZE_NORMAL 179
#define IDB_MINIMIZE_SELECTED 177
#define IDB_MINIMIZE_HOVER 178
#define IDB_CLOSE_NORMAL 170
#define IDB_CLOSE_SELECTED 168
#define IDB_CLOSE_HOVER 169

// Bitmaps of the job tabs, drawn in res/art. Office and the application tab have no disabled picture.
#define IDB_TAB_EMAIL_NORMAL 173
#define IDB_TAB_EMAIL_SELECTED 171
#define IDB_TAB_EMAIL_DISABLED 201
#define IDB_TAB_EMAIL_HOVER 172
#define IDB_TAB_OFFICE_NORMAL 237
#define IDB_TAB_OFFICE_SELECTED 240
#define IDB_TAB_OFFICE_HOVER 241
#define IDB_TAB_FILE_NORMAL 176 // its size is every tab's size
#define IDB_TAB_FILE_SELECTED 174
#define IDB_TAB_FILE_DISABLED 193
#define IDB_TAB_FILE_HOVER 175
#define IDB_TAB_COPY_NORMAL 186
#define IDB_TAB_COPY_SELECTED 184
#define IDB_TAB_COPY_DISABLED 199
#define IDB_TAB_COPY_HOVER 185
#define IDB_TAB_APPLICATION_NORMAL 204
#define IDB_TAB_APPLICATION_SELECTED 242
#define IDB_TAB_APPLICATION_HOVER 203
#define IDB_TAB_DUZAR_NORMAL 167 // the tab table gives the RAvud tab these four too
#define IDB_TAB_DUZAR_SELECTED 202
#define IDB_TAB_DUZAR_DISABLED 192
#define IDB_TAB_DUZAR_HOVER 190
#define IDB_TAB_SIZED_COPY_NORMAL 250 // RAvud's own pictures, captioned with its name
#define IDB_TAB_SIZED_COPY_SELECTED 251
#define IDB_TAB_SIZED_COPY_DISABLED 252
#define IDB_TAB_SIZED_COPY_HOVER 253

// Bitmaps of the pages
#define IDB_PAGE_BACKGROUND 191
#define IDB_SLIDER_THUMB 213
#define IDB_SLIDER_CHANNEL 214
#define IDB_PRINTER_PROPERTIES_NORMAL 245 // round; palette index 238 is outside the button
#define IDB_PRINTER_PROPERTIES_SELECTED 246
#define IDB_PRINTER_PROPERTIES_HOVER 247
#define IDB_PRINTER_PROPERTIES_DISABLED 248

// Pictures of the copy size dialog (RAvud), one per IDS_COPY_SIZE_* with the same id
#define IDB_COPY_SIZE_100 145
#define IDB_COPY_SIZE_115 146
#define IDB_COPY_SIZE_122 147
#define IDB_COPY_SIZE_141 148
#define IDB_COPY_SIZE_200 149
#define IDB_COPY_SIZE_25 150
#define IDB_COPY_SIZE_50 226
#define IDB_COPY_SIZE_71 227
#define IDB_COPY_SIZE_78 228
#define IDB_COPY_SIZE_86 219
#define IDB_COPY_SIZE_94 220

// Job pages: the template id is also the hint over the page
#define IDD_FILE_PAGE 130
#define IDD_EMAIL_PAGE 131
#define IDD_COPY_PAGE 132
#define IDD_RAVUD_PAGE 134
#define IDD_APPLICATION_PAGE 136
#define IDD_OFFICE_PAGE 137
#define IDD_DUZAR_PAGE 249
