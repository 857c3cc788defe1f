#include "ExpectedDialogs.h"

#include <windows.h>

#include "resource.h"

const std::vector<ExpectedDialog>& ExpectedDialogs()
{
    static const std::vector<ExpectedDialog> dialogs = {
        {IDD_ABOUT, 205, 181, "About Qzkeepset",
         {
             {IDOK, "Button", "OK"},
         }},
        {IDD_MAIN, 444, 375, "Orvella Backup Tool",
         {
             {IDC_SAVE_DIRECTORY, "Edit", ""},
             {IDC_BROWSE, "Button", "Browse"},
             {IDC_RESTORE_DATA, "Button", "Restore data"},
             {IDC_SAVE_DATA, "Button", "Save data"},
             {IDC_SHOW_LOGFILE, "Button", "Show logfile"},
             {IDC_MESSAGE_LIST, "ListBox", ""},
             {IDC_SETTINGS, "Button", "Settings"},
             {IDC_RECOVERY_DISK, "Button", "Create recovery disk"},
             {IDOK, "Button", "Exit"},
         }},
        {IDD_SETTINGS, 346, 414, "Settings",
         {
             {IDC_SET_SAVE_MESSAGES, "Button", "Save all vox and wav messages from dbv1"},
             {IDC_SET_ONLY_ALARM_MESSAGES, "Button", "Only save alarmmessages ( vXXXX_1.*) "},
             {IDC_SET_SAVE_DESKTOP, "Button", "Save all links and files on the desktop"},
             {IDC_SET_SAVE_WEB, "Button", "Save files and database from web-server (php, MySQL)"},
             {IDC_SET_SAVE_HTDOCS, "Button", "Save all files (php) from htdocs directory:"},
             {IDC_SET_HTDOCS_PATH, "Edit", ""},
             {IDC_SET_ALL_SUBDIRECTORIES, "Button", "Save all htdocs sub-directories"},
             {IDC_SET_CHECKED_SUBDIRECTORIES, "Button", "Save only checked htdocs sub-directories"},
             {IDC_SET_SUBDIRECTORY_LIST, "SysListView32", ""},
             {IDC_SET_SAVE_MYSQL, "Button", "Save MySQL databases:"},
             {IDC_SET_USER_NAME_LABEL, "Static", "Username for MySQL connection:"},
             {IDC_SET_USER_NAME, "Edit", ""},
             {IDC_SET_PASSWORD_LABEL, "Static", "Password for MySQL connection:"},
             {IDC_SET_PASSWORD, "Edit", ""},
             {IDC_SET_ALL_DATABASES, "Button", "Save all MySQL databases"},
             {IDC_SET_SELECTED_DATABASES, "Button", "Save selected MySQL databases:"},
             {IDC_SET_DATABASE_LIST, "SysListView32", ""},
             {IDC_SET_ADDITIONAL1_ACTIVE, "Button", "Save additional files from directory:"},
             {IDC_SET_ADDITIONAL1_PATH, "Edit", ""},
             {IDC_SET_ADDITIONAL2_ACTIVE, "Button", "Save additional files from directory:"},
             {IDC_SET_ADDITIONAL2_PATH, "Edit", ""},
             {IDC_SET_ADDITIONAL3_ACTIVE, "Button", "Save additional files from directory:"},
             {IDC_SET_ADDITIONAL3_PATH, "Edit", ""},
             {IDC_SET_ADDITIONAL4_ACTIVE, "Button", "Save additional files from directory:"},
             {IDC_SET_ADDITIONAL4_PATH, "Edit", ""},
             {IDC_SET_BATCH_ACTIVE, "Button", "Start additional Batchprogram:"},
             {IDC_SET_BATCH_PROGRAM, "Edit", ""},
             {IDC_SET_TEST_BATCH, "Button", "Test"},
             {IDOK, "Button", "OK"},
             {IDCANCEL, "Button", "Cancel"},
         }},
        {IDD_RESTORE, 520, 362, "Restore data",
         {
             {IDC_RST_SOURCE_KEEPSET_LIST, "Button", "Select datasource for restore:"},
             {IDC_RST_KEEPSET_LIST, "SysListView32", ""},
             {IDC_RST_SOURCE_OTHER_ROOT, "Button", "Select other keepset root-directory"},
             {IDC_RST_SELECT_ROOT, "Button", "Select"},
             {IDC_RST_SUMMARY, "Edit", ""},
             {IDC_RST_FULL_RESTORE, "Button", "Full restore"},
             {IDC_RST_CUSTOM_RESTORE, "Button", "Custom restore selection"},
             {IDC_RST_CUSTOM_LIST, "SysListView32", ""},
             {IDOK, "Button", "Restore"},
             {IDCANCEL, "Button", "Cancel"},
         }},
        {IDD_FOLDER_BROWSER, 183, 207, nullptr,  // the caption is replaced when it opens
         {
             {IDC_BRW_PROMPT, "Static", nullptr},  // likewise
             {IDC_BRW_PATH_LABEL, "Static", "Selected path:"},
             {IDC_BRW_FILE_LABEL, "Static", "Selected file:"},
             {IDC_BRW_SELECTED_PATH, "Edit", ""},
             {IDC_BRW_TREE, "SysTreeView32", ""},
             {IDOK, "Button", "OK"},
             {IDCANCEL, "Button", "Cancel"},
         }},
    };
    return dialogs;
}

