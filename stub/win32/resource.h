#pragma once
// Resource and control identifiers of Brennic.exe, shared by the resource
// script and the window code.

#define IDI_BRENNIC 1  // the lowest icon id is also the program file's icon

#define IDC_COMMAND1 101
#define IDC_COMMAND2 102
#define IDT_TIMER1 1
