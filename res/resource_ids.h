#pragma once
// Identifiers shared by the resource script and the program: resources,
// control IDs and command IDs.

#define IDI_APP 103
#define IDI_APP_SMALL 104
#define IDI_BOLD 107
#define IDI_ITALIC 108
#define IDI_MENU 110
#define IDI_FONT_COLOR 111
#define IDI_BACKGROUND_COLOR 112

#define IDM_POPUP 109

#define IDC_SAMPLE 100
#define IDC_BOLD 102
#define IDC_ITALIC 103
#define IDC_MENU 105
#define IDC_FONT_COLOR 106
#define IDC_BACKGROUND_COLOR 107

#define IDM_ADD_INSTALLED_FONT 40003
#define IDM_RESET 40004
#define IDM_ADD_FONT_FILE 40006
#define IDM_CAPTURE 40008
#define IDM_EXIT 40010
#define IDM_FACE_DETAILS 40012
#define IDM_ADD_FOLDER 40013
#define IDM_LIBRARY 40014
