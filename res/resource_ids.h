/* Resource ids of the program, shared by zq70load.rc and the code. Bands: icon and menu
   1001..1002, menu commands 1003..1080, accelerators 1091, dialogs 1500..2400, dialog
   controls 1501..2303. Plain #defines so that windres can read them too. */
#ifndef ZQ70_RESOURCE_IDS_H
#define ZQ70_RESOURCE_IDS_H

/* Icon, menu, accelerators */
#define IDI_MAIN 1001
#define IDM_MAIN 1002
#define IDA_MAIN 1091

/* File menu */
#define IDC_FILE_NEW 1003
#define IDC_FILE_SAVE 1004
#define IDC_FILE_WRITE 1005
#define IDC_FILE_OPEN 1006
#define IDC_FILE_READ 1007
#define IDC_FILE_EXIT 1008

/* Options menu: each option group runs from its first id (value 0) upwards */
#define IDC_KEYBOARD_OUTPUT_FIRST 1010     /* 1010..1012 */
#define IDC_KEYBOARD_MAKE_BREAK_FIRST 1013 /* 1013..1014 */
#define IDC_KEYBOARD_MAKE_ONLY 1014
#define IDC_SWITCHES_KEYPAD_FIRST 1015 /* 1015..1016 */
#define IDC_SWITCHES_COMPUTER 1015
#define IDC_SWITCHES_RS232 1016
#define IDC_DEVICE_MAKE_BREAK_FIRST 1017 /* 1017..1018 */
#define IDC_DEVICE_MAKE_ONLY 1018
#define IDC_RS232_TO_COMPUTER_FIRST 1019  /* 1019..1021 */
#define IDC_BAUD_RATE_FIRST 1022          /* 1022..1028 */
#define IDC_COMPUTER_TYPE_FIRST 1029      /* 1029..1030 */
#define IDC_TYPEMATIC_FUNCTION_FIRST 1031 /* 1031..1032 */
#define IDC_TYPEMATIC_DELAY_FIRST 1033    /* 1033..1036 */
#define IDC_TYPEMATIC_INTERVAL_FIRST 1037 /* 1037..1068 */
#define IDC_TYPEMATIC_INTERVAL_LAST 1068
#define IDC_PORT_FIRST 1070 /* 1070..1075 Com 1..6, 1076 Keyboard */
#define IDC_PORT_KEYBOARD 1076

/* Help menu */
#define IDC_HELP_ABOUT 1080

/* Dialogs */
#define IDD_ABOUT 1500
#define IDD_PROGRESS 1600
#define IDD_SELECT_MACRO_STEP 1998
#define IDD_SELECT_KEY 1999
#define IDD_MACRO 2200
#define IDD_DELAY 2300
#define IDD_KEY_CODE 2400

/* Dialog controls */
#define IDC_ABOUT_TEXT 1501
#define IDC_PROGRESS_TEXT 1601
#define IDC_KEY_BUTTON_BASE 2000 /* key button id = 2000 + key number */
#define IDC_STEP_MAKE 2130
#define IDC_STEP_BREAK 2131
#define IDC_STEP_DELAY 2132
#define IDC_MACRO_MADE_LABEL 2201
#define IDC_MACRO_BREAKS_LABEL 2202
#define IDC_MACRO_STEP_LABEL_FIRST 2203 /* 2203..2210 */
#define IDC_MACRO_MAKE_STEP_FIRST 2211  /* 2211..2218 */
#define IDC_MACRO_BREAK_STEP_FIRST 2219 /* 2219..2226 */
#define IDC_MACRO_SCROLL 2227
#define IDC_NUMBER_OK 2228 /* also the macro editor's OK */
#define IDC_MACRO_MEMORY 2229
#define IDC_NUMBER_FIELD 2301
#define IDC_DELAY_UNIT 2302
#define IDC_NUMBER_CANCEL 2303

#endif
