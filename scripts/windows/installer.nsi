; SPDX-License-Identifier: MIT
; The installer of haoma for Windows: the portable folder into Program Files, a Start-menu
; entry named 全国手机号码生成器, and an uninstaller that takes away all of this and nothing
; of the user's (their imported store in %LOCALAPPDATA%\haoma stays).
; makensis -DVERSION=1.0.0 -DSOURCE=folder -DOUTFILE=setup.exe -DICON=haoma.ico installer.nsi
Unicode true
; A 64-bit installer for a 64-bit program (and for a Wine without its 32-bit half).
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"

!define NAME "全国手机号码生成器"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\haoma"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\haoma"
InstallDirRegKey HKLM "Software\haoma" "InstallDir"
RequestExecutionLevel admin
ShowInstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${NAME}"
VIAddVersionKey /LANG=2052 "FileDescription" "${NAME} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "MIT License; segment data GPL-3.0"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "haoma"
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\haoma.exe"
  WriteRegStr HKLM "Software\haoma" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\haoma.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${NAME}.lnk"
  ; Only what the installer put there: the folder's own files, then the folder if empty.
  RMDir /r "$INSTDIR\platforms"
  RMDir /r "$INSTDIR\styles"
  RMDir /r "$INSTDIR\translations"
  Delete "$INSTDIR\*.exe"
  Delete "$INSTDIR\*.dll"
  Delete "$INSTDIR\mobile.db"
  Delete "$INSTDIR\haoma-help.html"
  Delete "$INSTDIR\qt.conf"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\segments-NOTICE.md"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\haoma"
SectionEnd
