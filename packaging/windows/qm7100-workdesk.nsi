; Installer of QM7100 Workdesk for Windows (NSIS 3, Unicode).
;
; Build the program with a Windows preset (CMakePresets.json), gather it with Qt's deployment
; tool, then compile this recipe from the same folder:
;   cmake --preset windows-msys2-mingw && cmake --build --preset windows-msys2-mingw
;   mkdir stage && copy build-msys2\bin\*.exe stage\
;   windeployqt --release --no-translations --no-system-d3d-compiler --no-opengl-sw stage\qm7100-workdesk.exe
;   (MSYS2 only: also copy libgcc_s_seh-1.dll, libstdc++-6.dll, libwinpthread-1.dll from
;    C:\msys64\mingw64\bin into stage\; windeployqt copies Qt's own DLLs and plugins)
;   makensis /DSTAGE=stage /DVERSION=1.0.0 packaging\windows\qm7100-workdesk.nsi
Unicode true
!ifndef STAGE
  !define STAGE "..\..\stage"
!endif
!ifndef VERSION
  !define VERSION "1.0.0"
!endif
!define APP "QM7100 Workdesk"
!define EXE "qm7100-workdesk.exe"
!define REGKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QM7100Workdesk"

Name "${APP} ${VERSION}"
OutFile "qm7100-workdesk-${VERSION}-setup.exe"
InstallDir "$PROGRAMFILES64\${APP}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

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

Section "Install"
  SetOutPath "$INSTDIR"
  ; Everything windeployqt gathered: the programs, Qt's DLLs and plugin folders.
  File /r "${STAGE}\*.*"
  ; setup.ini is written per user under %APPDATA%, as the program cannot write here.
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\${EXE}"
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
  !insertmacro Dissociate ".f71" "QM7100Workdesk.Project"
  !insertmacro Dissociate ".f71CH" "QM7100Workdesk.ChannelPlan"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegKey HKLM "${REGKEY}"
  RMDir /r "$INSTDIR"
SectionEnd
