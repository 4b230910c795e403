#pragma once
// Identifiers of the program's resources and controls, shared by the resource script and code.

#define IDI_APPLICATION_ICON 128

#define IDD_MAIN_DIALOG 102
#define IDC_HOSTS_PATH 1003
#define IDC_COMMUNITY_ADDRESS 1004
#define IDC_CURRENT_ADDRESS 1005
#define IDC_API_PATH 1008
#define IDC_LADDERS 1009
#define IDC_RESET 1002
#define IDC_TEST 1007
#define ID_APPLY_ADDRESS 1001
#define ID_OPEN_HOSTS_FILE 1006

#define IDD_LOGIN_DIALOG 129
#define IDC_GAME_LIST 1006
#define IDC_NICK_LIST 1007
#define IDC_TRANSCRIPT 1008
#define IDC_RESET_PASSWORDS 1011

#define ID_STATUS_BAR 59393
