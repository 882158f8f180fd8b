; The installer of ZELK Vantor Source: the program with its language packs and, as an option,
; the stand-in filter, in Program Files for each architecture the system runs (both on 64-bit
; Windows, the 32-bit one on 32-bit Windows). Each filter is registered by the regsvr32 of its
; own architecture. The uninstaller removes everything the installer wrote and keeps the
; user's settings unless asked to remove them (its "User settings" component, or
; /REMOVESETTINGS with /S).
;
; Built by the installer target of installer/CMakeLists.txt, which defines:
;   VERSION     the program's version, "1.2.3"
;   CPU         x86 or amd64: the architecture of the installer itself
;   FILES_32    folder of the 32-bit vantor_source.exe and vantor_source_filter.dll, with the packs in lang
;   FILES_64    the same for the 64-bit build
;   SOURCE_DIR  the source tree, for the icon
;   PACKS       the generated script that names the language packs
;   OUTPUT      the installer file to write

Target ${CPU}-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include Sections.nsh
!include MUI2.nsh
!include "${PACKS}"

!define COMPANY "ZELK Soft"
!define PRODUCT "ZELK Vantor Source"
!define FOLDER "${COMPANY}\${PRODUCT}"
; The settings store's key, which is also where the products component finds the program.
!define PRODUCT_KEY "Software\${COMPANY}\${PRODUCT}"
!define FILTER_SETTINGS_KEY "Software\${COMPANY}\${PRODUCT} Filter"
!define COMPANY_KEY "Software\${COMPANY}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define PROGRAM "vantor_source.exe"
!define FILTER "vantor_source_filter.dll"
!define UNINSTALLER "uninstall.exe"
; What regsvr32 exits with when it could not be started at all.
!define NOT_STARTED "not started"

Name "${PRODUCT}"
OutFile "${OUTPUT}"
; The folders are fixed, one per architecture: .onInit sets the native one.
InstallDir "$PROGRAMFILES\${FOLDER}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${COMPANY}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${COMPANY}"

!define MUI_ICON "${SOURCE_DIR}\resources\vantor_source.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The program folder of each architecture installed; empty for one that is not.
Var Folder32
Var Folder64

; Sets Folder32 and Folder64 (and INSTDIR, the native one) for the system the installer runs on.
; On 64-bit Windows the installer puts the 32-bit part in only where the system runs 32-bit
; programs, which a 64-bit Windows without its 32-bit subsystem does not; the uninstaller
; looks in both folders.
!macro ChooseFolders UN
Function ${UN}ChooseFolders
  StrCpy $Folder32 "$PROGRAMFILES32\${FOLDER}"
  !if ${CPU} == x86
    StrCpy $Folder64 ""
    StrCpy $INSTDIR $Folder32
    ${If} ${RunningX64}
      SetRegView 64
      StrCpy $Folder64 "$PROGRAMFILES64\${FOLDER}"
      StrCpy $INSTDIR $Folder64
    ${EndIf}
  !else
    SetRegView 64
    StrCpy $Folder64 "$PROGRAMFILES64\${FOLDER}"
    StrCpy $INSTDIR $Folder64
  !endif
  !if ${CPU} == amd64
  !if "${UN}" == ""
    InitPluginsDir
    File "/oname=$PLUGINSDIR\runs_32bit_probe.exe" "${FILES_32}\runs_32bit_probe.exe"
    ClearErrors
    ExecWait '"$PLUGINSDIR\runs_32bit_probe.exe"' $0
    ${If} ${Errors}
    ${OrIf} $0 != 32
      StrCpy $Folder32 ""
    ${EndIf}
  !endif
  !endif
FunctionEnd
!macroend
!insertmacro ChooseFolders ""
!insertmacro ChooseFolders "un."

; Runs the regsvr32 of an architecture (32 or 64) silently on a server, ARGS "" to register
; or "/u" to unregister; leaves its exit code in $0, or NOT_STARTED.
!macro RunRegsvr32 ARCH ARGS SERVER
  ; A 32-bit installer sees the 32-bit system folder as $SYSDIR and the native one as Sysnative.
  !if ${ARCH} == 32
    !if ${CPU} == x86
      StrCpy $0 "$SYSDIR\regsvr32.exe"
    !else
      StrCpy $0 "$WINDIR\SysWOW64\regsvr32.exe"
    !endif
  !else if ${CPU} == x86
    StrCpy $0 "$WINDIR\Sysnative\regsvr32.exe"
  !else
    StrCpy $0 "$SYSDIR\regsvr32.exe"
  !endif
  ClearErrors
  ExecWait '"$0" /s ${ARGS} "${SERVER}"' $0
  ${If} ${Errors}
    StrCpy $0 "${NOT_STARTED}"
  ${EndIf}
!macroend

!macro InstallProgram FOLDER FILES
  SetOutPath "${FOLDER}"
  File "${FILES}\${PROGRAM}"
  SetOutPath "${FOLDER}\lang"
  !insertmacro InstallLanguagePacks "${FILES}\lang"
!macroend

!macro InstallFilter ARCH FOLDER FILES
  SetOutPath "${FOLDER}"
  File "${FILES}\${FILTER}"
  !insertmacro RunRegsvr32 ${ARCH} "" "${FOLDER}\${FILTER}"
  ${If} $0 != 0
    SetErrorLevel 2
    MessageBox MB_ICONSTOP "The ${ARCH}-bit filter could not be registered (regsvr32: $0)." /SD IDOK
    Abort
  ${EndIf}
!macroend

; Removes what the filter section wrote for one architecture: its COM registration and file.
!macro RemoveFilter ARCH FOLDER
  ${If} ${FileExists} "${FOLDER}\${FILTER}"
    !insertmacro RunRegsvr32 ${ARCH} "/u" "${FOLDER}\${FILTER}"
    ${If} $0 != 0
      DetailPrint "The ${ARCH}-bit filter could not be unregistered (regsvr32: $0)."
      SetErrorLevel 2
    ${EndIf}
    Delete "${FOLDER}\${FILTER}"
  ${EndIf}
!macroend

!macro RemoveProgram FOLDER
  Delete "${FOLDER}\${PROGRAM}"
  !insertmacro RemoveLanguagePacks "${FOLDER}\lang"
  RMDir "${FOLDER}\lang"
!macroend

; An earlier installation is removed first, through its own uninstaller and keeping the
; user's settings, so that installing again leaves only what this installer writes.
Function RemoveEarlierInstallation
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
  ${OrIfNot} ${FileExists} "$0\${UNINSTALLER}"
    Return
  ${EndIf}
  DetailPrint "Removing the installed version"
  ClearErrors
  ExecWait '"$0\${UNINSTALLER}" /S _?=$0' $1
  ${If} ${Errors}
  ${OrIf} $1 != 0
    SetErrorLevel 2
    MessageBox MB_ICONSTOP "The installed version could not be removed." /SD IDOK
    Abort
  ${EndIf}
  ; Run in place, the uninstaller could not delete itself or its folder.
  Delete "$0\${UNINSTALLER}"
  RMDir "$0"
FunctionEnd

Section "${PRODUCT}" SectionProgram
  SectionIn RO
  Call RemoveEarlierInstallation
  ${If} $Folder64 != ""
    !insertmacro InstallProgram $Folder64 "${FILES_64}"
  ${EndIf}
  ${If} $Folder32 != ""
    !insertmacro InstallProgram $Folder32 "${FILES_32}"
  ${EndIf}
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKCU "${PRODUCT_KEY}" "" "$INSTDIR"
  WriteRegStr HKCU "${PRODUCT_KEY}" "program_exe_name" "${PROGRAM}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${PROGRAM}"
  ${If} $Folder64 != ""
  ${AndIf} $Folder32 != ""
    CreateShortcut "$SMPROGRAMS\${PRODUCT} (32-bit).lnk" "$Folder32\${PROGRAM}"
  ${EndIf}
SectionEnd

Section "Stand-in filter" SectionFilter
  ${If} $Folder64 != ""
    !insertmacro InstallFilter 64 $Folder64 "${FILES_64}"
  ${EndIf}
  ${If} $Folder32 != ""
    !insertmacro InstallFilter 32 $Folder32 "${FILES_32}"
  ${EndIf}
SectionEnd

Section "-Size"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${If} $Folder32 != ""
  ${AndIf} $Folder32 != $INSTDIR
    ${GetSize} "$Folder32" "/S=0K" $3 $1 $2
    IntOp $0 $0 + $3
  ${EndIf}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function .onInit
  Call ChooseFolders
FunctionEnd

; Deletes a registry key under the current user when it holds neither values nor subkeys
; (DeleteRegKey /ifempty looks at the subkeys only).
Function un.DeleteUserKeyIfEmpty
  Exch $0
  Push $1
  EnumRegValue $1 HKCU "$0" 0
  ${If} $1 == ""
    DeleteRegKey /ifempty HKCU "$0"
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

Section "un.${PRODUCT}" SectionUninstallProgram
  SectionIn RO
  ${If} $Folder64 != ""
    !insertmacro RemoveFilter 64 $Folder64
    !insertmacro RemoveProgram $Folder64
  ${EndIf}
  ${If} $Folder32 != ""
    !insertmacro RemoveFilter 32 $Folder32
    !insertmacro RemoveProgram $Folder32
  ${EndIf}

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT} (32-bit).lnk"

  ; Only the two values that tell where the program is: the rest of the key is the user's.
  ReadRegStr $0 HKCU "${PRODUCT_KEY}" ""
  ${If} $0 == $INSTDIR
    DeleteRegValue HKCU "${PRODUCT_KEY}" ""
    DeleteRegValue HKCU "${PRODUCT_KEY}" "program_exe_name"
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  Delete "$INSTDIR\${UNINSTALLER}"
SectionEnd

Section /o "un.User settings" SectionUninstallSettings
  DeleteRegKey HKCU "${PRODUCT_KEY}"
  DeleteRegKey HKCU "${FILTER_SETTINGS_KEY}"
SectionEnd

Section "-un.Folders"
  Push "${PRODUCT_KEY}"
  Call un.DeleteUserKeyIfEmpty
  Push "${COMPANY_KEY}"
  Call un.DeleteUserKeyIfEmpty
  ${If} $Folder64 != ""
    RMDir "$Folder64"
    RMDir "$Folder64\.."
  ${EndIf}
  ${If} $Folder32 != ""
    RMDir "$Folder32"
    RMDir "$Folder32\.."
  ${EndIf}
SectionEnd

Function un.onInit
  ; The uninstaller lives in the native folder; run in place (_?=) INSTDIR is that folder too.
  StrCpy $R9 $INSTDIR
  Call un.ChooseFolders
  StrCpy $INSTDIR $R9
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SectionUninstallSettings}
  ${EndIf}
FunctionEnd
