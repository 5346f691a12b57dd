; The Windows installer: per machine into Program Files, a Start-menu
; shortcut, and an uninstaller registered in Apps (Add or Remove Programs).
; makensis -DVERSION=1.00 -DEXE=... -DICON=... -DLICENSE=... -DREADME=... -DOUTFILE=... installer.nsi
;
; Installing and uninstalling are all or nothing: while Parvolin runs, Windows
; keeps parvolin.exe open, and replacing or deleting it would fail halfway
; (an uninstall entry gone, the program left behind). So a running Parvolin is
; closed first: the user is asked to close it, a silent run (/S) closes it as
; its Close button would; if it still runs, nothing is changed and the run
; ends with exit status 2.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; The installed files get the time they are installed at, not the build's:
; the same sources make the same installer.
SetDateSave off
; A file that cannot be written ends the installation: NSIS would otherwise
; offer to skip it, and a silent run skips it on its own and reports success
; with the old program in place.
AllowSkipFiles off
; Sharp at every scale, like the program; Windows 10 and 11 only.
ManifestDPIAware true
ManifestSupportedOS {8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}

!include LogicLib.nsh
!include WinVer.nsh
!include WinMessages.nsh
!include FileFunc.nsh
!include MUI2.nsh

!define NAME "Parvolin"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAME}"
; The class of Parvolin's window, by which a running copy is found.
!define WINDOW_CLASS "ParvolinForm"
; The per-monitor DPI functions parvolin.exe imports came with Windows 10,
; version 1607 (build 14393); on anything older it cannot start.
!define MINIMUM_BUILD 14393
; Exit status of a run that changed nothing because Parvolin would not close
; or Windows is too old (NSIS's own "aborted by the script").
!define EXIT_UNCHANGED 2

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${NAME}"
RequestExecutionLevel admin
ShowInstDetails nevershow
ShowUninstDetails nevershow
BrandingText "${NAME} ${VERSION}"
VIProductVersion "1.0.0.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "The Parvolin developers"
VIAddVersionKey "FileDescription" "${NAME} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 The Parvolin developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Run ${NAME}"
!define MUI_FINISHPAGE_RUN_FUNCTION runParvolin
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Ends the run unchanged, with a sentence for the user (none when silent).
!macro QUIT_UNCHANGED TEXT
    MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
    SetErrorLevel ${EXIT_UNCHANGED}
    Quit
!macroend

; Closes every running Parvolin, or quits unchanged. ACTION names what waits
; on it, for the question to the user.
!macro DEFINE_CLOSE_PARVOLIN PREFIX ACTION
Function ${PREFIX}closeParvolin
    FindWindow $0 "${WINDOW_CLASS}"
    ${If} $0 = 0
        Return
    ${EndIf}
    ${IfNot} ${Silent}
        ${Do}
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${NAME} is running. Close it, then choose Retry to ${ACTION} it.$\n$\nCancel leaves ${NAME} as it is." IDRETRY +3
            SetErrorLevel ${EXIT_UNCHANGED}
            Quit
            FindWindow $0 "${WINDOW_CLASS}"
        ${LoopUntil} $0 = 0
        Return
    ${EndIf}
    ; Silent: close each window as its Close button would, then give the
    ; program up to five seconds to end.
    StrCpy $1 0  ; the window last asked to close
    ${For} $2 1 20
        FindWindow $0 "${WINDOW_CLASS}"
        ${If} $0 = 0
            ${Break}
        ${EndIf}
        ${If} $0 <> $1
            ; With a time-out: a program that hangs must not hang the installer.
            SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=1000
            StrCpy $1 $0
        ${EndIf}
        Sleep 250
    ${Next}
    ; A closed window can outlive its process by a moment; the file matters.
    Sleep 500
    FindWindow $0 "${WINDOW_CLASS}"
    ${If} $0 <> 0
        !insertmacro QUIT_UNCHANGED "${NAME} is running and did not close. Close it and try again."
    ${EndIf}
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_PARVOLIN "" "install"
!insertmacro DEFINE_CLOSE_PARVOLIN "un." "uninstall"

Function .onInit
    ${IfNot} ${AtLeastBuild} ${MINIMUM_BUILD}
        !insertmacro QUIT_UNCHANGED "${NAME} needs Windows 10, version 1607, or later (Windows 11 too). This Windows is older, so nothing was installed."
    ${EndIf}
    ; A 64-bit program: its files, shortcut and registry entry are the
    ; 64-bit ones, for every user.
    SetRegView 64
    SetShellVarContext all
    ; An update goes where the installed copy is, unless another folder was
    ; asked for (/D=): a second copy would be left behind with an uninstaller
    ; that removes the new one's Apps entry.
    ${If} $INSTDIR == "$PROGRAMFILES64\${NAME}"
        ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
        ${If} $0 != ""
            StrCpy $INSTDIR $0
        ${EndIf}
    ${EndIf}
    Call closeParvolin
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
    Call un.closeParvolin
FunctionEnd

; The finish page's "Run Parvolin": started through Explorer it runs as the
; signed-in user, not with the installer's administrator rights.
Function runParvolin
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\parvolin.exe"'
FunctionEnd

Section "Install"
    ; It may have been started while the pages were shown.
    Call closeParvolin
    ; Windows keeps a running program's file from being rewritten. A copy this
    ; installer cannot see (in another user's session, or not yet showing its
    ; window) is found here, before anything is changed.
    ${If} ${FileExists} "$INSTDIR\parvolin.exe"
        ClearErrors
        FileOpen $0 "$INSTDIR\parvolin.exe" a
        ${If} ${Errors}
            !insertmacro QUIT_UNCHANGED "${NAME} is running, perhaps for another user, so nothing was installed. Close it and try again."
        ${EndIf}
        FileClose $0
    ${EndIf}
    SetOutPath "$INSTDIR"
    File /oname=parvolin.exe "${EXE}"
    File /oname=LICENSE.txt "${LICENSE}"
    File /oname=README.txt "${README}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\parvolin.exe" "" "$INSTDIR\parvolin.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\parvolin.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Parvolin developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ; The size Apps shows, in KiB, as installed.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    Call un.closeParvolin
    ; The program first: if Windows still holds it, everything else stays,
    ; so that the uninstaller can be run again.
    ${If} ${FileExists} "$INSTDIR\parvolin.exe"
        ClearErrors
        Delete "$INSTDIR\parvolin.exe"
        ${If} ${Errors}
            !insertmacro QUIT_UNCHANGED "${NAME} is still running, so it was not uninstalled. Close it and try again."
        ${EndIf}
    ${EndIf}
    Delete "$SMPROGRAMS\${NAME}.lnk"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
