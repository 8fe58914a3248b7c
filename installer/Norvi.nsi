; The Windows installer: the installed layout (dist/) into Program Files, a Start-menu entry,
; an uninstaller, and the basic language (Chinese or English) the user picks.
;
; Defines passed by the build: DIST (the installed layout), SKINS_EN and SKINS_ZH (the main
; window's pictures of each basic language), FILES (the generated file lists), OUT (the
; installer to write), TARGET (x86-unicode or amd64-unicode).
;
; Silent installs take the basic language from the command line: /LANGUAGE=zh or /LANGUAGE=en
; (English when absent).

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "nsDialogs.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Norvi"
!define PROGRAM "NorviDriver.exe"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Norvi"

Name "Norvi Mouse"
OutFile "${OUT}"
!if "${TARGET}" == "amd64-unicode"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif

Var Chinese          ; 1 when the basic language is Chinese
Var EnglishButton
Var ChineseButton

!insertmacro MUI_PAGE_DIRECTORY
Page custom LanguagePage LanguagePageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetShellVarContext all
  StrCpy $Chinese 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/LANGUAGE=" $R1
  ${IfNot} ${Errors}
    ${If} $R1 == "zh"
      StrCpy $Chinese 1
    ${ElseIf} $R1 != "en"
      ; An unknown language must not silently install the other one.
      MessageBox MB_ICONSTOP "Unknown language $R1: use /LANGUAGE=zh or /LANGUAGE=en." /SD IDOK
      SetErrorLevel 2
      Abort
    ${EndIf}
  ${EndIf}
FunctionEnd

Function LanguagePage
  !insertmacro MUI_HEADER_TEXT "Basic language" "The language the program starts in."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 24u "Choose the basic language of the program. It can be changed later from the program's language menu."
  Pop $0
  ${NSD_CreateRadioButton} 10u 32u 90% 12u "English"
  Pop $EnglishButton
  ${NSD_CreateRadioButton} 10u 48u 90% 12u "中文 (简体)"
  Pop $ChineseButton
  ${If} $Chinese == 1
    ${NSD_Check} $ChineseButton
  ${Else}
    ${NSD_Check} $EnglishButton
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function LanguagePageLeave
  ${NSD_GetState} $ChineseButton $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $Chinese 1
  ${Else}
    StrCpy $Chinese 0
  ${EndIf}
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  !include "${FILES}\install.nsh"

  ; The basic language: its setting and the main window's pictures of that layout.
  SetOutPath "$INSTDIR\skins"
  ${If} $Chinese == 1
    File "/oname=Main_Normal.bmp" "${SKINS_ZH}\Main_Normal.bmp"
    File "/oname=Main_Over.bmp" "${SKINS_ZH}\Main_Over.bmp"
    File "/oname=Main_Down.bmp" "${SKINS_ZH}\Main_Down.bmp"
  ${Else}
    File "/oname=Main_Normal.bmp" "${SKINS_EN}\Main_Normal.bmp"
    File "/oname=Main_Over.bmp" "${SKINS_EN}\Main_Over.bmp"
    File "/oname=Main_Down.bmp" "${SKINS_EN}\Main_Down.bmp"
  ${EndIf}
  WriteINIStr "$INSTDIR\skins\languagetype.ini" "languagetype" "value" "$Chinese"

  ; The program keeps its settings in a folder under the user's temporary folder and never
  ; creates it; without it nothing the user sets would be saved. It stays on uninstall.
  SetShellVarContext current
  CreateDirectory "$TEMP\Zarqo\Norvi"
  SetShellVarContext all

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Norvi Mouse.lnk" "$INSTDIR\${PROGRAM}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall Norvi Mouse.lnk" "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Norvi Mouse"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

; Removes exactly what the installer wrote: files the user added to the program folder and the
; user's settings (Profile.cfg, Language.cfg in the settings folder) stay.
Section "Uninstall"
  !include "${FILES}\uninstall.nsh"
  Delete "$INSTDIR\skins\Main_Normal.bmp"
  Delete "$INSTDIR\skins\Main_Over.bmp"
  Delete "$INSTDIR\skins\Main_Down.bmp"
  Delete "$INSTDIR\skins\languagetype.ini"
  Delete "$INSTDIR\${UNINSTALLER}"
  !include "${FILES}\uninstall-folders.nsh"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\Norvi Mouse.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall Norvi Mouse.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
