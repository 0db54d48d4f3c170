; The suite's installer for Windows. scripts/package.sh generates the included step lists from the build's manifest
; and runs makensis with STAGE (the folder holding them and the files) and OUTFILE defined; COMPRESSOR, when defined,
; replaces the smallest but slowest compression (the tests take zlib).
Unicode true
!ifdef COMPRESSOR
SetCompressor ${COMPRESSOR}
!else
SetCompressor /SOLID lzma
!endif
!include "LogicLib.nsh"
!include "${STAGE}/product.nsh"

Name "${PRODUCT_NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT_MAKER}\${PRODUCT_PROGRAM}"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT_MAKER}${PRODUCT_PROGRAM}"
!define UNINSTALLER "Uninstall.exe"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Runs a program of the suite (from the program folder, where its libraries are) and stops the installation
; when it fails: a suite with an unregistered server looks installed but does not work.
!macro OrvRun COMMAND WHAT
  ClearErrors
  ExecWait '${COMMAND}' $0
  ${If} ${Errors}
  ${OrIf} $0 != 0
    MessageBox MB_ICONSTOP "${WHAT} failed ($0)." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!macroend

; The uninstaller goes on when one step fails, and says so at the end.
!macro OrvUnRun COMMAND WHAT
  ClearErrors
  ExecWait '${COMMAND}' $0
  ${If} ${Errors}
  ${OrIf} $0 != 0
    DetailPrint "${WHAT} failed ($0)."
    StrCpy $R9 1
  ${EndIf}
!macroend

; Deletes a section of a profile file, and the file when only empty lines are left in it.
!macro OrvUnIniSection FILE SECTION
  DeleteINISec "${FILE}" "${SECTION}"
  ClearErrors
  FileOpen $1 "${FILE}" r
  ${IfNot} ${Errors}
    StrCpy $2 0
    ${Do}
      FileRead $1 $3
      ${If} ${Errors}
        ${ExitDo}
      ${EndIf}
      StrCpy $3 $3 1
      ${If} $3 != "$\r"
      ${AndIf} $3 != "$\n"
        StrCpy $2 1
      ${EndIf}
    ${Loop}
    FileClose $1
    ${If} $2 == 0
      Delete "${FILE}"
    ${EndIf}
  ${EndIf}
!macroend

Section "Install"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  !include "${STAGE}/install.nsh"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT_MAKER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  StrCpy $R9 0
  SetOutPath "$INSTDIR"
  !include "${STAGE}/uninstall.nsh"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
  SetOutPath "$TEMP"
  ; Only empty folders go: whatever the user put there stays.
  RMDir "$INSTDIR"
  RMDir "$PROGRAMFILES\${PRODUCT_MAKER}"
  ${If} $R9 != 0
    SetErrorLevel 2
  ${EndIf}
SectionEnd
