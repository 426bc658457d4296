; The Plasmora installer for 64-bit Windows, made with makensis (packaging/windows/CMakeLists.txt
; passes the defines):
;   makensis -DSOURCE_DIR=<folder with plasmora.scr, bass.dll, data.sdd> -DOUT_FILE=<setup.exe>
;            -DLICENSE_FILE=<the licence, CRLF text> -DVERSION=1.0.0 plasmora.nsi
; After the licence page it puts plasmora.scr into the system folder, where the Screen Saver
; Settings list finds it whichever saver is current, and bass.dll, data.sdd and the licence
; into the program folder; it tells the saver where they are (the Path value of its settings
; key), makes it the current screensaver, and registers an uninstaller that takes all of that
; away again. "/S" installs silently; "/D=<folder>" picks the program folder.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!ifndef SOURCE_DIR
  !error "SOURCE_DIR must name the folder with plasmora.scr, bass.dll and data.sdd"
!endif
!ifndef LICENSE_FILE
  !error "LICENSE_FILE must name the licence text"
!endif
!ifndef OUT_FILE
  !define OUT_FILE "plasmora-setup.exe"
!endif
!ifndef VERSION
  !define VERSION "1.0.0"
!endif

!define SETTINGS_KEY "Software\Quillmoor\Plasmora"
!define DESKTOP_KEY "Control Panel\Desktop"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Plasmora"
; SystemParametersInfo(SPI_SETSCREENSAVEACTIVE, ...) with SPIF_UPDATEINIFILE | SPIF_SENDCHANGE.
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_PERSIST_AND_NOTIFY 3

Name "Plasmora"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\Plasmora"
; Program Files needs an administrator; the settings and the screensaver choice are the
; installing user's own (HKCU).
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Plasmora"
VIAddVersionKey "FileDescription" "Plasmora Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 The Plasmora authors (MIT licence)"

LicenseText "Plasmora is free software under the MIT licence:" "I &Agree"
LicenseData "${LICENSE_FILE}"

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Plasmora"
  SetRegView 64
  SetOutPath "$INSTDIR"
  File "${SOURCE_DIR}/bass.dll"
  File "${SOURCE_DIR}/data.sdd"
  File "/oname=LICENSE.txt" "${LICENSE_FILE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The list of savers shows the system folder's .scr files (and the current saver only while
  ; it is current). This installer is a 64-bit program, so $SYSDIR is the 64-bit system folder
  ; itself: no file-system redirection applies to it.
  SetOutPath "$SYSDIR"
  File "${SOURCE_DIR}/plasmora.scr"
  SetOutPath "$INSTDIR"

  ; The saver reads its data folder from here and never writes it.
  WriteRegStr HKCU "${SETTINGS_KEY}" "Path" "$INSTDIR"

  ; The current screensaver: the registry values, then the system told that one is active.
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\plasmora.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, \
    i ${SPIF_PERSIST_AND_NOTIFY})'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Plasmora"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Plasmora authors"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\plasmora.scr"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetRegView 64
  ; A saver running at this moment is removed at the next restart.
  Delete /REBOOTOK "$SYSDIR\plasmora.scr"
  Delete "$INSTDIR\bass.dll"
  Delete "$INSTDIR\data.sdd"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Quillmoor"

  ; No screensaver rather than one whose file is gone; a saver chosen since is left alone.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  StrCmp $0 "$SYSDIR\plasmora.scr" 0 chosen_elsewhere
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  chosen_elsewhere:

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
