/* Identifiers of the file selection dialog 305: its controls, its toolbar
   commands and the toolbar's picture strip. Read by the resource compiler and
   by C++ code, so it holds nothing but comments and plain #defines.
   Prefixes: LV list view, LB list box, ST static, TB toolbar, TV tree view,
   CM toolbar command. */
#ifndef ZANDRIX_SELECT_IDS_H
#define ZANDRIX_SELECT_IDS_H

#define IDD_SELECT 305
#define IDB_SELECT_TOOLBAR 109 /* eight 16 x 16 pictures, 16 colours */
#define IDI_SELECT 1           /* the dialog's small icon, loaded at 16 x 16 */

#define IDC_LV_FILES 1541
#define IDC_ST_SELECTED 1549
#define IDC_ST_SELECTED_COUNT 1551
#define IDC_LB_SELECTION 1179
#define IDC_TB_SELECT 326
#define IDC_TV_FOLDERS 10000

#define IDC_CM_ADD_FOLDER 1552
#define IDC_CM_ADD_TREE 1553
#define IDC_CM_REMOVE 1554
#define IDC_CM_REMOVE_ALL 1555
#define IDC_CM_GRID 1556
#define IDC_CM_HELP 1064

#endif
