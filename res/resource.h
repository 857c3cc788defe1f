// Resource ids shared by the program and the language libraries.
#pragma once

/* Folder browser (IDD_FOLDER_BROWSER) */
#define IDD_FOLDER_BROWSER            147
#define IDC_BRW_TREE                  1001
#define IDC_BRW_PROMPT                1016
#define IDC_BRW_SELECTED_PATH         1119
#define IDC_BRW_PATH_LABEL            1120
#define IDC_BRW_FILE_LABEL            1121
