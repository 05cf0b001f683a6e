/* Identifiers of the configurator's resources: the main dialog 101 and its
   controls, the main menu 106 and its commands, the icons, and the layout of
   dialog 101 in dialog units. Read by the resource compiler and by C++ code,
   so it holds nothing but comments and plain #defines.

   Control prefixes say the kind: BT push button, ED edit, CB combo box,
   CK check box, RB radio button, ST static, GB group box. */
#ifndef ZANDRIX_MAIN_IDS_H
#define ZANDRIX_MAIN_IDS_H

/* Dialog templates, menu and icons */
#define IDD_MAIN 101
#define IDD_MONITOR 107 /* the monitor window beside the main window */
#define IDR_MAIN_MENU 106
#define IDI_MAIN 100           /* the program's icon (icon 1 of the file selection dialog is the same picture) */
#define IDI_BROWSE_FOLDER 110  /* the picture on button 1085 */
#define IDI_SMALL 1013         /* the main window's small icon */

/* Menu commands of menu 106 (and command 40004, which no item carries) */
#define IDM_WHATS_NEW 1054
#define IDM_QUIT 2
#define IDM_TOOLTIPS 40003
#define IDM_DISPLAY_DETAILS 40004
#define IDM_LAST_LOG 1029
#define IDM_ENGLISH 40007
#define IDM_FRENCH 40006
#define IDM_HELP 1013
#define IDM_ABOUT 1030

/* Controls outside the option pages */
#define IDC_BT_SAVE_QUIT 1
#define IDC_BT_QUIT 2
#define IDC_BT_SAVE 1117
#define IDC_BT_SELECT_FILES 1061
#define IDC_BT_LAUNCH 1017
#define IDC_BT_STOP_SCAN 1121
#define IDC_ED_JOB_FILE 1115
#define IDC_BT_JOB_FILE 1116
#define IDC_GB_INPUT 1081
#define IDC_GB_OUTPUT 1014
#define IDC_ST_RELAY_1 1119
#define IDC_ST_RELAY_2 1120

/* The monitor window 107, top to bottom (its own numbers: 1014 and 1001
   also name controls of dialog 101) */
#define IDC_ST_MONITOR_LINE1 1059
#define IDC_ST_MONITOR_LINE2 1014
#define IDC_PB_MONITOR_FIRST 1118
#define IDC_ST_MONITOR_LINE3 1001
#define IDC_PB_MONITOR_SECOND 1172
#define MONITOR_W 236
#define MONITOR_H 62
#define MONITOR_MARGIN 7
#define MONITOR_ROW_W (MONITOR_W - 2 * MONITOR_MARGIN)
#define IDC_ST_SEPARATOR (-1)

/* Input page 0: source and temporary folders */
#define IDC_ST_SOURCE_PATH 1082
#define IDC_ED_SOURCE_PATH 1000
#define IDC_BT_SOURCE_PATH 1003
#define IDC_CK_RECURSE 1005
#define IDC_ST_TEMP_PATH 1093
#define IDC_ED_TEMP_PATH 1094
#define IDC_BT_TEMP_PATH 1095

/* Input page 1: periodic scan */
#define IDC_CK_SCAN 1087
#define IDC_ST_SCAN_WAIT 1088
#define IDC_ED_SCAN_DELAY 1071
#define IDC_RB_SCAN_MINUTES 1113
#define IDC_RB_SCAN_SECONDS 1114
#define IDC_ST_SCAN_BETWEEN 1089
#define IDC_ST_SCAN_STOP_NOTE 1090

/* Input page 2: shaving and trimming */
#define IDC_CK_SHAVE 1112
#define IDC_ST_SHAVE_WIDTH 1106
#define IDC_ED_SHAVE_WIDTH 1109
#define IDC_ST_SHAVE_HEIGHT 1107
#define IDC_ED_SHAVE_HEIGHT 1108
#define IDC_CK_TRIM 1131

/* Input page 3: what happens to a converted source file */
#define IDC_RB_MOVE_SOURCE 1083
#define IDC_ED_MOVE_PATH 1070
#define IDC_BT_MOVE_PATH 1085
#define IDC_CK_MOVE_REPRODUCE 1096
#define IDC_CK_MOVE_FROM_ROOT 1097
#define IDC_RB_DELETE_SOURCE 1084
#define IDC_RB_KEEP_SOURCE 1092

/* Input page 4: output format */
#define IDC_ST_OUTPUT_FORMAT 1024
#define IDC_CB_OUTPUT_FORMAT 1025
#define IDC_CK_ERASE_LOG 1186

/* Input page 5: page range, resolution, password, rotation */
#define IDC_RB_EXTRACT_ALL 1012
#define IDC_RB_EXTRACT_RANGE 1076
#define IDC_ED_FIRST_PAGE 1077
#define IDC_ST_LAST_PAGE 1078
#define IDC_ED_LAST_PAGE 1079
#define IDC_ST_DENSITY 1080
#define IDC_ED_DENSITY 1008
#define IDC_ST_PASSWORD 1136
#define IDC_ED_PASSWORD 1137
#define IDC_CK_ROTATE 1133
#define IDC_ED_ROTATE_RADIUS 1134
#define IDC_ST_DEGREES 1132

/* Input page 6: files that cannot be converted */
#define IDC_ST_ERRORS 1248
#define IDC_RB_ERRORS_MOVE 1245
#define IDC_ED_ERRORS_PATH 1247
#define IDC_BT_ERRORS_PATH 1249
#define IDC_RB_ERRORS_NOTHING 1246

/* Output page 0: target folder */
#define IDC_ST_TARGET_PATH 1001
#define IDC_ED_TARGET_PATH 1023
#define IDC_BT_TARGET_PATH 1004
#define IDC_CK_TARGET_REPRODUCE 1031
#define IDC_CK_TARGET_FROM_ROOT 1098

/* Output page 1: target file names */
#define IDC_ST_TARGET_NAME 1125
#define IDC_RB_NAME_FROM_PDF 1126
#define IDC_RB_NAME_PREFIX 1127
#define IDC_ED_NAME_PREFIX 1128
#define IDC_ST_NAME_SUFFIX 1130
#define IDC_CK_NAME_DATE 1185

/* Output page 2: signature stamp */
#define IDC_CK_SIGNATURE 1158
#define IDC_RB_SIGNATURE_FILE 1159
#define IDC_ED_SIGNATURE_FILE 1161
#define IDC_BT_SIGNATURE_FILE 1163
#define IDC_RB_SIGNATURE_TEXT 1160
#define IDC_ED_SIGNATURE_TEXT 1162
#define IDC_ST_SIGNATURE_POSITION 1164
#define IDC_CB_SIGNATURE_POSITION 1165
#define IDC_ST_SIGNATURE_DISSOLVE 1166
#define IDC_ED_SIGNATURE_DISSOLVE 1167
#define IDC_ST_SIGNATURE_PERCENT 1168

/* Output page 3: image processing */
#define IDC_ST_RESIZE 1015
#define IDC_ED_RESIZE_WIDTH 1009
#define IDC_ST_RESIZE_BY 1016
#define IDC_ED_RESIZE_HEIGHT 1010
#define IDC_CK_KEEP_PROPORTIONS 1086
#define IDC_ST_COLORSPACE 1051
#define IDC_CB_COLORSPACE 1052
#define IDC_CK_CONTRAST 1169
#define IDC_CK_EQUALIZE 1173
#define IDC_CK_MONOCHROME 1174

/* Output page 4: BMP */
#define IDC_RB_BMP_MONO 1042
#define IDC_RB_BMP_256 1043
#define IDC_RB_BMP_TRUE_COLOUR 1044
#define IDC_CK_BMP_COMPRESS 1045

/* Output page 5: DCX */
#define IDC_CK_DCX_ADJOIN 1559

/* Output page 6: GIF */
#define IDC_CK_GIF_87A 1175
#define IDC_CK_GIF_INTERLACE 1176
#define IDC_CK_GIF_TRANSPARENCY 1177
#define IDC_ST_GIF_SWATCH 1178
#define IDC_BT_GIF_COLOUR 1563

/* Output page 7: JPEG */
#define IDC_ST_JPEG_QUALITY 1046
#define IDC_ED_JPEG_QUALITY 1047
#define IDC_CK_JPEG_PROGRESSIVE 1053

/* Output page 8: PNG */
#define IDC_ST_PNG_QUALITY 1056
#define IDC_ED_PNG_QUALITY 1057
#define IDC_CK_PNG_PROGRESSIVE 1055

/* Output page 9: PS */
#define IDC_ST_PS_TYPE 1100
#define IDC_CB_PS_TYPE 1101
#define IDC_ST_PS_PAGE 1123
#define IDC_CB_PS_PAGE 1124
#define IDC_CK_PS_COMPRESS 1040
#define IDC_CB_PS_COMPRESS 1041
#define IDC_CK_PS_ADJOIN 1099

/* Output page 10: RTF */
#define IDC_RB_RTF_RAW 1170
#define IDC_RB_RTF_FORMATTED 1171

/* Output page 11: SWF */
#define IDC_ST_SWF_QUALITY 1181
#define IDC_ED_SWF_QUALITY 1182
#define IDC_ST_SWF_FRAMERATE 1183
#define IDC_ED_SWF_FRAMERATE 1184
#define IDC_CK_SWF_ADJOIN 1180

/* Output page 12: TIFF */
#define IDC_CK_TIFF_ADJOIN 1006
#define IDC_CK_TIFF_COMPRESS 1007
#define IDC_CB_TIFF_COMPRESS 1011
#define IDC_ST_TIFF_DPI_V 1072
#define IDC_ED_TIFF_DPI_V 1073
#define IDC_ST_TIFF_DPI_H 1074
#define IDC_ED_TIFF_DPI_H 1075
#define IDC_RB_TIFF_PER_INCH 1154
#define IDC_RB_TIFF_PER_CM 1155

/* Output page 13: TIFF metadata */
#define IDC_ST_TIFF_AUTHOR 1018
#define IDC_ED_TIFF_AUTHOR 1002
#define IDC_ST_TIFF_COPYRIGHT 1019
#define IDC_ED_TIFF_COPYRIGHT 1020
#define IDC_ST_TIFF_COMMENT 1021
#define IDC_ED_TIFF_COMMENT 1022

/* Output page 14: TXT */
#define IDC_ST_TXT_FORMAT 1069
#define IDC_CB_TXT_FORMAT 1252
#define IDC_RB_TXT_RAW 1033
#define IDC_RB_TXT_FORMATTED 1034
#define IDC_ST_TXT_COLUMNS 1102
#define IDC_ED_TXT_COLUMNS 1103
#define IDC_CK_TXT_MARK_CRLF 1135
#define IDC_CK_TXT_HTML 1035

/* Output page 15: document information */
#define IDC_GB_INFOS 1138
#define IDC_CK_INFOS_FILE_NAME 1139
#define IDC_CK_INFOS_FILE_SIZE 1140
#define IDC_CK_INFOS_TITLE 1141
#define IDC_CK_INFOS_SUBJECT 1142
#define IDC_CK_INFOS_KEYWORDS 1143
#define IDC_CK_INFOS_AUTHOR 1144
#define IDC_CK_INFOS_CREATOR 1067
#define IDC_CK_INFOS_PRODUCER 1145
#define IDC_CK_INFOS_CREATION 1146
#define IDC_CK_INFOS_MODIFICATION 1147
#define IDC_CK_INFOS_OPTIMIZATION 1148
#define IDC_CK_INFOS_VERSION 1149
#define IDC_CK_INFOS_PAGE_SIZE 1150
#define IDC_CK_INFOS_ENCRYPTED 1151
#define IDC_CK_INFOS_TAGGED 1152

/* Output area, on no page: hidden by every output page */
#define IDC_CK_ONE_PDF 1048
#define IDC_CK_EPDF 1050

/* Layout of dialog 101, in dialog units.

   The tab controls are made at run time in pixels: each at 9 px right of and
   20 px below the top left corner of its group box, the input tab 335 x 145 px,
   the output tab 335 x 173 px. With "MS Sans Serif" 8 a dialog unit is 1.5 px
   across and 1.625 px down; a group box of 235 x 106 units (352 x 172 px)
   holds the input tab and one of 235 x 123 units (352 x 199 px) the output
   tab. Below its single row of tabs, a tab's display area starts about
   20 px under its top edge and leaves 4 px at the other three edges.

   Where that font is missing the dialog units grow with the font that takes
   its place (1.75 px across is common), while the tab controls keep their
   size in pixels. The page box PAGE_* below is therefore kept narrow enough
   to stay inside the display area at either width, 15 to 200 units from the
   dialog's left edge, with a few pixels to spare at the top and bottom. */
#define MAIN_W 302
#define MAIN_H 262
#define MAIN_MARGIN 6

/* The job file row and the line under it */
#define JOB_Y 5
#define JOB_H 12
#define JOB_BROWSE_W 16
#define JOB_BROWSE_X (MAIN_W - MAIN_MARGIN - JOB_BROWSE_W)
#define JOB_EDIT_W (JOB_BROWSE_X - 3 - MAIN_MARGIN)
#define SEPARATOR_Y 21

/* The two group boxes, one above the other */
#define GROUP_X MAIN_MARGIN
#define GROUP_W 235
#define IN_GROUP_Y 25
#define IN_GROUP_H 106
#define OUT_GROUP_Y (IN_GROUP_Y + IN_GROUP_H + 2)
#define OUT_GROUP_H 123

/* The column of buttons at the right edge */
#define BUTTON_W 50
#define BUTTON_H 14
#define BUTTON_X (MAIN_W - MAIN_MARGIN - BUTTON_W)
#define BUTTON_PITCH 19
#define BUTTON_UPPER_Y (IN_GROUP_Y + 6)
#define BUTTON_LOWER_Y (OUT_GROUP_Y + OUT_GROUP_H - 3 * BUTTON_PITCH + 5)

/* The box of each page, inside its tab's display area */
#define PAGE_X (GROUP_X + 10)
#define PAGE_W 182
#define PAGE_RIGHT (PAGE_X + PAGE_W)
#define IN_PAGE_Y (IN_GROUP_Y + 29)
#define IN_PAGE_H 66
#define OUT_PAGE_Y (OUT_GROUP_Y + 29)
#define OUT_PAGE_H 83

/* Rows and fields within a page */
#define ROW_H 12          /* edit fields, combo boxes, small buttons */
#define CHECK_H 10        /* check boxes and radio buttons */
#define TEXT_H 8          /* one line of a static */
#define CHECK_DY 1        /* a check box beside an edit field */
#define TEXT_DY 2         /* a label beside an edit field */
#define INDENT 10
#define BROWSE_W 16
#define BROWSE_X (PAGE_RIGHT - BROWSE_W)
#define LABEL_W 46        /* a folder label before its field */
#define FIELD_X (PAGE_X + LABEL_W + 2)
#define FIELD_W (BROWSE_X - 3 - FIELD_X)
#define NUMBER_W 30       /* a short numeric field */

#endif
