; The setup program of the Windows program, in Chinese. Made by cpack through
; make-setup.cmake, which passes the defines:
;   makensis -DVERSION=1.5.0 -DEXE=Qelmar3D.exe -DOUTFILE=setup.exe
;            -DHOME_URL=http://... -DUPDATE_URL=http://... setup.nsi
; Installs for every user into Program Files, with a Start-menu shortcut and
; an entry in "Apps & features"; /S installs and uninstalls silently.
; The program keeps its cache and data in the user's application-data folder
; then, which the uninstaller leaves alone.

Unicode true
; The program is 64-bit, and so is the setup program: no 32-bit view of the
; registry or of Program Files to redirect it.
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; A file that cannot be written (the program is running) stops the setup
; rather than leaving an old program behind.
AllowSkipFiles off

!include MUI2.nsh
!include FileFunc.nsh

!define NAME "Qelmar3D彩票助手"
!define PUBLISHER "Qelmar工作室"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Qelmar3D"
!define ICON "${__FILEDIR__}\qelmar3d.ico"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Qelmar3D"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "${NAME}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "FileDescription" "${NAME} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; No "run it now" box: started from the elevated setup program, the program
; would run as the administrator and keep its data in that account's folder.
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section
  SetOutPath "$INSTDIR"
  File "/oname=Qelmar3D.exe" "${EXE}"
  ; The program takes an uninstaller beside it as the sign that it is
  ; installed, wherever the user put it: its files go to the user's folder.
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\Qelmar3D.exe" "" "$INSTDIR\Qelmar3D.exe" 0 \
    "" "" "${NAME}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Qelmar3D.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${HOME_URL}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLUpdateInfo" "${UPDATE_URL}"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KiB, as "Apps & features" shows it.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  ; A running program cannot be deleted: the user closes it first, or the
  ; uninstaller stops before anything is gone.
retry:
  ClearErrors
  Delete "$INSTDIR\Qelmar3D.exe"
  IfErrors 0 deleted
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "请先关闭${NAME}，然后重试。" /SD IDCANCEL IDRETRY retry
  Abort
deleted:
  Delete "$INSTDIR\Uninstall.exe"
  ; Not /r: whatever else lies there is the user's.
  RMDir "$INSTDIR"

  SetShellVarContext all
  Delete "$SMPROGRAMS\${NAME}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
