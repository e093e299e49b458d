; The setup program and its uninstaller. CMake passes VERSION, TARGET
; (x86-unicode or amd64-unicode), OUTFILE, the four programs and TEXT_DIR
; (README.txt, LICENSE.txt), ICON, and SIGN when the release is signed: a
; command that signs, in place, the file named last, described by the text
; before it. What touches the game folder is GameSwap.exe's job; this script
; does what installers do.
;
; Command line, besides NSIS's own /S and /D=<folder>:
;   /GAME=<full path of the game's executable>  put Brennic in front of that
;                                               file instead of the registered one
;
; Exit codes: 0 done; 2 refused or failed, with everything put back; 3
; failed, and something could not be put back. GameSwap adds its words, whole,
; to SETUP_LOG, which a silent run can read afterwards.

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include Sections.nsh
!include WinMessages.nsh
!include MUI2.nsh

; Drawn by the system's visual styles, sharp at any DPI, and known to every
; Windows from 7 on, which otherwise treats it as a program of Vista's time.
XPStyle on
ManifestDPIAware true
ManifestSupportedOS all
BrandingText "Vantrel ${VERSION}"

; The uninstaller is signed as it is made, before setup carries it; setup
; itself last.
!ifdef SIGN
  !uninstfinalize '${SIGN} "Vantrel ${VERSION} uninstaller" "%1"' = 0
  !finalize '${SIGN} "Vantrel ${VERSION} setup" "%1"' = 0
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define GAME_KEY "SOFTWARE\Microsoft\DirectPlay\Applications\Age of Empires II - The Conquerors Expansion"
!define PUBLISHER "Holvane"
!define SETUP_LOG "$TEMP\Vantrel-setup.log"
!define OPTIONS_KEY "Software\Vantrel\Control"

Name "Vantrel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES32\Vantrel"
ShowInstDetails show
ShowUninstDetails show
; A file in use fails the installation instead of keeping an older copy.
AllowSkipFiles off

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Vantrel"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "Vantrel setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

Var GameExe        ; the game's executable Brennic goes in front of
Var GameNote       ; why none was found, in plain words
Var GameField
Var SwapDone       ; 1 once this run has put Brennic in front of the game
Var OldDir         ; the folder of an earlier installation, or empty
Var Moving         ; 1 when /D= named another folder than OldDir: the installation moves
Var PlayersDone    ; 1 once this run has installed the build switch service
Var MadeDir        ; the install folder, when this run made it
Var StartupWasOn   ; 1 when this user had Vantrel start with Windows before this run

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup will install Vantrel ${VERSION}, which switches Age of Empires II - The Conquerors Expansion between 1.0c and 1.0e from the notification area, and put Brennic in front of the game so that every start of it can pick the build.$\r$\n$\r$\nClose the game before you go on.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!define MUI_COMPONENTSPAGE_TEXT_TOP "Tick what setup should do. Point at an item to read what it does."
!define MUI_COMPONENTSPAGE_TEXT_COMPLIST "Choose what setup does:"
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ComponentsPageShow
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
Page custom GamePage GamePageLeave
; What setup did, and any note about it, stays on screen until Next.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Vantrel is installed. It lives in the notification area: click its icon to switch builds, start the game, or change its options.$\r$\n$\r$\nClick Finish to close Setup."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Vantrel now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartVantrel
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the README"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION ShowReadme
!define MUI_FINISHPAGE_NOREBOOTSUPPORT
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Ends every running Vantrel of this session: its options window ends it
; without a question when closed. Then waits a few seconds for `FILE` to be
; free, which it is once the process has gone.
!macro EndVantrel FILE
  StrCpy $R9 0
  ${Do}
    FindWindow $R8 "Vantrel.Config" ""
    ${If} $R8 == 0
      ${Break}
    ${EndIf}
    SendMessage $R8 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    Sleep 100
    IntOp $R9 $R9 + 1
  ${LoopUntil} $R9 >= 50
  StrCpy $R9 0
  ${DoWhile} ${FileExists} "${FILE}"
    ClearErrors
    FileOpen $R8 "${FILE}" a
    ${IfNot} ${Errors}
      FileClose $R8
      ${Break}
    ${EndIf}
    Sleep 200
    IntOp $R9 $R9 + 1
  ${LoopUntil} $R9 >= 25
!macroend

; A Run value that starts the earlier installation's Vantrel starts this one.
!macro MoveRunValue ROOT
  ReadRegStr $R8 ${ROOT} "${RUN_KEY}" "Vantrel"
  ${If} $R8 == '"$OldDir\Vantrel.exe"'
    WriteRegStr ${ROOT} "${RUN_KEY}" "Vantrel" '"$INSTDIR\Vantrel.exe"'
  ${EndIf}
!macroend

; GameSwap.exe into the plug-ins folder, from where it runs.
!macro ExtractGameSwap
  InitPluginsDir
  SetOutPath $PLUGINSDIR
  File "/oname=GameSwap.exe" "${GAMESWAP_EXE}"
!macroend

; Runs the extracted GameSwap.exe with ARGS, its words added to the setup
; log: $0 is its exit code, $1 what it printed.
!macro GameSwap ARGS
  nsExec::ExecToStack '"$PLUGINSDIR\GameSwap.exe" "/log=${SETUP_LOG}" ${ARGS}'
  Pop $0
  Pop $1
!macroend

; The install folder before anything else: Vantrel.exe starts at every
; log-on and uninstall.exe runs elevated, so only a folder nobody but
; administrators may change will do, judged by its owner and permissions
; (GameSwap says which; a folder others may change gets a subfolder Vantrel
; made with the permissions of one under Program Files). Refused, nothing
; is installed.
Section "-Install folder"
  ; Normalised first: no "." or ".." is left to lead elsewhere.
  System::Call 'kernel32::GetFullPathNameW(w "$INSTDIR", i ${NSIS_MAX_STRLEN}, w .r0, p 0) i .r1'
  ${If} $1 > 0
    StrCpy $INSTDIR $0
  ${EndIf}
  StrCpy $0 $INSTDIR "" -1
  StrLen $1 $INSTDIR
  ${If} $0 == "\"
  ${AndIf} $1 > 3
    StrCpy $INSTDIR $INSTDIR -1
  ${EndIf}
  ; What is not there yet and may be made now: the folder, or its subfolder.
  StrCpy $MadeDir ""
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    StrCpy $MadeDir $INSTDIR
  ${ElseIfNot} ${FileExists} "$INSTDIR\Vantrel\*.*"
    StrCpy $MadeDir "$INSTDIR\Vantrel"
  ${EndIf}
  !insertmacro ExtractGameSwap
  ; "\." keeps a drive root's backslash from escaping the closing quote.
  !insertmacro GameSwap `folder "$INSTDIR\."`
  DetailPrint $1
  ${If} $0 == 1
    StrCpy $INSTDIR "$INSTDIR\Vantrel"
  ${ElseIf} $0 != 0
    MessageBox MB_OK|MB_ICONSTOP "$1" /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
SectionEnd

; The game folder next: when it has to be refused, nothing else is installed.
Section "Brennic in front of the game" SecStub
  ${If} $GameExe == ""
    MessageBox MB_OK|MB_ICONSTOP "No game executable was chosen, so Brennic cannot be put in front of the game. Nothing was installed." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  !insertmacro ExtractGameSwap
  File "/oname=Brennic.exe" "${BRENNIC_EXE}"
  !insertmacro GameSwap `install "$PLUGINSDIR\Brennic.exe" "$GameExe"`
  DetailPrint $1
  ; 1: Brennic was in front already and is only updated; a later failure
  ; must not undo an earlier installation's work. 3: the record of what was
  ; done stays, and .onInstFailed takes back what it can from it.
  ${If} $0 == 0
    StrCpy $SwapDone 1
  ${ElseIf} $0 == 3
    StrCpy $SwapDone 1
    MessageBox MB_OK|MB_ICONSTOP "$1$\r$\n$\r$\nVantrel was not installed. These words are also in ${SETUP_LOG}." /SD IDOK
    SetErrorLevel 3
    Abort
  ${ElseIf} $0 != 1
    MessageBox MB_OK|MB_ICONSTOP "$1$\r$\n$\r$\nVantrel was not installed." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
SectionEnd

Section "-Vantrel"
  SetRegView 32
  SetShellVarContext all
  ; /D= may name the earlier installation's folder by another name (a short
  ; name, a junction): another folder by what it is, not by its name. The
  ; same folder keeps the name it was installed by, and its files.
  StrCpy $Moving 0
  ${If} $OldDir != ""
    !insertmacro GameSwap `samefolder "$OldDir" "$INSTDIR"`
    ${If} $0 == 0
      StrCpy $INSTDIR $OldDir
    ${ElseIf} $0 == 1
      StrCpy $Moving 1
    ${Else}
      MessageBox MB_OK|MB_ICONSTOP "$1$\r$\n$\r$\nVantrel was not installed." /SD IDOK
      SetErrorLevel 2
      Abort
    ${EndIf}
  ${EndIf}
  ${If} $GameNote != ""
  ${AndIfNot} ${SectionIsSelected} ${SecStub}
    DetailPrint $GameNote
  ${EndIf}
  ; An upgrade: the running Vantrel (it starts with Windows) holds its file.
  !insertmacro EndVantrel "$INSTDIR\Vantrel.exe"
  SetOutPath $INSTDIR
  File "${VANTREL_EXE}"
  File "${TEXT_DIR}\README.txt"
  File "${TEXT_DIR}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Vantrel.lnk" "$INSTDIR\Vantrel.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vantrel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Vantrel.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; /D= named another folder than the earlier installation's: move it here
  ; rather than leave an orphan whose uninstaller would give the game back.
  ${If} $Moving == 1
    !insertmacro EndVantrel "$OldDir\Vantrel.exe"
    Delete "$OldDir\Vantrel.exe"
    Delete "$OldDir\README.txt"
    Delete "$OldDir\LICENSE.txt"
    Delete "$OldDir\uninstall.exe"
    RMDir "$OldDir"
    ${If} ${FileExists} "$OldDir\*.*"
      DetailPrint "The earlier installation's folder $OldDir could not be removed completely; delete it by hand."
    ${EndIf}
    !insertmacro MoveRunValue HKLM
    !insertmacro MoveRunValue HKCU
  ${EndIf}
SectionEnd

; After the install folder is in place, and only administrators may change
; it: the service runs its program from there, as a service account with
; rights in the game folder.
Section "Players may switch builds" SecPlayers
  ${If} $GameExe == ""
    DetailPrint "No game executable was chosen, so the build switch service was not installed."
    Return
  ${EndIf}
  !insertmacro ExtractGameSwap
  ; An earlier setup's service may be running, holding its program.
  !insertmacro GameSwap `stopservice`
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONSTOP "$1$\r$\n$\r$\nVantrel was not installed completely." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  SetOutPath $INSTDIR
  File "${SWITCH_EXE}"
  !insertmacro GameSwap `service "$INSTDIR\VantrelSwitch.exe" "$GameExe"`
  DetailPrint $1
  ${If} $0 == 0
    StrCpy $PlayersDone 1
  ${ElseIf} $0 == 3
    ; Not all taken back: what its record keeps, .onInstFailed tries again.
    StrCpy $PlayersDone 1
    MessageBox MB_OK|MB_ICONSTOP "$1$\r$\n$\r$\nVantrel was not installed completely. These words are also in ${SETUP_LOG}." /SD IDOK
    SetErrorLevel 3
    Abort
  ${ElseIf} $0 != 1
    MessageBox MB_OK|MB_ICONSTOP "$1$\r$\n$\r$\nVantrel was not installed completely." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  ; Moved by /D=: the service runs the program here now.
  ${If} $Moving == 1
    Delete "$OldDir\VantrelSwitch.exe"
    RMDir "$OldDir"
  ${EndIf}
SectionEnd

; Not wanted, or no game to switch: whatever an earlier setup installed and
; granted for it goes, and with it the right version 2.1.0 gave every user
; to create files in the game folder.
Section "-Players may not switch builds"
  ${If} ${SectionIsSelected} ${SecPlayers}
  ${AndIf} $GameExe != ""
    Return
  ${EndIf}
  !insertmacro ExtractGameSwap
  !insertmacro GameSwap `unservice`
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONSTOP "$1$\r$\n$\r$\nThese words are also in ${SETUP_LOG}." /SD IDOK
    SetErrorLevel 3
  ${Else}
    Delete "$INSTDIR\VantrelSwitch.exe"
  ${EndIf}
SectionEnd

; "Add to 'Startup'" in Vantrel's options, done by setup: the same single Run
; value, and the "Starting" setting its box is drawn from. This user's own
; value, not the machine's: Vantrel runs unelevated and, finding the option
; on at its start, writes this one and removes the other; an elevated
; setup's machine-wide value would be the one it could not remove.
Section "Start Vantrel with Windows" SecStartup
  SetRegView 32
  Call SetupRunsAsSignedInUser
  Pop $0
  ${If} $0 != 1
    DetailPrint "Setup runs as another account than the one signed in to Windows, so it did not add Vantrel to Startup: tick $\"Add to 'Startup'$\" in Vantrel's options to have it start with Windows."
    Return
  ${EndIf}
  ; Quoted only when the path holds a blank, as Vantrel writes it.
  StrCpy $0 "$INSTDIR\Vantrel.exe"
  System::Call 'shlwapi::PathQuoteSpacesW(w r0 r0)'
  ClearErrors
  WriteRegStr HKCU "${RUN_KEY}" "Vantrel" $0
  ${If} ${Errors}
    DetailPrint "Vantrel could not be added to Startup: the registry value HKEY_CURRENT_USER\${RUN_KEY}\Vantrel cannot be written."
    Return
  ${EndIf}
  DeleteRegValue HKLM "${RUN_KEY}" "Vantrel"
  WriteRegStr HKCU "${OPTIONS_KEY}" "Starting" "1"
SectionEnd

; Unticked where it was on: taken out of Startup as Vantrel's option does.
Section "-Not with Windows"
  SetRegView 32
  ${If} ${SectionIsSelected} ${SecStartup}
  ${OrIf} $StartupWasOn != 1
    Return
  ${EndIf}
  Call SetupRunsAsSignedInUser
  Pop $0
  ${If} $0 == 1
    DeleteRegValue HKCU "${RUN_KEY}" "Vantrel"
    DeleteRegValue HKLM "${RUN_KEY}" "Vantrel"
    WriteRegStr HKCU "${OPTIONS_KEY}" "Starting" "0"
  ${EndIf}
SectionEnd

Section "-Details"
  Call WidenDetails
SectionEnd

; Shown when the pointer is on a component; one string each.
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecStub} "Renames the game's executable Brennic_Original.exe and puts Brennic under its name, so that whatever starts the game starts Brennic, which starts the build you chose. The uninstaller gives the game back."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecPlayers} "Installs the Vantrel build switch, a small Windows service that creates or deletes on.ini in the game folder when a player switches builds, and can do nothing else: no player gets any right to create files there. It runs only when asked, and stops itself half a minute later. Players may also add to the stub's log. The uninstaller removes it."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecStartup} "Starts Vantrel in the notification area when you sign in to Windows, as $\"Add to 'Startup'$\" in its options does; untick that option to stop it."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

!define /ifndef TVM_GETCOUNT 0x1105
!define /ifndef TVM_GETITEMHEIGHT 0x111C
!define /ifndef SWP_NOSIZE 0x0001
!define /ifndef SWP_NOZORDER 0x0004

; $R0 to $R3: the left, top, right and bottom of control CONTROL on the components page.
!macro ComponentsPageRect CONTROL
  System::Call '*(i, i, i, i) p.R9'
  System::Call 'user32::GetWindowRect(p ${CONTROL}, p R9)'
  System::Call 'user32::MapWindowPoints(p 0, p $mui.ComponentsPage, p R9, i 2)'
  System::Call '*$R9(i .R0, i .R1, i .R2, i .R3)'
  System::Free $R9
!macroend

; The list moved up to where the install types would be, as tall as its
; names, and the description box grown upwards into the room left: a few
; words each would not say what they do.
Function ComponentsPageShow
  !insertmacro ComponentsPageRect $mui.ComponentsPage.InstTypes
  StrCpy $R4 $R1
  !insertmacro ComponentsPageRect $mui.ComponentsPage.Components
  ${If} $R4 > $R1
    StrCpy $R4 $R1
  ${EndIf}
  IntOp $R5 $R1 - $R4
  StrCpy $R6 $R3
  IntOp $R2 $R2 - $R0
  SendMessage $mui.ComponentsPage.Components ${TVM_GETITEMHEIGHT} 0 0 $R7
  SendMessage $mui.ComponentsPage.Components ${TVM_GETCOUNT} 0 0 $R8
  IntOp $R7 $R7 * $R8
  IntOp $R7 $R7 + 6
  System::Call 'user32::SetWindowPos(p $mui.ComponentsPage.Components, p 0, i R0, i R4, i R2, i R7, i ${SWP_NOZORDER})'
  ; Its label with it.
  !insertmacro ComponentsPageRect $mui.ComponentsPage.ComponentsText
  IntOp $R1 $R1 - $R5
  System::Call 'user32::SetWindowPos(p $mui.ComponentsPage.ComponentsText, p 0, i R0, i R1, i 0, i 0, i ${SWP_NOSIZE}|${SWP_NOZORDER})'
  ; How far the description box grows up.
  IntOp $R7 $R4 + $R7
  IntOp $R8 $R6 - $R7
  ${If} $R8 <= 0
    Return
  ${EndIf}
  !insertmacro ComponentsPageRect $mui.ComponentsPage.DescriptionTitle
  IntOp $R1 $R1 - $R8
  IntOp $R2 $R2 - $R0
  IntOp $R3 $R3 - $R1
  System::Call 'user32::SetWindowPos(p $mui.ComponentsPage.DescriptionTitle, p 0, i R0, i R1, i R2, i R3, i ${SWP_NOZORDER})'
  !insertmacro ComponentsPageRect $mui.ComponentsPage.DescriptionText
  IntOp $R1 $R1 - $R8
  IntOp $R2 $R2 - $R0
  IntOp $R3 $R3 - $R1
  System::Call 'user32::SetWindowPos(p $mui.ComponentsPage.DescriptionText, p 0, i R0, i R1, i R2, i R3, i ${SWP_NOZORDER})'
FunctionEnd

!define /ifndef LVM_SETCOLUMNWIDTH 0x101E
!define /ifndef LVSCW_AUTOSIZE -1

; The details as wide as their longest line, scrolled sideways, so that no
; line ends in "...". Run by a last section: a failure's words, cut here,
; are whole in its message box and the log.
!macro WidenDetails UN
  Function ${UN}WidenDetails
    ; A silent run has no window; the search would find another program's.
    ${If} $HWNDPARENT != 0
      FindWindow $R0 "#32770" "" $HWNDPARENT
      GetDlgItem $R0 $R0 1016
      SendMessage $R0 ${LVM_SETCOLUMNWIDTH} 0 ${LVSCW_AUTOSIZE}
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro WidenDetails ""
!insertmacro WidenDetails "un."

; An upgrade keeps Startup as the player had it; a first installation
; starts with Windows.
Function InitStartupSection
  StrCpy $StartupWasOn 0
  ReadRegStr $0 HKCU "${OPTIONS_KEY}" "Starting"
  ${If} $0 == 1
    StrCpy $StartupWasOn 1
  ${EndIf}
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $StartupWasOn != 1
    !insertmacro UnselectSection ${SecStartup}
  ${EndIf}
FunctionEnd

; Pushes 1 when setup runs as the user signed in to this desktop, or when no
; shell runs to tell; 0 when it runs as another account, as when a user who
; is not an administrator elevated it with an administrator's password: its
; HKEY_CURRENT_USER is then that administrator's.
Function SetupRunsAsSignedInUser
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $0 1
  System::Call 'user32::GetShellWindow() p.r1'
  ${If} $1 != 0
    ; Its own shell's token is open to the signed-in user, elevated or not;
    ; to another account, as a rule, it is not.
    StrCpy $0 0
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
    ; PROCESS_QUERY_LIMITED_INFORMATION, TOKEN_QUERY
    System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r2) p.r3'
    System::Call 'advapi32::OpenProcessToken(p r3, i 8, *p .r1) i.r2'
    System::Call 'kernel32::CloseHandle(p r3)'
    ${If} $2 != 0
      System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r2)'
      System::Call '*(&i512, &i512) p.r3'
      IntPtrOp $4 $3 + 512
      System::Call 'advapi32::GetTokenInformation(p r1, i 1, p r3, i 512, *i 0)'
      System::Call 'advapi32::GetTokenInformation(p r2, i 1, p r4, i 512, *i 0)'
      System::Call 'kernel32::CloseHandle(p r1)'
      ; A TOKEN_USER begins with its user's SID.
      System::Call '*$3(p .r1)'
      System::Call '*$4(p .r4)'
      ${If} $1 != 0
      ${AndIf} $4 != 0
        System::Call 'advapi32::EqualSid(p r1, p r4) i.r0'
      ${EndIf}
      System::Free $3
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
  ${EndIf}
  ${If} $0 != 0
    StrCpy $0 1
  ${EndIf}
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Setup runs elevated, and a program it started would run with its token.
; Explorer, given a program, hands it to the shell that already runs and
; exits; the shell starts it as the signed-in user.
Function StartVantrel
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\Vantrel.exe"'
FunctionEnd

; Through the shell too: an editor started elevated could open and save any file.
Function ShowReadme
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\README.txt"'
FunctionEnd

Function .onInit
  SetRegView 32
  StrCpy $SwapDone 0
  StrCpy $PlayersDone 0
  Call InitStartupSection
  ; An earlier installation's folder is the default; /D= still chooses.
  ReadRegStr $OldDir HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $OldDir != ""
  ${AndIf} $INSTDIR == "$PROGRAMFILES32\Vantrel"
    StrCpy $INSTDIR $OldDir
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/GAME=" $1
  ${IfNot} ${Errors}
  ${AndIf} $1 != ""
    StrCpy $GameExe $1
    Return
  ${EndIf}
  ReadRegStr $1 HKLM "${GAME_KEY}" "Path"
  ReadRegStr $2 HKLM "${GAME_KEY}" "File"
  ${If} $1 == ""
    StrCpy $GameNote "The game is not registered: the registry value HKEY_LOCAL_MACHINE\${GAME_KEY}\Path is missing or empty. Brennic was not put in front of the game."
  ${ElseIf} $2 == ""
    StrCpy $GameNote "The game's registration names no executable: the registry value HKEY_LOCAL_MACHINE\${GAME_KEY}\File is missing or empty. Brennic was not put in front of the game."
  ; Only Brennic_Original.exe there: an interrupted setup or uninstall,
  ; which GameSwap finishes, or refuses to guess about.
  ${ElseIfNot} ${FileExists} "$1\$2"
  ${AndIfNot} ${FileExists} "$1\Brennic_Original.exe"
    StrCpy $GameNote "The game's executable $1\$2 named by its registration does not exist. Brennic was not put in front of the game."
  ${Else}
    StrCpy $GameExe "$1\$2"
    Return
  ${EndIf}
  ; On by default only when the game was found.
  !insertmacro UnselectSection ${SecStub}
FunctionEnd

; If anything after the swap fails, the game folder is given back too: every
; step that reported done, or broken with its record kept, is undone. An
; exit code of 3 a step gave stays 3.
Function .onInstFailed
  ${If} $PlayersDone == 1
  ${AndIf} $SwapDone != 1
    !insertmacro GameSwap `unservice`
    ${If} $0 != 0
      MessageBox MB_OK|MB_ICONSTOP "$1" /SD IDOK
      SetErrorLevel 3
    ${EndIf}
  ${EndIf}
  ${If} $SwapDone == 1
    !insertmacro GameSwap `uninstall`
    ${If} $0 == 0
      MessageBox MB_OK|MB_ICONINFORMATION "$1" /SD IDOK
    ${Else}
      MessageBox MB_OK|MB_ICONSTOP "$1$\r$\n$\r$\nBrennic could not be taken out of the game folder. Run setup again to finish the installation, or follow what is said above. These words are also in ${SETUP_LOG}." /SD IDOK
      SetErrorLevel 3
    ${EndIf}
  ${EndIf}
  ; An install folder this run made goes again while it is empty.
  ${If} $MadeDir != ""
    RMDir $MadeDir
  ${EndIf}
FunctionEnd

Function GamePage
  ${IfNot} ${SectionIsSelected} ${SecStub}
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Choose the Game" "Brennic goes in front of the game's executable."
  nsDialogs::Create 1018
  Pop $0
  ${If} $GameExe != ""
    ${NSD_CreateLabel} 0 0 100% 36u "Brennic goes in front of this game executable: it is renamed Brennic_Original.exe, and Brennic takes its name. Choose another file if this is not the game."
  ${Else}
    ${NSD_CreateLabel} 0 0 100% 36u "$GameNote$\r$\nChoose the game's executable to put Brennic in front of it."
  ${EndIf}
  Pop $0
  ${NSD_CreateText} 0 44u 80% 12u "$GameExe"
  Pop $GameField
  ${NSD_CreateBrowseButton} 82% 43u 18% 14u "Browse..."
  Pop $0
  ${NSD_OnClick} $0 BrowseForGame
  nsDialogs::Show
FunctionEnd

Function BrowseForGame
  ${NSD_GetText} $GameField $0
  nsDialogs::SelectFileDialog open "$0" "Programs (*.exe)|*.exe"
  Pop $0
  ${If} $0 != ""
    ${NSD_SetText} $GameField $0
  ${EndIf}
FunctionEnd

Function GamePageLeave
  ${NSD_GetText} $GameField $GameExe
  ${If} $GameExe == ""
  ${OrIfNot} ${FileExists} $GameExe
    MessageBox MB_OK|MB_ICONEXCLAMATION "Choose the game's executable, or go back and untick $\"Brennic in front of the game$\"."
    Abort
  ${EndIf}
FunctionEnd

; Vantrel goes out of the way before the game folder is touched: should it
; not (it runs in another user's session, say), nothing has changed yet.
!define VANTREL_ASIDE "Vantrel.exe.uninstalling"

Section "Uninstall"
  SetRegView 32
  SetShellVarContext all
  !insertmacro EndVantrel "$INSTDIR\Vantrel.exe"
  SetOutPath $TEMP
  Delete "$INSTDIR\${VANTREL_ASIDE}"
  ClearErrors
  ${If} ${FileExists} "$INSTDIR\Vantrel.exe"
    Rename "$INSTDIR\Vantrel.exe" "$INSTDIR\${VANTREL_ASIDE}"
  ${EndIf}
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\Vantrel.exe cannot be moved: Vantrel may still be running, perhaps for another user. Exit it and uninstall again. Nothing was changed." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}

  !insertmacro ExtractGameSwap
  !insertmacro GameSwap `uninstall`
  DetailPrint $1
  ${If} $0 == 1
    ; Left as it is: the player should know why.
    MessageBox MB_OK|MB_ICONINFORMATION "$1" /SD IDOK
  ${ElseIf} $0 != 0
    Rename "$INSTDIR\${VANTREL_ASIDE}" "$INSTDIR\Vantrel.exe"
    ${If} $0 == 3
      MessageBox MB_OK|MB_ICONSTOP "$1$\r$\n$\r$\nVantrel was not uninstalled. These words are also in ${SETUP_LOG}." /SD IDOK
      SetErrorLevel 3
    ${Else}
      MessageBox MB_OK|MB_ICONSTOP "$1$\r$\n$\r$\nVantrel was not uninstalled." /SD IDOK
      SetErrorLevel 2
    ${EndIf}
    Abort
  ${EndIf}

  ; Still running somewhere: it goes when Windows starts next.
  Delete /REBOOTOK "$INSTDIR\${VANTREL_ASIDE}"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  ; GameSwap removed the service above.
  Delete "$INSTDIR\VantrelSwitch.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
  Delete "$SMPROGRAMS\Vantrel.lnk"

  DeleteRegValue HKLM "${RUN_KEY}" "Vantrel"
  DeleteRegValue HKCU "${RUN_KEY}" "Vantrel"
  DeleteRegKey HKCU "Software\Vantrel"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
  SetRegView 32
FunctionEnd

; After the uninstaller's work, as "-Details" after setup's.
Section "-un.Details"
  Call un.WidenDetails
SectionEnd
