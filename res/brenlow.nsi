; The Windows installer: per user (the default) or, with /AllUsers, for the whole machine.
; makensis -DVERSION=... -DBUILD=<windows build folder> -DSOURCE=<source folder> -DOUTFILE=...
Unicode true
Target amd64-unicode

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brenlow"
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_INSTDIR "Brenlow"
!define MULTIUSER_USE_PROGRAMFILES64
; An uninstaller finds a machine-wide installation by its entry.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "UninstallString"
!include MultiUser.nsh
!include MUI2.nsh

Name "Brenlow"
OutFile "${OUTFILE}"
!define MUI_ICON "${BUILD}\icons\brenlow.ico"
!define MUI_UNICON "${BUILD}\icons\brenlow.ico"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Brenlow"
VIAddVersionKey "CompanyName" "Veltmark"
VIAddVersionKey "FileDescription" "Brenlow installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Veltmark"

Function .onInit
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section
    SetOutPath "$INSTDIR"
    File "${BUILD}\Brenlow.exe"
    File "${BUILD}\brenlow-dump.exe"
    File "/oname=README.txt" "${SOURCE}\res\README-Windows.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Brenlow.lnk" "$INSTDIR\Brenlow.exe" "" "$INSTDIR\Brenlow.exe" 0

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Brenlow"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Veltmark"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Brenlow.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" 2000
SectionEnd

; The settings under Software\Veltmark\Brenlow are the user's and stay.
Section "Uninstall"
    Delete "$SMPROGRAMS\Brenlow.lnk"
    Delete "$INSTDIR\Brenlow.exe"
    Delete "$INSTDIR\brenlow-dump.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
