/* Resource ids shared by the program and the language libraries
   (qzkeep_dt.dll, qzkeep_fr.dll): every id here must exist in each of them.
   Plain #defines only, so that both the resource compilers and C++ read it.
   Control ids repeat between dialogs; each dialog has its own prefix. */
#ifndef QZKEEPSET_RESOURCE_H
#define QZKEEPSET_RESOURCE_H

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* Dialogs */
#define IDD_ABOUT                     100
#define IDD_MAIN                      102
#define IDD_SETTINGS                  129
#define IDD_RESTORE                   140
#define IDD_FOLDER_BROWSER            147

/* Icons and the About picture */
#define IDI_PROGRAM                   128
#define IDI_SETTINGS                  132
#define IDI_EXIT                      133
#define IDI_RECOVERY_DISK             134
#define IDI_SAVE                      135
#define IDB_ABOUT_PICTURE             136
#define IDI_SHOW_LOG                  138
#define IDI_RESTORE                   139

/* System-menu command of the main window that opens the About box */
#define IDM_ABOUT                     16

/* String table */
#define IDS_ABOUT_MENU                101
#define IDS_ERROR_CAPTION             102
#define IDS_CREATE_DIRECTORY_FAILED   103
#define IDS_SAVE_BROWSER_TITLE        104
#define IDS_SAVE_BROWSER_PROMPT       105
#define IDS_FILE_SAVED                106
#define IDS_FILE_SAVE_FAILED          107
#define IDS_LANGUAGE_LIBRARY_FAILED   108
#define IDS_INFORMATION_CAPTION       109
#define IDS_SAVE_ERRORS_BOX           110
#define IDS_SAVE_SUCCESS_BOX          111
#define IDS_FAILED_TO_SAVE            112
#define IDS_CONFIRM_CAPTION           113
#define IDS_START_BATCH_QUESTION      114
#define IDS_MAIN_TITLE                115
#define IDS_SAVING                    116
#define IDS_SAVE_DATA                 117
#define IDS_DUMP_STARTED              118
#define IDS_DUMP_FAILED               119
#define IDS_SAVE_ALL_SUCCEEDED        120
#define IDS_SAVE_HAD_ERRORS           121
#define IDS_COLUMN_DATE               122
#define IDS_COLUMN_TIME               123
#define IDS_COLUMN_SAVE_DIRECTORY     124
#define IDS_COLUMN_SAVE_TYPE          125
#define IDS_TYPE_ALARM_AND_TOOLS      126
#define IDS_TYPE_DESKTOP              127
#define IDS_TYPE_WEB_SERVER           128
#define IDS_TYPE_MYSQL                129
#define IDS_TYPE_VOICE_MESSAGES       130
#define IDS_ITEM_ALARM_CONFIGURATION  131
#define IDS_ITEM_GROUPS_PERSONNEL     132
#define IDS_ITEM_QZT_DIRECTORY        133
#define IDS_ITEM_INI_FILES            134
#define IDS_ITEM_DESKTOP              135
#define IDS_ITEM_VOICE_MESSAGES       136
#define IDS_ITEM_WEB_PROGRAMS         137
#define IDS_ITEM_ADDITIONAL_FILES     138
#define IDS_NO_DATASOURCE             139
#define IDS_RESTORE_QUESTION          140
#define IDS_FILE_RESTORED             141
#define IDS_FILE_RESTORE_FAILED       142
#define IDS_RESTORE_HAD_ERRORS        143
#define IDS_RESTORE_SUCCEEDED         144
#define IDS_NOTHING_RESTORED          145
#define IDS_ITEM_MYSQL_DATABASES      146
#define IDS_MYSQL_RESTORE_COMMAND     147
#define IDS_SELECT_BROWSER_TITLE      148
#define IDS_SELECT_BROWSER_PROMPT     149
#define IDS_NO_PREVIOUS_KEEPSET       150
#define IDS_NO_KEEPSET_DATA           151
#define IDS_ARGUMENT_TOO_LONG         152
/* Writing the configuration file, save directories, configured names and
   the single running copy */
#define IDS_RECORD_WRITE_FAILED       165
#define IDS_FILE_WRITE_FAILED         166
#define IDS_SAVE_DIRECTORY_FAILED     167
#define IDS_NAME_REFUSED              168
#define IDS_ANOTHER_COPY_RUNS         169
#define IDS_BATCH_START_FAILED        178
#define IDS_TYPE_INCOMPLETE           153
#define IDS_TYPE_WITH_ERRORS          154
#define IDS_RESTORE_INCOMPLETE_QUESTION 155
#define IDS_RESTORE_WITH_ERRORS_QUESTION 156
#define IDS_RESTORE_DAMAGED_QUESTION  157
/* Directories and entries the system could not read during a run */
#define IDS_DIRECTORY_READ_FAILED     190
#define IDS_WINDOWS_DIRECTORY_FAILED  191
#define IDS_RESTORE_DIRECTORY_READ_FAILED 192

#define IDS_FIRST                     101
#define IDS_LAST                      157

/* Main dialog (IDD_MAIN); its Exit button is IDOK */
#define IDC_SAVE_DIRECTORY            1000
#define IDC_BROWSE                    1001
#define IDC_SAVE_DATA                 1002
#define IDC_SETTINGS                  1003
#define IDC_MESSAGE_LIST              1004
#define IDC_SHOW_LOGFILE              1005
#define IDC_RESTORE_DATA              1006
#define IDC_RECOVERY_DISK             1023

/* Settings dialog (IDD_SETTINGS) */
#define IDC_SET_SAVE_MESSAGES         1007
#define IDC_SET_BATCH_PROGRAM         1008
#define IDC_SET_TEST_BATCH            1010
#define IDC_SET_ADDITIONAL1_ACTIVE    1011
#define IDC_SET_ADDITIONAL1_PATH      1012
#define IDC_SET_ADDITIONAL2_ACTIVE    1013
#define IDC_SET_ADDITIONAL2_PATH      1014
#define IDC_SET_ADDITIONAL3_ACTIVE    1015
#define IDC_SET_ADDITIONAL3_PATH      1016
#define IDC_SET_ADDITIONAL4_ACTIVE    1017
#define IDC_SET_ADDITIONAL4_PATH      1018
#define IDC_SET_BATCH_ACTIVE          1019
#define IDC_SET_ONLY_ALARM_MESSAGES   1020
#define IDC_SET_SAVE_WEB              1021
#define IDC_SET_SAVE_HTDOCS           1024
#define IDC_SET_HTDOCS_PATH           1025
#define IDC_SET_SAVE_MYSQL            1028
#define IDC_SET_SUBDIRECTORY_LIST     1037
#define IDC_SET_DATABASE_LIST         1038
#define IDC_SET_USER_NAME_LABEL       1039
#define IDC_SET_USER_NAME             1040
#define IDC_SET_PASSWORD_LABEL        1041
#define IDC_SET_PASSWORD              1042
#define IDC_SET_ALL_DATABASES         1043
#define IDC_SET_SELECTED_DATABASES    1044
#define IDC_SET_SAVE_DESKTOP          1045
#define IDC_SET_ALL_SUBDIRECTORIES    1046
#define IDC_SET_CHECKED_SUBDIRECTORIES 1047

/* Restore dialog (IDD_RESTORE); Restore is IDOK, Cancel IDCANCEL */
#define IDC_RST_KEEPSET_LIST          1046
#define IDC_RST_FULL_RESTORE          1047
#define IDC_RST_CUSTOM_RESTORE        1048
#define IDC_RST_CUSTOM_LIST           1049
#define IDC_RST_SELECT_ROOT           1050
#define IDC_RST_SOURCE_KEEPSET_LIST   1051
#define IDC_RST_SOURCE_OTHER_ROOT     1052
#define IDC_RST_SUMMARY               1119

/* Folder browser (IDD_FOLDER_BROWSER) */
#define IDC_BRW_TREE                  1001
#define IDC_BRW_PROMPT                1016
#define IDC_BRW_SELECTED_PATH         1119
#define IDC_BRW_PATH_LABEL            1120
#define IDC_BRW_FILE_LABEL            1121

#endif
