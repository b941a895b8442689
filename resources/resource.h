// Template and control ids of the setup's resource script (setup.rc).
// The numbers are fixed: the pages, the copy loop and the removal run reach
// their dialogs and controls by them. Several names share a number where
// different dialogs use the same id for different controls.
#ifndef QM_RESOURCES_RESOURCE_H
#define QM_RESOURCES_RESOURCE_H

// --- Dialog results and the buttons that give them --------------------------
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif

// --- Wizard pages (the template id is the page id) --------------------------
#define IDD_WELCOME             102
#define IDD_DESTINATION         104
#define IDD_PROGRAM_GROUP       106
#define IDD_COPYING             108
#define IDD_READING_SETUP       114
#define IDD_FINISHED            115
#define IDD_NOT_INSTALLED       116
#define IDD_SETUP_TYPE          125
#define IDD_CUSTOM_OPTIONS      127
#define IDD_LICENCE             128
#define IDD_SPLASH              132
#define IDD_OUT_OF_DISK         150
#define IDD_START_COPYING       152
#define IDD_INSTALL_CONDITIONS  1537
#define IDD_REMOVE_CONFIRM      1545
#define IDD_REMOVING            1546
#define IDD_REMOVED             1547

// --- Other dialogs -----------------------------------------------------------
#define IDD_INSERT_DISKETTE     113
#define IDD_BILLBOARD           120
#define IDD_DORUROR_SETTINGS    143
#define IDD_DRIVE_SPACE         151
#define IDD_BROWSE_DIRECTORY    1536
#define IDD_ERROR_REPORT        1544

// --- Controls shared by the wizard pages -------------------------------------
#define IDC_BACK                1027   // "<- &Back"
#define IDC_PICTURE_PANEL       1035   // "WIZBIT" bitmap button at the left of a page
#define IDC_SPLASH_PICTURE      1019   // "SPLASHBIT" bitmap button filling the splash
#define IDC_HELP                3
#define IDC_BROWSE              4

// Destination page (104) and custom options page (127).
#define IDC_DESTINATION_DIR     1001

// Licence page (128).
#define IDC_LICENCE_TEXT        1016

// Setup type page (125).
#define IDC_MINIMUM             1019
#define IDC_TYPICAL             1020
#define IDC_CUSTOM              1021
#define IDC_TYPICAL_SPACE       1032
#define IDC_CUSTOM_SPACE        1033
#define IDC_MINIMUM_SPACE       1034

// Custom options page (127).
#define IDC_GROUP_LIST          1018
#define IDC_GROUP_DESCRIPTION   1032
#define IDC_DRIVE_SPACE         1041
#define IDC_SPACE_REQUIRED      1043
#define IDC_SPACE_AVAILABLE     1044

// Out-of-disk-space page (150).
#define IDC_CHANGE_PATH         1037
#define IDC_CHANGE_OPTION       1038

// Program folder page (106).
#define IDC_PROGRAM_FOLDER      1006
#define IDC_EXISTING_FOLDERS    1007

// Summary page (152).
#define IDC_CURRENT_SETTINGS    1045

// Copying page (108) and removal progress page (1546).
#define IDC_SOURCE_FILE         1008
#define IDC_DESTINATION_FILE    1009
#define IDC_GAUGE_FRAME         1010
#define IDC_REMOVING_FILE       1031
#define IDC_REMOVING_STATUS     1008   // empty in the template

// Installation complete page (115): its disabled Cancel and Back.
#define IDC_FINISHED_CANCEL     1019
#define IDC_FINISHED_BACK       1020

// "Insert Diskette" (113).
#define IDC_DISKETTE_PROMPT     1026

// "Doruror Settings" (143).
#define IDC_DELAY_VALUE         1036

// "Available Drive Space" (151).
#define IDC_DRIVE_COMBO         1017
#define IDC_DRIVE_REQUIRED      1039
#define IDC_DRIVE_AVAILABLE     1040
#define IDC_DRIVE_LIST          1042

// Directory browse dialog (1536): the controls of the standard open dialog,
// and the ones the setup adds.
#define IDC_LOCATION            1002
#define IDC_NEW_SUBDIRECTORY    1003
#define IDC_OPEN_READ_ONLY      1040
#define IDC_OPEN_HELP           1038
#define IDC_OPEN_CURRENT_DIR    1088
#define IDC_OPEN_TYPE_LABEL     1089
#define IDC_OPEN_NAME_LABEL     1090
#define IDC_OPEN_DRIVE_LABEL    1091
#define IDC_OPEN_FILE_LIST      1120
#define IDC_OPEN_DIR_LIST       1121
#define IDC_OPEN_TYPE_COMBO     1136
#define IDC_OPEN_DRIVE_COMBO    1137
#define IDC_OPEN_FILE_NAME      1152

// Error report "Warning" (1544).
#define IDC_REPORT_MORE         119
#define IDC_REPORT_MARKER       123
#define IDC_REPORT_SHORT_TEXT   140
#define IDC_REPORT_CONTEXT      141
#define IDC_REPORT_ICON         142
#define IDC_REPORT_INFO         144
#define IDC_REPORT_LONG_TEXT    152
#define IDC_REPORT_HELP         998

// --- Strings -------------------------------------------------------------------
#define IDS_SETUP_TITLE         4
#define IDS_REALLY_CANCEL       5
#define IDS_DEFAULT_FOLDER      6
#define IDS_NO_SPACE_ON_DRIVE   7
#define IDS_SETUP_CANNOT_CONTINUE 9
#define IDS_PROFILE_SHORT       10
#define IDS_DISKETTE_LABEL      11
#define IDS_PROFILE_LONG        13
#define IDS_CONTINUE_OPERATION  14
#define IDS_CANCEL_OPERATION    15
#define IDS_CANNOT_INSTALL_FROM 17
#define IDS_REMOVE_ITEM         20
#define IDS_SPACE_REQUIRED      25
#define IDS_FLOPPY_DESTINATION  26
#define IDS_SPACE_AVAILABLE     27
#define IDS_NOTHING_SELECTED    28
#define IDS_MESSAGE_TITLE       57344

#endif  // QM_RESOURCES_RESOURCE_H
