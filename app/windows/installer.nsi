; The Windows installer: per machine into Program Files, a Start-menu
; shortcut, and an uninstaller registered in Apps (Add or Remove Programs).
; makensis -DVERSION=1.00 -DVERSION_NUMBER=1.0.0.0 -DEXE=... -DICON=... -DLICENSE=... -DREADME=...
;          -DOUTFILE=... installer.nsi
; VERSION is the version as users read it, VERSION_NUMBER the project's
; four-part number, which Windows shows in the file's properties.
;
; Installing and uninstalling are all or nothing: while Parvolin runs, Windows
; keeps parvolin.exe open, and replacing or deleting it would fail halfway
; (an uninstall entry gone, the program left behind). So a running Parvolin is
; closed first: the user is asked to close it, a silent run (/S) closes it as
; its Close button would; if it still runs, nothing is changed and the run
; ends with exit status 2. Only a copy started from the file to be replaced
; counts: one unzipped elsewhere is none of the installer's business.
;
; Its files go into a folder of their own, named Parvolin, whose rights the
; installer sets wherever it is (see secureFolder); the uninstaller removes
; only these files and the folder, once empty, and only from a folder that
; holds the installation Apps names.
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
; OpenProcess rights: to read a process's image path and to wait for its end.
!define PROCESS_QUERY_AND_WAIT 0x101000
; How long a Parvolin whose window is gone may take to end, in milliseconds:
; on a slow or busy machine, ending a process can take seconds.
!define END_TIMEOUT 30000
; How often a silent run asks it to close, a second apart.
!define CLOSE_ATTEMPTS 5

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${NAME}"
RequestExecutionLevel admin
ShowInstDetails nevershow
ShowUninstDetails nevershow
BrandingText "${NAME} ${VERSION}"
VIProductVersion "${VERSION_NUMBER}"
VIFileVersion "${VERSION_NUMBER}"
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
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE ownFolder
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

; Finds a window of a Parvolin started from $INSTDIR\parvolin.exe, the file
; that would be replaced or deleted: $R1 is the window (0 when none), $R2 a
; handle to its process for the caller to wait on and close. A copy started
; from elsewhere (a zip, another installation) does not hold that file.
!macro DEFINE_FIND_RUNNING_COPY PREFIX
Function ${PREFIX}findRunningCopy
    StrCpy $R1 0
    StrCpy $R2 0
    ; Short names on both sides: the folder may be given either way (/D=,
    ; _?=), and the system reports the image's long name.
    GetFullPathName /SHORT $R3 "$INSTDIR\parvolin.exe"
    ${If} $R3 == ""
        Return  ; nothing there to replace
    ${EndIf}
    StrCpy $R4 0
    ${Do}
        FindWindow $R4 "${WINDOW_CLASS}" "" 0 $R4
        ${If} $R4 = 0
            Return
        ${EndIf}
        System::Call 'user32::GetWindowThreadProcessId(p R4, *i .R5)'
        System::Call 'kernel32::OpenProcess(i ${PROCESS_QUERY_AND_WAIT}, i 0, i R5) p .R6'
        ; A process this installer may not open (another user's) is found
        ; later, by the file it holds.
        ${If} $R6 P<> 0
            System::Call 'kernel32::QueryFullProcessImageNameW(p R6, i 0, w .R7, *i ${NSIS_MAX_STRLEN}) i .R8'
            ${If} $R8 <> 0
                GetFullPathName /SHORT $R7 "$R7"
                ${If} $R7 == $R3
                    StrCpy $R1 $R4
                    StrCpy $R2 $R6
                    Return
                ${EndIf}
            ${EndIf}
            System::Call 'kernel32::CloseHandle(p R6)'
        ${EndIf}
    ${Loop}
FunctionEnd
!macroend

; Closes every Parvolin that runs from the file to be replaced, or quits
; unchanged. ACTION names what waits on it, for the question to the user.
; What counts is the process's end, not its window's: Windows releases the
; file only then.
!macro DEFINE_CLOSE_PARVOLIN PREFIX ACTION
!insertmacro DEFINE_FIND_RUNNING_COPY "${PREFIX}"
Function ${PREFIX}closeParvolin
    ${Do}
        Call ${PREFIX}findRunningCopy
        ${If} $R1 = 0
            Return
        ${EndIf}
        ${If} ${Silent}
            ; As its Close button would, with a time-out: a program that
            ; hangs must not hang the installer. Asked again each second
            ; while its window is there: a program still starting up may
            ; not have taken the first request.
            ${For} $R3 1 ${CLOSE_ATTEMPTS}
                IsWindow $R1 0 +2
                SendMessage $R1 ${WM_CLOSE} 0 0 /TIMEOUT=1000
                System::Call 'kernel32::WaitForSingleObject(p R2, i 1000) i .R4'
                ${IfThen} $R4 = 0 ${|} ${Break} ${|}
            ${Next}
            ; Its window gone, it took the request and is ending: waited
            ; for longer. One still showing its window does not answer.
            ${If} $R4 <> 0
                IsWindow $R1 +2
                System::Call 'kernel32::WaitForSingleObject(p R2, i ${END_TIMEOUT}) i .R4'
            ${EndIf}
            System::Call 'kernel32::CloseHandle(p R2)'
            ${If} $R4 <> 0
                !insertmacro QUIT_UNCHANGED "${NAME} is running and did not close. Close it and try again."
            ${EndIf}
        ${Else}
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${NAME} is running. Close it, then choose Retry to ${ACTION} it.$\n$\nCancel leaves ${NAME} as it is." IDRETRY retry
            System::Call 'kernel32::CloseHandle(p R2)'
            SetErrorLevel ${EXIT_UNCHANGED}
            Quit
        retry:
            ; Its window goes a moment before its process ends. One still
            ; showing its window is asked about again at once.
            IsWindow $R1 +2
            System::Call 'kernel32::WaitForSingleObject(p R2, i ${END_TIMEOUT})'
            System::Call 'kernel32::CloseHandle(p R2)'
        ${EndIf}
    ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_PARVOLIN "" "install"
!insertmacro DEFINE_CLOSE_PARVOLIN "un." "uninstall"

; A junction or a symbolic link leads to another folder, which may be anyone's
; choice: outside Program Files any user may make C:\Parvolin such a link,
; and the installer, running as administrator, would set the rights of the
; folder it leads to and write into it (the uninstaller delete from it). A
; folder that is such a link, or lies below one, is refused.
!define FILE_ATTRIBUTE_REPARSE_POINT 0x400
!define INVALID_FILE_ATTRIBUTES -1
!macro DEFINE_REFUSE_LINKED_FOLDER PREFIX ACTION
Function ${PREFIX}refuseLinkedFolder
    GetFullPathName $R1 "$INSTDIR"
    ${IfThen} $R1 == "" ${|} StrCpy $R1 "$INSTDIR" ${|}
    ${Do}
        System::Call 'kernel32::GetFileAttributesW(w R1) i .R2'
        ${If} $R2 <> ${INVALID_FILE_ATTRIBUTES}
            IntOp $R2 $R2 & ${FILE_ATTRIBUTE_REPARSE_POINT}
            ${If} $R2 <> 0
                !insertmacro QUIT_UNCHANGED "$INSTDIR is a junction or a symbolic link to another folder, or lies in one, so nothing was ${ACTION}. Choose a folder that is not."
            ${EndIf}
        ${EndIf}
        ${GetParent} "$R1" $R2
        ${IfThen} $R2 == "" ${|} ${Break} ${|}
        StrCpy $R1 $R2
    ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_REFUSE_LINKED_FOLDER "" "installed"
!insertmacro DEFINE_REFUSE_LINKED_FOLDER "un." "uninstalled"

; The program's files go into a folder of their own: /D=C:\Tools, or C:\Tools
; typed on the directory page, means C:\Tools\Parvolin, so that the user's
; own files there (a README.txt) are neither replaced nor, later, deleted.
Function ownFolder
    StrCpy $0 $INSTDIR "" -1
    ${If} $0 == "\"
        StrCpy $INSTDIR $INSTDIR -1  ; a drive's root
    ${EndIf}
    ${GetFileName} "$INSTDIR" $0
    ${If} $0 != "${NAME}"
        StrCpy $INSTDIR "$INSTDIR\${NAME}"
    ${EndIf}
FunctionEnd

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
    Call ownFolder
    Call refuseLinkedFolder
    Call closeParvolin
FunctionEnd

; The uninstaller works only on the installation Apps names, and only when
; its folder still holds it: run with another folder (a typo after _?=, a
; copy of the folder), it would otherwise remove the entry and the shortcut
; and report success, leaving the program installed with no way to remove it.
Function un.checkInstallation
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    GetFullPathName /SHORT $1 "$INSTDIR"
    GetFullPathName /SHORT $2 "$0"
    ${If} $1 != ""
    ${AndIf} $1 == $2
    ${AndIf} ${FileExists} "$INSTDIR\parvolin.exe"
    ${AndIf} ${FileExists} "$INSTDIR\uninstall.exe"
        Return
    ${EndIf}
    !insertmacro QUIT_UNCHANGED "$INSTDIR does not hold the installed ${NAME}, so nothing was uninstalled."
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
    Call un.checkInstallation
    Call un.refuseLinkedFolder
    Call un.closeParvolin
FunctionEnd

; The installer runs as administrator, and a program it starts would too.
; "Run Parvolin" asks the desktop's shell (Explorer, running as the signed-in
; user) to start it, through its documented automation objects:
; IShellWindows finds the desktop's window, whose view hands out the shell's
; IShellDispatch2, whose ShellExecute starts the program in Explorer's
; process. Without such a shell (another shell, or none), it starts the
; program itself, which then runs with the installer's rights.
!define CLSID_ShellWindows {9BA05972-F6A8-11CF-A442-00A0C90A8F39}
!define IID_IShellWindows {85CB6900-4D95-11CF-960C-0080C7F4EE85}
!define IID_IServiceProvider {6D5140C1-7436-11CE-8034-00AA006009FA}
!define SID_STopLevelBrowser {4C96BE40-915C-11CF-99D3-00AA004AE837}
!define IID_IShellBrowser {000214E2-0000-0000-C000-000000000046}
!define IID_IDispatch {00020400-0000-0000-C000-000000000046}
!define IID_IShellFolderViewDual {E7A1AF80-4D96-11CF-960F-00C04FD7E94F}
!define IID_IShellDispatch2 {A4C6892C-3BA9-11D2-9DEA-00C04FB16162}
!define CLSCTX_LOCAL_SERVER 4
!define CSIDL_DESKTOP 0
!define SWC_DESKTOP 8
!define SWFO_NEEDDISPATCH 1
!define SVGIO_BACKGROUND 0
!define VT_I4 3

; Calls method INDEX of the COM object in OBJECT with ARGS, then releases
; the object; $R0 becomes the HRESULT (or "error" when OBJECT is 0).
!macro COM_CALL_AND_RELEASE OBJECT INDEX ARGS
    StrCpy $R0 error
    ${If} ${OBJECT} P<> 0
        System::Call '${OBJECT}->${INDEX}${ARGS} i .R0'
        System::Call '${OBJECT}->2()'
    ${EndIf}
!macroend

; Starts FILE through the desktop's shell; $R0 is 0 when it did.
Function shellExecuteAsUser
    Exch $R9  ; the file
    Push $R0
    StrCpy $0 0
    StrCpy $1 0
    StrCpy $2 0
    StrCpy $3 0
    StrCpy $4 0
    StrCpy $5 0
    StrCpy $6 0
    ; The desktop's location (a VARIANT holding CSIDL_DESKTOP) and an empty
    ; VARIANT, 24 bytes each; by value, a VARIANT is passed by address.
    System::Call '*(&i2 ${VT_I4}, &i2 0, &i2 0, &i2 0, &i4 ${CSIDL_DESKTOP}, &i4 0, &i8 0) p .r7'
    System::Call '*(&i8 0, &i8 0, &i8 0) p .r8'
    System::Call 'ole32::CoCreateInstance(g "${CLSID_ShellWindows}", p 0, i ${CLSCTX_LOCAL_SERVER}, g "${IID_IShellWindows}", *p .r0)'
    !insertmacro COM_CALL_AND_RELEASE $0 15 '(p r7, p r8, i ${SWC_DESKTOP}, *i .r9, i ${SWFO_NEEDDISPATCH}, *p .r1)'
    !insertmacro COM_CALL_AND_RELEASE $1 0 '(g "${IID_IServiceProvider}", *p .r2)'
    !insertmacro COM_CALL_AND_RELEASE $2 3 '(g "${SID_STopLevelBrowser}", g "${IID_IShellBrowser}", *p .r3)'
    !insertmacro COM_CALL_AND_RELEASE $3 15 '(*p .r4)'
    !insertmacro COM_CALL_AND_RELEASE $4 15 '(i ${SVGIO_BACKGROUND}, g "${IID_IDispatch}", *p .r5)'
    !insertmacro COM_CALL_AND_RELEASE $5 0 '(g "${IID_IShellFolderViewDual}", *p .r6)'
    StrCpy $1 0
    !insertmacro COM_CALL_AND_RELEASE $6 7 '(*p .r1)'
    StrCpy $2 0
    !insertmacro COM_CALL_AND_RELEASE $1 0 '(g "${IID_IShellDispatch2}", *p .r2)'
    StrCpy $R0 error
    ${If} $2 P<> 0
        System::Call 'oleaut32::SysAllocString(w R9) p .r3'
        ; ShellExecute(file, arguments, folder, verb, show): all but the file
        ; left to the shell.
        !insertmacro COM_CALL_AND_RELEASE $2 31 '(p r3, p r8, p r8, p r8, p r8)'
        System::Call 'oleaut32::SysFreeString(p r3)'
    ${EndIf}
    System::Free $7
    System::Free $8
    StrCpy $R9 $R0
    Pop $R0
    Exch $R9
FunctionEnd

; The finish page's "Run Parvolin".
Function runParvolin
    Push "$INSTDIR\parvolin.exe"
    Call shellExecuteAsUser
    Pop $0
    ${If} $0 != 0
        ExecShell "open" "$INSTDIR\parvolin.exe"
    ${EndIf}
FunctionEnd

; The folder's rights, wherever it is: those Program Files gives a program's
; folder. Its owner and its rights come from no one else: a folder on a
; drive's root would otherwise inherit the root's rights, under which every
; signed-in user may replace parvolin.exe or uninstall.exe, which an
; administrator later runs. So Administrators own the folder and all in it,
; and the folder keeps no rights from its parent: SYSTEM and Administrators
; may change it, Users (every signed-in user) may read and run it. By SID, as
; the names differ with the language of Windows.
;
; A new folder is made with these rights in one call: made first and
; restricted after, it would for a moment take its parent's rights, under
; which any user could drop a file or a hard link into it.
!define FOLDER_RIGHTS "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"
!define SDDL_REVISION_1 1
; A folder that was there before is taken only when it is the one Apps names
; (an earlier installation, whose folder the installer made): one made by
; someone else could hold hard links to files elsewhere, whose rights icacls
; would change with theirs. In the earlier installation's folder everything
; loses its own rights and inherits the folder's.
!define ICACLS '"$SYSDIR\icacls.exe" "$INSTDIR"'
!macro ICACLS ARGS
    nsExec::Exec '${ICACLS} ${ARGS}'
    Pop $0
    ${If} $0 != 0
        !insertmacro QUIT_UNCHANGED "The rights of $INSTDIR could not be set, so nothing was installed."
    ${EndIf}
!macroend
Function secureFolder
    ${If} ${FileExists} "$INSTDIR\*.*"
        ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
        GetFullPathName /SHORT $1 "$INSTDIR"
        GetFullPathName /SHORT $2 "$0"
        ${If} $0 == ""
        ${OrIf} $1 != $2
            !insertmacro QUIT_UNCHANGED "$INSTDIR is already there and holds no installation of ${NAME}, so nothing was installed. Remove it or choose another folder."
        ${EndIf}
        !insertmacro ICACLS "/setowner *S-1-5-32-544 /T /Q"
        !insertmacro ICACLS "/reset /T /Q"
        !insertmacro ICACLS "/inheritance:r /grant:r *S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX /Q"
        Return
    ${EndIf}
    ${GetParent} "$INSTDIR" $0
    CreateDirectory "$0"
    ; Through a variable: the System plug-in would read the brackets in it.
    StrCpy $1 "${FOLDER_RIGHTS}"
    System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w r1, i ${SDDL_REVISION_1}, *p .r1, p 0) i .r0'
    ${If} $0 = 0
        !insertmacro QUIT_UNCHANGED "The rights of $INSTDIR could not be set, so nothing was installed."
    ${EndIf}
    ; SECURITY_ATTRIBUTES: its length, the descriptor, handles not inherited.
    System::Call '*(i 24, i 0, p r1, i 0, i 0) p .r2'
    ; Fails when the folder appeared meanwhile: made by someone else, its
    ; rights are not these.
    System::Call 'kernel32::CreateDirectoryW(w "$INSTDIR", p r2) i .r0'
    System::Free $2
    System::Call 'kernel32::LocalFree(p r1)'
    ${If} $0 = 0
        !insertmacro QUIT_UNCHANGED "$INSTDIR could not be made, so nothing was installed."
    ${EndIf}
FunctionEnd

Section "Install"
    ; A folder typed on the directory page, and a running copy started while
    ; the pages were shown.
    Call ownFolder
    Call refuseLinkedFolder
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
    Call secureFolder
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
    ClearErrors
    Delete "$INSTDIR\parvolin.exe"
    ${If} ${Errors}
        !insertmacro QUIT_UNCHANGED "${NAME} is still running, so it was not uninstalled. Close it and try again."
    ${EndIf}
    Delete "$SMPROGRAMS\${NAME}.lnk"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\README.txt"
    ; Run as Apps runs it, the uninstaller goes on from a copy of itself,
    ; and the first copy, just ended, may hold its file a while longer (on a
    ; busy machine, seconds): up to 30 s.
    ${For} $0 1 300
        Delete "$INSTDIR\uninstall.exe"
        ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
            ${Break}
        ${EndIf}
        Sleep 100
    ${Next}
    ; Only when empty: what else is there is not the installer's.
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
