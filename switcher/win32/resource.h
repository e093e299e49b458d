#pragma once
// Resource and control identifiers of Vantrel.exe, shared by the resource
// script, the window code and the tests that drive the windows.

#define IDI_VANTREL 1

// The options window, in tab order.
#define IDC_ASK_TO_SWITCH 101
#define IDC_START_WITH_WINDOWS 102
#define IDC_CLOSE_APPLICATIONS 103
#define IDC_OPTIONS_OK 104
#define IDC_APPLICATION_LIST 105
#define IDC_REPLY_HINT 106

// The About window.
#define IDC_ABOUT_OK 201
#define IDC_HOME_PAGE 202
#define IDC_ABOUT_FRAME 203
#define IDC_ABOUT_TEXT 204
