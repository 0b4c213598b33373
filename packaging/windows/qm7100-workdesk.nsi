; Installer of QM7100 Workdesk for 64-bit Windows (NSIS 3, a 64-bit Unicode installer like the
; program it installs).
;
; Built on Debian by scripts/installer-windows.sh: it gathers the programs with Qt's DLLs and
; plugins and the compiler's runtime into build-win/stage (scripts/stage-windows.sh), writes
; the uninstall list and runs
;   makensis -DSTAGE=build-win/stage -DFILES=build-win/stage-files.nsh -DVERSION=1.0.0 \
;            -DOUTDIR=build-win packaging/windows/qm7100-workdesk.nsi
; On Windows the same recipe takes a folder gathered by Qt's deployment tool:
;   windeployqt --release --no-translations --no-system-d3d-compiler --no-opengl-sw stage\qm7100-workdesk.exe
;   makensis /DSTAGE=stage /DFILES=stage-files.nsh /DVERSION=1.0.0 packaging\windows\qm7100-workdesk.nsi
; with stage-files.nsh holding a line 'Delete "$INSTDIR\FILE"' per staged file, then a line
; 'RMDir "$INSTDIR\FOLDER"' per staged folder, the deepest first.
; Silent install and uninstall: Setup.exe /S [/D=FOLDER], uninstall.exe /S.
Target amd64-unicode
!ifndef STAGE
  !define STAGE "..\..\stage"
!endif
!ifndef VERSION
  !define VERSION "1.0.0"
!endif
!define APP "QM7100 Workdesk"
!define EXE "qm7100-workdesk.exe"
; FILES: the uninstaller's list of what STAGE holds (Delete and RMDir lines, made by
; scripts/installer-windows.sh), so that it removes what it installed and nothing else even
; when the user installed into a folder of other files.
!ifndef FILES
  !error "FILES is not defined: the uninstall list of the staged folder (see the head of this file)"
!endif
!ifndef OUTDIR
  !define OUTDIR "."
!endif
!define REGKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QM7100Workdesk"

Name "${APP} ${VERSION}"
OutFile "${OUTDIR}\QM7100-Workdesk-Setup-${VERSION}.exe"
InstallDir "$PROGRAMFILES64\${APP}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${APP}"
VIAddVersionKey /LANG=0 "FileDescription" "${APP} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "QM7100"

!include "MUI2.nsh"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

; Registers a file type: extension, class name, description, icon index in the program.
!macro Associate EXT CLASS TEXT
  WriteRegStr HKLM "Software\Classes\${EXT}" "" "${CLASS}"
  WriteRegStr HKLM "Software\Classes\${CLASS}" "" "${TEXT}"
  WriteRegStr HKLM "Software\Classes\${CLASS}\DefaultIcon" "" "$INSTDIR\${EXE},0"
  WriteRegStr HKLM "Software\Classes\${CLASS}\shell\open\command" "" '"$INSTDIR\${EXE}" "%1"'
!macroend
!macro Dissociate EXT CLASS
  ReadRegStr $0 HKLM "Software\Classes\${EXT}" ""
  StrCmp $0 "${CLASS}" 0 +2
  DeleteRegKey HKLM "Software\Classes\${EXT}"
  DeleteRegKey HKLM "Software\Classes\${CLASS}"
!macroend

; The installer and the uninstaller speak the system's language: Chinese (PRC), else English.
LangString ShortcutText ${LANG_ENGLISH} "Upload and study the measurements of the QM7100"
LangString ShortcutText ${LANG_SIMPCHINESE} "上传并分析 QM7100 的测量文件"

Section "Install"
  ; The Start-menu entry is for every user of the machine, as the program folder is.
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  ; The staged folder: the programs, Qt's DLLs and plugin folders, the compiler's runtime.
  File /r "${STAGE}\*.*"
  ; setup.ini is written beside the program when the folder is writable, else per user under
  ; %APPDATA%\qm7100-workdesk.
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 \
    SW_SHOWNORMAL "" "$(ShortcutText)"
  !insertmacro Associate ".f71" "QM7100Workdesk.Project" "QM7100 project file"
  !insertmacro Associate ".f71CH" "QM7100Workdesk.ChannelPlan" "QM7100 channel-plan file"
  ; Tell Explorer the associations changed (SHCNE_ASSOCCHANGED).
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${REGKEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${REGKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${REGKEY}" "DisplayIcon" "$INSTDIR\${EXE}"
  WriteRegStr HKLM "${REGKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${REGKEY}" "NoModify" 1
  WriteRegDWORD HKLM "${REGKEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  !insertmacro Dissociate ".f71" "QM7100Workdesk.Project"
  !insertmacro Dissociate ".f71CH" "QM7100Workdesk.ChannelPlan"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegKey HKLM "${REGKEY}"
  ; What was installed, the settings the program wrote beside itself, then the folders when
  ; they are empty: files of the user's own (screen captures, projects) stay where they are.
  !include "${FILES}"
  Delete "$INSTDIR\setup.ini"
  Delete "$INSTDIR\temp.bmp"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
