#pragma once
// Resource and control identifiers of Brennic.exe, shared by the resource
// script, the window code and the tests that drive the window.

#define IDI_BRENNIC 1  // the lowest icon id is also the program file's icon

#define IDC_BUILD_10C 101
#define IDC_BUILD_10E 102
#define IDT_CHOICE_WAIT 1
