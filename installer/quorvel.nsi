; The launcher's own installer, "instalar.exe" inside the launcher's update archive.
;
; It installs for the current user only and never asks for administrator rights: the launcher runs as the user who
; starts it. Given a launcher path (the self-update passes the running launcher's full path, quoted, after the
; installer command text), it replaces that file in place once that launcher has ended; otherwise it installs into
; the user's programs folder. "/VERYSILENT" (the install step's command text) makes it silent. It never touches the
; user's data folder (%APPDATA%\Quorvel).
;
; makensis -DLAUNCHER=quorvel.exe -DVERSION=1.78 -DFILE_VERSION=1.7.8.0 -DICON=quorvel.ico -DOUTFILE=instalar.exe

Unicode true
; The launcher is a 64-bit program; so is its installer.
Target amd64-unicode
RequestExecutionLevel user
ManifestSupportedOS all
ManifestDPIAware true
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Quorvel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel"
!define UNINSTALLER "desinstalar.exe"
; How long an update in place waits for the running launcher to end (steps of half a second).
!define WAIT_STEPS 120

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
Icon "${ICON}"
UninstallIcon "${ICON}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "Quorvel Software"
VIAddVersionKey /LANG=0 "CompanyName" "Quorvel"
VIAddVersionKey /LANG=0 "FileDescription" "Instalador do Quorvel"
VIAddVersionKey /LANG=0 "FileVersion" "${FILE_VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${FILE_VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Quorvel"

; The launcher's file name: quorvel.exe, or the name of the launcher being updated in place.
Var LauncherFile
; 1 when updating the launcher whose path was given.
Var InPlace

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\$LauncherFile"
!define MUI_FINISHPAGE_RUN_TEXT "Abrir o Quorvel"
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipDirectoryWhenInPlace
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "PortugueseBR"

; The first quoted text of the parameters, or "" when there is none.
Function FirstQuotedParameter
    Exch $0 ; the parameters
    Push $1 ; position
    Push $2 ; character
    Push $3 ; start of the quoted text
    StrCpy $1 0
    StrCpy $3 -1
    ${Do}
        StrCpy $2 $0 1 $1
        ${If} $2 == ""
            StrCpy $0 ""
            ${Break}
        ${EndIf}
        ${If} $2 == '"'
            ${If} $3 < 0
                IntOp $3 $1 + 1
            ${Else}
                IntOp $1 $1 - $3
                StrCpy $0 $0 $1 $3
                ${Break}
            ${EndIf}
        ${EndIf}
        IntOp $1 $1 + 1
    ${Loop}
    Pop $3
    Pop $2
    Pop $1
    Exch $0
FunctionEnd

Function .onInit
    SetShellVarContext current
    StrCpy $LauncherFile "quorvel.exe"
    StrCpy $InPlace 0
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/VERYSILENT" $R1
    ${IfNot} ${Errors}
        SetSilent silent
    ${EndIf}
    ; Only a full path of an .exe counts as the launcher to update; anything else installs as usual.
    Push $R0
    Call FirstQuotedParameter
    Pop $R1
    StrCpy $R2 $R1 4 -4
    StrCpy $R3 $R1 2 1
    ${If} $R2 == ".exe"
    ${AndIf} $R3 == ":\"
        ${GetParent} $R1 $INSTDIR
        ${GetFileName} $R1 $LauncherFile
        StrCpy $InPlace 1
    ${EndIf}
FunctionEnd

Function SkipDirectoryWhenInPlace
    ${If} $InPlace == 1
        Abort
    ${EndIf}
FunctionEnd

; A running program's file cannot be opened for writing: wait until the launcher that started this update has ended.
Function WaitForLauncherToEnd
    ${IfNot} ${FileExists} "$INSTDIR\$LauncherFile"
        Return
    ${EndIf}
    StrCpy $0 0
    ${Do}
        ClearErrors
        FileOpen $1 "$INSTDIR\$LauncherFile" a
        ${IfNot} ${Errors}
            FileClose $1
            Return
        ${EndIf}
        IntOp $0 $0 + 1
        ${If} $0 >= ${WAIT_STEPS}
            MessageBox MB_ICONEXCLAMATION|MB_OK "O Quorvel continua aberto e não pôde ser atualizado. Feche-o e tente novamente." /SD IDOK
            SetErrorLevel 2
            Quit
        ${EndIf}
        Sleep 500
    ${Loop}
FunctionEnd

Section "Quorvel"
    Call WaitForLauncherToEnd
    SetOutPath "$INSTDIR"
    ; The new file is written beside the old one and swapped in, so a failed write leaves the old launcher whole.
    Delete "$INSTDIR\$LauncherFile.new"
    ClearErrors
    File "/oname=$LauncherFile.new" "${LAUNCHER}"
    ${If} ${Errors}
        Delete "$INSTDIR\$LauncherFile.new"
        MessageBox MB_ICONSTOP|MB_OK "Não foi possível gravar em $INSTDIR." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
    Delete "$INSTDIR\$LauncherFile"
    Rename "$INSTDIR\$LauncherFile.new" "$INSTDIR\$LauncherFile"
    ${If} ${Errors}
        MessageBox MB_ICONSTOP|MB_OK "Não foi possível substituir $INSTDIR\$LauncherFile." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}

    ; A launcher file the user keeps loose somewhere (not installed by this installer) is only replaced: no
    ; uninstaller or menu entry lands beside it.
    ${If} $InPlace == 1
    ${AndIfNot} ${FileExists} "$INSTDIR\${UNINSTALLER}"
        Return
    ${EndIf}
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\$LauncherFile"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Quorvel"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\$LauncherFile"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "LauncherFile" "$LauncherFile"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
    SetShellVarContext current
FunctionEnd

; Removes what the installer put in place; the data folder and anything else in the folder stay.
Section "Uninstall"
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "LauncherFile"
    ${If} $0 == ""
        StrCpy $0 "quorvel.exe"
    ${EndIf}
    Delete "$INSTDIR\$0"
    Delete "$INSTDIR\${UNINSTALLER}"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    RMDir "$INSTDIR"
SectionEnd
