; vorn-setup.exe: installs Vorn (the 32-bit build) for every user of the machine, in Japanese,
; with /S for scripted installs (/D=FOLDER picks the program folder). The build
; (setup/CMakeLists.txt) defines
;   VERSION          the version, four numbers      OUTFILE      the installer to write
;   INSTALLED_FILES  the lines made of installed-files.txt, the files it puts in place
;   ICON             Vorn's icon
;
; What it installs, and the uninstaller removes again:
;   - vorn.exe, Vorn4.chm and Uninstall.exe in the program folder (and the mail shortcut
;     VornMail.url that Vorn writes there); the folder itself when nothing else is left in it;
;   - the Start menu folder "Vorn"; the entry of Add/Remove Programs;
;   - unlha32.dll in the system folder where Vorn looks for it, only when none is there: a copy
;     another program installed is used as it is and never replaced, whatever its version, as
;     Vorn's library offers only what Vorn calls. A copy of ours is replaced by a newer one of
;     ours only. The library's users are counted in SharedDLLs; the uninstaller removes the
;     library only when it put it there and the count of its users falls to nothing.
;   - the settings key HKCU\Software\Vorn only when the user agrees (never with /S); backup
;     sets are the user's data and are never touched.
Unicode false  ; an ANSI installer also runs on Windows 98 and Me

!include MUI2.nsh
!include LogicLib.nsh
!include WinVer.nsh
!include "${INSTALLED_FILES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorn"
!define SHARED_DLLS_KEY "Software\Microsoft\Windows\CurrentVersion\SharedDLLs"
!define SETTINGS_KEY "Software\Vorn"
!define RUNNING_MUTEX "Vorn.SingleInstance"

Name "Vorn"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Vorn"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "Vorn ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductName" "Vorn"
VIAddVersionKey /LANG=1041 "FileDescription" "Vorn セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "OriginalFilename" "vorn-setup.exe"
VIAddVersionKey /LANG=1041 "LegalCopyright" "(C) Vorn の作者"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!define MUI_FINISHPAGE_RUN "$INSTDIR\vorn.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(RunVornText)"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

; Every Japanese text is a language string: an ANSI installer holds those in the language's code
; page (932), and plain strings only in ASCII.
LangString WelcomeText ${LANG_JAPANESE} "Outlook Express のメール、設定、アドレス帳とお気に入りをバックアップし、復元するツール Vorn をインストールします。$\r$\n$\r$\nVorn が起動している場合は、終了してから「次へ」をクリックして下さい。"
LangString RunVornText ${LANG_JAPANESE} "Vorn を起動する"
LangString VornRunning ${LANG_JAPANESE} "Vorn が起動しています。$\r$\nVorn を終了してから、もう一度実行して下さい。"
LangString UninstallShortcut ${LANG_JAPANESE} "Vorn のアンインストール"
LangString ArchiverKept ${LANG_JAPANESE} "は同じか新しい版のため、そのまま使います。"
LangString ArchiverShared ${LANG_JAPANESE} "は他のプログラムのものを使います。"
LangString RemoveSettings ${LANG_JAPANESE} "Vorn の設定 (保存先、メニューの選択など) も削除しますか?$\r$\nバックアップしたデータは削除されません。"

; Ends the installer or uninstaller while Vorn runs: its files cannot be replaced then.
!macro RefuseWhileVornRuns
  System::Call 'kernel32::OpenMutexA(i 0x00100000, i 0, t "${RUNNING_MUTEX}") p .r0'
  ${If} $0 <> 0
    System::Call 'kernel32::CloseHandle(p r0)'
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(VornRunning)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RefuseWhileVornRuns
FunctionEnd

Function un.onInit
  !insertmacro RefuseWhileVornRuns
FunctionEnd

; $0: the system folder in which Vorn's start-up looks for the archiver library.
Function ArchiverFolder
  ${If} ${IsNT}
    ReadEnvStr $0 SystemRoot
    StrCpy $0 "$0\system32"
  ${Else}
    ReadEnvStr $0 windir
    StrCpy $0 "$0\system"
  ${EndIf}
FunctionEnd

; Puts unlha32.dll in place as the comment at the top says, and records what it did under the
; uninstall key: "ArchiverPath" and "Archiver" = installed (ours) or shared (another program's).
Function InstallArchiver
  Call ArchiverFolder
  StrCpy $1 "$0\${ARCHIVER}"
  ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "Archiver"
  ${If} $2 == ""
    ; Counted once, by the first install. A library already there without a count has at
    ; least one user already: the program that put it there.
    ClearErrors
    ReadRegDWORD $3 HKLM "${SHARED_DLLS_KEY}" $1
    ${If} ${Errors}
    ${AndIf} ${FileExists} $1
      StrCpy $3 1
    ${EndIf}
    IntOp $3 $3 + 1
    WriteRegDWORD HKLM "${SHARED_DLLS_KEY}" $1 $3
    StrCpy $2 "installed"
    ${If} ${FileExists} $1
      StrCpy $2 "shared"
    ${EndIf}
  ${EndIf}

  ${IfNot} ${FileExists} $1
    StrCpy $2 "installed"
    Call CopyArchiver
  ${ElseIf} $2 == "installed"
    ; Replaced only by a newer version: the high words (major, minor), then the low ones.
    GetDLLVersion $1 $3 $4
    GetDLLVersionLocal "${ARCHIVER_FILE}" $5 $6
    StrCpy $7 "keep"
    ${If} $5 U> $3
      StrCpy $7 "replace"
    ${ElseIf} $5 == $3
    ${AndIf} $6 U> $4
      StrCpy $7 "replace"
    ${EndIf}
    ${If} $7 == "replace"
      Call CopyArchiver
    ${Else}
      DetailPrint "$1 $(ArchiverKept)"
    ${EndIf}
  ${Else}
    DetailPrint "$1 $(ArchiverShared)"
  ${EndIf}
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Archiver" $2
  WriteRegStr HKLM "${UNINSTALL_KEY}" "ArchiverPath" $1
FunctionEnd

Function CopyArchiver
  SetOutPath $0
  File "/oname=${ARCHIVER}" "${ARCHIVER_FILE}"
FunctionEnd

Section "Vorn"
  SetOutPath "$INSTDIR"
  !insertmacro InstallProgramFiles
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  Call InstallArchiver

  SetShellVarContext all
  SetOutPath "$INSTDIR"  ; the shortcuts' working folder
  CreateDirectory "$SMPROGRAMS\Vorn"
  !insertmacro CreateMenuEntries
  CreateShortCut "$SMPROGRAMS\Vorn\$(UninstallShortcut).lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vorn"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vorn.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; One user fewer of the archiver library; it goes when it is ours and nobody uses it any more.
Function un.RemoveArchiver
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "Archiver"
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "ArchiverPath"
  ${If} $1 == ""
    Return
  ${EndIf}
  ReadRegDWORD $2 HKLM "${SHARED_DLLS_KEY}" $1
  ${If} $2 > 1
    IntOp $2 $2 - 1
    WriteRegDWORD HKLM "${SHARED_DLLS_KEY}" $1 $2
    Return
  ${EndIf}
  DeleteRegValue HKLM "${SHARED_DLLS_KEY}" $1
  ${If} $0 == "installed"
    Delete /REBOOTOK $1
  ${EndIf}
FunctionEnd

Section "Uninstall"
  !insertmacro RemoveProgramFiles
  Delete "$INSTDIR\VornMail.url"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext all
  !insertmacro RemoveMenuEntries
  Delete "$SMPROGRAMS\Vorn\$(UninstallShortcut).lnk"
  RMDir "$SMPROGRAMS\Vorn"

  Call un.RemoveArchiver
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveSettings)" /SD IDNO IDNO keepSettings
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  keepSettings:

  ; This runs as a copy in the temporary folder, which goes with its folder at the next start.
  Delete /REBOOTOK "$EXEPATH"
  RMDir /REBOOTOK "$EXEDIR"
SectionEnd
