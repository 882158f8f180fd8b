; The installer of ZELK Vantor Source: the program with its language packs and, only when
; chosen (its component, or /STANDIN), the stand-in filter, in Program Files for each
; architecture the system runs (both on 64-bit Windows, the 32-bit one on 32-bit Windows).
; Each stand-in is registered by the regsvr32 of its own architecture, and only where that
; architecture's registry names no other existing file for the filter's class: the real
; filter's registration is never taken over. The uninstaller removes what the installer wrote
; (a class registration only while it still names the installed stand-in) and keeps the
; user's settings unless asked to remove them (its "User settings" component, or
; /REMOVESETTINGS with /S).
;
; The installer runs elevated, so its HKCU may be an administrator's hive rather than the
; hive of the user who started it. The per-user values are therefore written through Active
; Setup: Windows runs the entry's command once for each user at that user's next logon, and
; the installer runs it at once for the account it runs as.
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
!include WordFunc.nsh
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
; What Active Setup imports into each user's hive: the product key's two values.
!define USER_VALUES "user_values.reg"
!define ACTIVE_SETUP_KEY "Software\Microsoft\Active Setup\Installed Components\{63FEF752-C8E5-4976-BF2F-332AF5F27D1C}"
!define FILTER_CLASS "CLSID\{55C39876-FF76-4AB0-AAB0-0A46D535A26B}"
!define PAGE_CLASS "CLSID\{8E3B5A41-2C7D-4F19-A6E2-5D0C94B1F3A7}"
; What regsvr32 exits with when it could not be started at all.
!define NOT_STARTED "not started"

Name "${PRODUCT}"
OutFile "${OUTPUT}"
; Installed files get the time they are installed: the build's file times would make each
; build of the installer differ.
SetDateSave off
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

; Back to the registry view the installer works in after looking at one architecture's view:
; the native one.
!macro UseNativeRegView
  !if ${CPU} == amd64
    SetRegView 64
  !else
    ${If} ${RunningX64}
      SetRegView 64
    ${Else}
      SetRegView 32
    ${EndIf}
  !endif
!macroend

; Leaves in $1 the file that an architecture's (32 or 64) registry names as the server of a
; class key, with its variables expanded; "" when there is none.
!macro ReadClassServer ARCH CLASS
  SetRegView ${ARCH}
  ReadRegStr $1 HKCR "${CLASS}\InprocServer32" ""
  !insertmacro UseNativeRegView
  ExpandEnvStrings $1 $1
!macroend

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

; Sets $2 to 1 when an architecture's class is registered to another filter: a file that is
; not this folder's stand-in and that exists. A name without a folder is found by the system's
; search path, so it counts as existing.
!macro FindOtherFilter ARCH FOLDER
  !insertmacro ReadClassServer ${ARCH} "${FILTER_CLASS}"
  StrCpy $2 0
  ${If} $1 != ""
  ${AndIf} $1 != "${FOLDER}\${FILTER}"
    ${GetFileName} $1 $3
    ${If} $3 == $1
    ${OrIf} ${FileExists} $1
      StrCpy $2 1
    ${EndIf}
  ${EndIf}
!macroend

; Installs and registers one architecture's stand-in, unless that architecture's registry
; names another filter for the class: that registration is the real filter's and stays.
!macro InstallFilter ARCH FOLDER FILES
  !insertmacro FindOtherFilter ${ARCH} "${FOLDER}"
  ${If} $2 == 1
    DetailPrint "The ${ARCH}-bit filter is already registered ($1): it stays, and the ${ARCH}-bit stand-in is not installed."
  ${Else}
    SetOutPath "${FOLDER}"
    File "${FILES}\${FILTER}"
    !insertmacro RunRegsvr32 ${ARCH} "" "${FOLDER}\${FILTER}"
    ${If} $0 != 0
      SetErrorLevel 2
      MessageBox MB_ICONSTOP "The ${ARCH}-bit stand-in filter could not be registered (regsvr32: $0)." /SD IDOK
      Abort
    ${EndIf}
  ${EndIf}
!macroend

; Deletes a class key of an architecture when its server is this folder's stand-in.
!macro DeleteOwnClass ARCH FOLDER CLASS
  !insertmacro ReadClassServer ${ARCH} "${CLASS}"
  ${If} $1 == "${FOLDER}\${FILTER}"
    SetRegView ${ARCH}
    DeleteRegKey HKCR "${CLASS}"
    !insertmacro UseNativeRegView
  ${EndIf}
!macroend

; Removes what the filter section wrote for one architecture: its COM registration, only while
; the class still names this folder's stand-in (another filter registered since then is left
; alone), and its file. A registration the stand-in could not take back itself, or that names
; a stand-in file already gone, is deleted here.
!macro RemoveFilter ARCH FOLDER
  !insertmacro ReadClassServer ${ARCH} "${FILTER_CLASS}"
  ${If} $1 == "${FOLDER}\${FILTER}"
  ${AndIf} ${FileExists} "${FOLDER}\${FILTER}"
    !insertmacro RunRegsvr32 ${ARCH} "/u" "${FOLDER}\${FILTER}"
    ${If} $0 != 0
      DetailPrint "The ${ARCH}-bit stand-in filter could not unregister itself (regsvr32: $0): its registration is deleted."
    ${EndIf}
  ${EndIf}
  !insertmacro DeleteOwnClass ${ARCH} "${FOLDER}" "${FILTER_CLASS}"
  !insertmacro DeleteOwnClass ${ARCH} "${FOLDER}" "${PAGE_CLASS}"
  !insertmacro ReadClassServer ${ARCH} "${FILTER_CLASS}"
  ${If} $1 == "${FOLDER}\${FILTER}"
    DetailPrint "The ${ARCH}-bit stand-in filter's registration could not be removed."
    SetErrorLevel 2
  ${EndIf}
  Delete "${FOLDER}\${FILTER}"
!macroend

!macro RemoveProgram FOLDER
  Delete "${FOLDER}\${PROGRAM}"
  !insertmacro RemoveLanguagePacks "${FOLDER}\lang"
  RMDir "${FOLDER}\lang"
!macroend

; An earlier installation is removed first, through its own uninstaller and keeping the
; user's settings, so that installing again leaves only what this installer writes. An
; uninstaller that fails may have removed part of the earlier installation (its files, its
; uninstall entry) or none of it: either way this installation goes on and is complete
; afterwards, so the machine never ends up with no program and no uninstaller.
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
    StrCpy $1 "${NOT_STARTED}"
  ${EndIf}
  ${If} $1 != 0
    DetailPrint "The installed version's uninstaller failed ($1)."
    MessageBox MB_ICONEXCLAMATION "The installed version could not be removed completely (its uninstaller: $1). This version is installed over it." /SD IDOK
  ${EndIf}
  ; Run in place, the uninstaller could not delete itself or its folder.
  Delete "$0\${UNINSTALLER}"
  RMDir "$0"
FunctionEnd

; The Active Setup entry's version: the time in UTC, so that each later entry is newer than
; what a user's logon ran before. Leaves it in $R0.
!macro ActiveSetupVersion UN
Function ${UN}ActiveSetupVersion
  ${GetTime} "" "LS" $0 $1 $2 $3 $4 $5 $6
  StrCpy $R0 "$2,$1$0,$4$5,$6"
FunctionEnd
!macroend
!insertmacro ActiveSetupVersion ""
!insertmacro ActiveSetupVersion "un."

; Makes COMMAND what Active Setup runs at each user's next logon, and marks it as done for the
; account the installer runs as, which ran it (or its counterpart) already.
!macro WriteActiveSetup UN COMMAND
  Call ${UN}ActiveSetupVersion
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "" "${PRODUCT}"
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "Version" $R0
  WriteRegStr HKLM "${ACTIVE_SETUP_KEY}" "StubPath" '${COMMAND}'
  WriteRegDWORD HKLM "${ACTIVE_SETUP_KEY}" "IsInstalled" 1
  WriteRegStr HKCU "${ACTIVE_SETUP_KEY}" "Version" $R0
!macroend

; The product key's values for each user, which tell the program's products component where
; the program is: a file of values that Active Setup's command imports into the user's hive.
Function WriteUserValues
  ${WordReplace} "$INSTDIR" "\" "\\" "+" $R1
  FileOpen $0 "$INSTDIR\${USER_VALUES}" w
  FileWriteUTF16LE /BOM $0 "Windows Registry Editor Version 5.00$\r$\n$\r$\n"
  FileWriteUTF16LE $0 "[HKEY_CURRENT_USER\${PRODUCT_KEY}]$\r$\n"
  FileWriteUTF16LE $0 '@="$R1"$\r$\n'
  FileWriteUTF16LE $0 '"program_exe_name"="${PROGRAM}"$\r$\n'
  FileClose $0
  StrCpy $R2 '"$WINDIR\System32\reg.exe" import "$INSTDIR\${USER_VALUES}"'
  !insertmacro WriteActiveSetup "" $R2
  ClearErrors
  ExecWait $R2 $0
  ${If} ${Errors}
  ${OrIf} $0 != 0
    DetailPrint "The program's location could not be stored for this account (reg: $0); it is stored at the next logon."
  ${EndIf}
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
  Call WriteUserValues

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

Section /o "Stand-in filter (for trying the program without the real filter)" SectionFilter
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
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/STANDIN" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SectionFilter}
  ${EndIf}
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
  ; The other users' values go at their next logon.
  !insertmacro WriteActiveSetup "un." '"$WINDIR\System32\cmd.exe" /d /c reg delete "HKCU\${PRODUCT_KEY}" /ve /f & reg delete "HKCU\${PRODUCT_KEY}" /v program_exe_name /f'
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  Delete "$INSTDIR\${USER_VALUES}"
  Delete "$INSTDIR\${UNINSTALLER}"
SectionEnd

; The settings of the account the uninstaller runs as go now, every other user's at the next logon.
Section /o "un.User settings" SectionUninstallSettings
  DeleteRegKey HKCU "${PRODUCT_KEY}"
  DeleteRegKey HKCU "${FILTER_SETTINGS_KEY}"
  !insertmacro WriteActiveSetup "un." '"$WINDIR\System32\cmd.exe" /d /c reg delete "HKCU\${PRODUCT_KEY}" /f & reg delete "HKCU\${FILTER_SETTINGS_KEY}" /f'
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
