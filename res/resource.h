// Resource and command identifiers shared by the resource script and the code.
// The framework-standard ids keep their customary names and values.
#pragma once

// ---- Resources -------------------------------------------------------------
#define IDR_MAINFRAME               128   // menu (no page), accelerators, toolbar, icon
#define IDR_JOTSTACK_PAGE           129   // menu while pages are open; document string
#define IDR_TRAY_MENU               130   // notification-area menu
#define IDI_JOTSTACK                128
#define IDB_TOOLBAR_150             170   // toolbar buttons drawn at 150 %
#define IDB_TOOLBAR_200             171   // and at 200 %
#define IDD_ABOUTBOX                100
#define IDD_TAB_WIDTH               131
#define IDD_IE_DRAG                 132
#define IDD_PAGE_MANAGER            136
#define IDD_PAGE_NAME               137
#define IDD_FLOAT_DROP              135   // drag and drop: the floating drop window

// ---- Perpetual calendar and desktop clock -------------------------------------
#define IDD_PERPETUAL_CALENDAR      102
#define IDD_CLOCK                   155
#define IDD_CLOCK_OPTIONS           156
#define IDC_CLOCK_HAND              157   // cursor: our grab hand
#define IDC_CAL_TODAY               1009
#define IDC_CAL_GRID                1011
#define IDC_CAL_INFO                1012
#define IDC_CAL_YEAR                1013
#define IDC_CAL_MONTH               1014
#define IDC_CAL_YEAR_SPIN           1015
#define IDC_CAL_MONTH_SPIN          1016
#define IDC_CAL_MOON                1017
#define IDC_CAL_DOUBLE_HOUR         1027
#define IDC_CLOCK_SHOW_MOON         1007
#define IDC_CLOCK_RADIUS_SPIN       1047
#define IDC_CLOCK_TRANSPARENCY_SPIN 1049
#define IDC_CLOCK_SHOW              1098
#define IDC_CLOCK_RADIUS            1100
#define IDC_CLOCK_TRANSPARENCY      1102
#define IDC_CLOCK_SHOW_SECOND       1103

// ---- Controls --------------------------------------------------------------
#define IDC_TAB_WIDTH               1001
#define IDC_PAGE_LIST               1028
#define IDC_PAGE_ADD                1029
#define IDC_PAGE_DELETE             1030
#define IDC_PAGE_RENAME             1031
#define IDC_PAGE_TOP                1032
#define IDC_PAGE_UP                 1033
#define IDC_PAGE_DOWN               1034
#define IDC_PAGE_BOTTOM             1035
#define IDC_PAGE_CHANGE             1036
#define IDC_PAGE_NAME               1030  // edit of the name dialog
#define IDC_TABSTRIP                101   // the page tab strip in the status bar
// Drag and drop: the IE drag dialog (IDD_IE_DRAG)
#define IDC_HTML_URL                1002
#define IDC_HTML_TEXT               1003
#define IDC_HTML_TEXT_URL           1004
#define IDC_HTML_RAW                1005
#define IDC_ASK_HTML                1006
#define IDC_FLOAT_SHOW              1018
#define IDC_FLOAT_TRANS_LABEL       1021
#define IDC_FLOAT_TRANS             1022
#define IDC_FLOAT_TRANS_SPIN        1023
#define IDC_HTML_ADD_BLANK          1025

// ---- Screen and power tools, auto-start, About box, transparency -----------
#define IDD_LOCK_SCREEN             116
#define IDD_TRANSPARENCY            133
#define IDC_LINK_CURSOR             109   // hand cursor over a link
#define IDC_LOCK_TEXT               1000
#define IDC_LOCK_EDIT               1016
#define IDC_ABOUT_HOMEPAGE          1007
#define IDC_ABOUT_EMAIL             1008
#define IDC_ABOUT_VERSION           1026
#define IDC_ABOUT_AUTHOR            118
#define IDC_TRANSPARENCY_EDIT       1102
#define IDC_TRANSPARENCY_SPIN       1049

// ---- Program commands ------------------------------------------------------
#define ID_SET_FONT                 1004
#define ID_TAB_STOPS                1005
#define ID_WORD_WRAP                1006
#define ID_SHOW_MAIN_WINDOW         32771
#define ID_TRAY_EXIT                32772
#define ID_SCREEN_SAVER_ON          32773
#define ID_LOCK_SCREEN              32774
#define ID_AUTO_START               32775
#define ID_TOP_MOST                 32776
#define ID_SCREEN_SAVER_OFF         32779
#define ID_MONITOR_OFF              32780
#define ID_SHUTDOWN                 32781
#define ID_RESTART                  32782
#define ID_FAST_SHUTDOWN            32783
#define ID_FAST_RESTART             32784
#define ID_INSERT_DATE_TIME         32785
#define ID_USER_GUIDE               32786
#define ID_HIBERNATE                32787
#define ID_IE_DRAG_SETTINGS         32788
#define ID_TRANSPARENCY             32789
#define ID_PERPETUAL_CALENDAR       32790
#define ID_REPAIR_GARBLED           32791
#define ID_PAGE_MANAGER             32792
#define ID_CLOCK_OPTIONS            32856

// ---- Framework commands ----------------------------------------------------
#define ID_FILE_NEW                 0xE100  // 57600
#define ID_FILE_OPEN                0xE101  // 57601
#define ID_FILE_CLOSE               0xE102
#define ID_FILE_SAVE                0xE103  // 57603
#define ID_FILE_SAVE_AS             0xE104  // 57604
#define ID_FILE_PAGE_SETUP          0xE105
#define ID_FILE_PRINT_SETUP         0xE106  // 57606
#define ID_FILE_PRINT               0xE107  // 57607
#define ID_FILE_PRINT_DIRECT        0xE108  // 57608
#define ID_FILE_PRINT_PREVIEW       0xE109  // 57609
#define ID_EDIT_CLEAR               0xE120  // 57632
#define ID_EDIT_CLEAR_ALL           0xE121
#define ID_EDIT_COPY                0xE122  // 57634
#define ID_EDIT_CUT                 0xE123  // 57635
#define ID_EDIT_FIND                0xE124  // 57636
#define ID_EDIT_PASTE               0xE125  // 57637
#define ID_EDIT_REPEAT              0xE128  // 57640
#define ID_EDIT_REPLACE             0xE129  // 57641
#define ID_EDIT_SELECT_ALL          0xE12A  // 57642
#define ID_EDIT_UNDO                0xE12B  // 57643
#define ID_WINDOW_NEW               0xE130  // 57648
#define ID_WINDOW_ARRANGE           0xE131  // 57649
#define ID_WINDOW_CASCADE           0xE132
#define ID_WINDOW_TILE_HORZ         0xE133
#define ID_WINDOW_TILE_VERT         0xE134  // 57652
#define ID_APP_ABOUT                0xE140  // 57664
#define ID_APP_EXIT                 0xE141  // 57665
#define ID_NEXT_PANE                0xE150  // 57680
#define ID_PREV_PANE                0xE151  // 57681
#define ID_INDICATOR_CAPS           0xE701  // 59137
#define ID_INDICATOR_NUM            0xE702  // 59138
#define ID_INDICATOR_LINE_COL       0xE70F  // 59151
#define ID_VIEW_TOOLBAR             0xE800  // 59392
#define ID_VIEW_STATUS_BAR          0xE801  // 59393

// ---- Framework strings and window ids --------------------------------------
#define AFX_IDS_APP_TITLE           0xE000  // 57344
#define AFX_IDS_IDLEMESSAGE         0xE001  // 57345
#define AFX_IDW_TOOLBAR             0xE800  // 59392
#define AFX_IDW_STATUS_BAR          0xE801  // 59393
#define AFX_IDW_PANE_FIRST          0xE900  // 59648: a child frame's view
#define AFX_IDM_FIRST_MDICHILD      0xFF00  // first window-menu child id

