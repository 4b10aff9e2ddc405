; The Windows setup program of Corvane4, made by scripts/windows-package with NSIS (makensis):
;
;   makensis -DVERSION=1.8 -DSTAGE=<the staged folder> -DFILES=<install.nsh> -DREMOVE=<uninstall.nsh>
;            -DOUTFILE=corvane4-1.8-setup.exe corvane4.nsi
;
; It installs the staged folder (the window, the tool and its picture module, the screenshot program, the
; Qt DLLs and plugins they load, the compiler's run-time DLLs and the licences) for every user of the
; machine, a Start-menu entry, an "Open with" entry for .htm and .html files that leaves their default
; program alone, an entry in the list of installed programs, and an uninstaller that removes each of those
; again. `/S` installs (and uninstalls) without a question; `/D=FOLDER`, last, chooses the folder.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Corvane4"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define APPLICATION_KEY "Software\Classes\Applications\corvane4.exe"
!define PROGID "Corvane4.Report"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "The Corvane4 developers; Qt: The Qt Company (LGPL-3.0)"

!define MUI_ICON "${STAGE}\corvane4.ico"
!define MUI_UNICON "${STAGE}\corvane4.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\corvane4.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\licences\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the licences"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Corvane4"
    ; The files, folder by folder (scripts/windows-package lists them).
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\corvane4.exe" "" "$INSTDIR\corvane4.exe" 0 \
        SW_SHOWNORMAL "" "Reads MetaTrader reports into a trade table and analyses them"

    ; "Open with" for .htm and .html: the program is offered, the files' default program stays as it was.
    WriteRegStr HKLM "${APPLICATION_KEY}" "FriendlyAppName" "${PRODUCT}"
    WriteRegStr HKLM "${APPLICATION_KEY}\DefaultIcon" "" "$INSTDIR\corvane4.exe,0"
    WriteRegStr HKLM "${APPLICATION_KEY}\SupportedTypes" ".htm" ""
    WriteRegStr HKLM "${APPLICATION_KEY}\SupportedTypes" ".html" ""
    WriteRegStr HKLM "${APPLICATION_KEY}\shell\open\command" "" '"$INSTDIR\corvane4.exe" "%1"'
    WriteRegStr HKLM "Software\Classes\${PROGID}" "" "MetaTrader report"
    WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\corvane4.exe,0"
    WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\corvane4.exe" "%1"'
    WriteRegStr HKLM "Software\Classes\.htm\OpenWithProgids" "${PROGID}" ""
    WriteRegStr HKLM "Software\Classes\.html\OpenWithProgids" "${PROGID}" ""
    WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\App Paths\corvane4.exe" "" "$INSTDIR\corvane4.exe"

    ; The entry in the list of installed programs.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Corvane4 developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\corvane4.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}

    ; Explorer reads the file associations again.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
    ; The installed files one by one, then their folders when empty: nothing a user put there is lost.
    !include "${REMOVE}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey HKLM "${APPLICATION_KEY}"
    DeleteRegKey HKLM "Software\Classes\${PROGID}"
    DeleteRegValue HKLM "Software\Classes\.htm\OpenWithProgids" "${PROGID}"
    DeleteRegValue HKLM "Software\Classes\.html\OpenWithProgids" "${PROGID}"
    DeleteRegKey /ifempty HKLM "Software\Classes\.htm\OpenWithProgids"
    DeleteRegKey /ifempty HKLM "Software\Classes\.html\OpenWithProgids"
    DeleteRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\App Paths\corvane4.exe"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
