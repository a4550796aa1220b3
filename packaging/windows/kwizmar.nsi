; The Windows installer of Kwizmar 2002, kwizmar-setup-<version>.exe: installs
; for the whole machine into Program Files\Nerbaly\Kwizmar, adds the Start-menu
; entries, opens test files (.ts2) with the exam program, and prepares the
; folder of the results log; its uninstaller takes all of that away again but
; the results log and the settings. "/S" installs and uninstalls without a
; word, for rolling the program out to a lab.
;
;
; Programs of an earlier installation that are running are closed first:
; interactively the installer asks to close them and waits; with "/S" it waits
; up to /CZEKAJ=SECONDS (60 by default) for them to end, then asks them to end
; as Windows asks a program to close for an installation (an exam in progress
; stays in its journal), and ends with exit code 32 where one still runs,
; having changed nothing. The uninstaller does the same.
;
;   makensis -INPUTCHARSET UTF8 -DSTAGE=<folder made by stage.sh> \
;            -DHELPER=<kwizmar-instalator.exe of the build> \
;            -DOUTDIR=<folder for the installer> packaging/windows/kwizmar.nsi
; (all paths absolute; build-installer.sh does all of it).

Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!ifndef STAGE
  !error "makensis -DSTAGE=<folder made by stage.sh> -DOUTDIR=<output folder> kwizmar.nsi"
!endif
!ifndef OUTDIR
  !error "makensis -DSTAGE=<folder made by stage.sh> -DOUTDIR=<output folder> kwizmar.nsi"
!endif
!ifndef HELPER
  !error "makensis -DHELPER=<kwizmar-instalator.exe> ... kwizmar.nsi"
!endif

; The version is the project's, from CMakeLists.txt.
!searchparse /file "${__FILEDIR__}/../../CMakeLists.txt" "project(Kwizmar VERSION " VERSION " "

!define PRODUCT "Kwizmar 2002"
!define PUBLISHER "Nerbaly"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kwizmar"
!define UNINSTALLER "odinstaluj.exe"
!define MENU_FOLDER "$SMPROGRAMS\Kwizmar 2002"
!define EXAM_LINK "Kwizmar 2002.lnk"
!define EDITOR_LINK "Edytor testów Kwizmar.lnk"
!define RESULTS_LINK "Wyniki egzaminów Kwizmar 2002.lnk"
; Where the results log MSStr32.dll is kept, for every user of the computer.
!define RESULTS_FOLDER "$APPDATA\Nerbaly\Kwizmar"
; The group of the computer's users, by its well-known SID (its name is
; different in every language of Windows).
!define USERS_SID "*S-1-5-32-545"

Name "${PRODUCT}"
OutFile "${OUTDIR}/kwizmar-setup-${VERSION}.exe"
InstallDir "$PROGRAMFILES64\Nerbaly\Kwizmar"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PUBLISHER} ${PRODUCT} ${VERSION}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

; The files of the stage, to install and to remove.
!tempfile FILE_LIST
!system 'sh "${__FILEDIR__}/nsis-files.sh" "${STAGE}" > "${FILE_LIST}"' = 0
!include "${FILE_LIST}"
!delfile "${FILE_LIST}"

!define MUI_ICON "${STAGE}/KwIc.ico"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Polish"

LangString NEED_ADMIN ${LANG_POLISH} "Program ${PRODUCT} instaluje się dla wszystkich użytkowników komputera: instalację trzeba uruchomić z uprawnieniami administratora."
LangString STILL_RUNNING ${LANG_POLISH} "Te programy ${PRODUCT} wciąż są uruchomione i blokują swoje pliki:"
LangString CLOSE_THEM ${LANG_POLISH} "Zamknij je (egzamin w toku najpierw zakończ albo przerwij) i wybierz „Ponów”. „Anuluj” przerywa, niczego nie zmieniając."
LangString NOT_CLOSED ${LANG_POLISH} "Nie udało się zamknąć uruchomionych programów; niczego nie zmieniono:"
LangString NO_RIGHTS ${LANG_POLISH} "Nie udało się nadać użytkownikom komputera prawa zapisu w folderze wyników"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_POLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_POLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_POLISH} "FileDescription" "Instalator programu ${PRODUCT}"
VIAddVersionKey /LANG=${LANG_POLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_POLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_POLISH} "LegalCopyright" "© 2001-2026 Nerbaly Software"

!macro NEEDS_ADMIN
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_ICONSTOP|MB_OK "$(NEED_ADMIN)" /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

; ERROR_SHARING_VIOLATION: a program still runs, its files can't be replaced.
!define STILL_RUNNING_EXIT 32
; How long a silent installation waits for running programs to end by
; themselves before it asks them to (/CZEKAJ=SECONDS).
Var WAIT_SECONDS

; The running programs of the folders given (each quoted) are closed, or the
; installation ends without changing anything: see the top of this file.
!macro CLOSE_RUNNING_COPIES un
Function ${un}CloseRunningCopies
  Exch $R0 ; the folders
  Push $R1
  Push $R2
  InitPluginsDir
  File "/oname=$PLUGINSDIR\kwizmar-instalator.exe" "${HELPER}"
  ${If} ${Silent}
    nsExec::ExecToStack '"$PLUGINSDIR\kwizmar-instalator.exe" zamknij $WAIT_SECONDS $R0'
    Pop $R1
    Pop $R2
    ${If} $R1 != 0
      DetailPrint "$(NOT_CLOSED) $R2"
      SetErrorLevel ${STILL_RUNNING_EXIT}
      Quit
    ${EndIf}
  ${Else}
    ${Do}
      nsExec::ExecToStack '"$PLUGINSDIR\kwizmar-instalator.exe" czekaj 3 $R0'
      Pop $R1
      Pop $R2
      ${If} $R1 == 0
        ${Break}
      ${EndIf}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(STILL_RUNNING)$\r$\n$\r$\n$R2$\r$\n$(CLOSE_THEM)" IDRETRY again
      SetErrorLevel ${STILL_RUNNING_EXIT}
      Quit
      again:
    ${Loop}
  ${EndIf}
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_COPIES ""
!insertmacro CLOSE_RUNNING_COPIES "un."

!macro READ_WAIT_SECONDS
  StrCpy $WAIT_SECONDS 60
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/CZEKAJ=" $1
  ${IfNot} ${Errors}
  ${AndIf} $1 != ""
    IntOp $WAIT_SECONDS $1 + 0
  ${EndIf}
!macroend

; Tells the shell the file types changed, so that test files get their icon
; and their program at once.
!macro FILE_TYPES_CHANGED
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)' ; SHCNE_ASSOCCHANGED
!macroend

; A 64-bit installer (it starts on 64-bit Windows alone, where the programs
; run), so Program Files, System32 and the registry are the 64-bit ones.
Function .onInit
  !insertmacro NEEDS_ADMIN
  SetShellVarContext all
  !insertmacro READ_WAIT_SECONDS
FunctionEnd

Section "Kwizmar 2002"
  ; An earlier installation is taken away first by its own uninstaller, so
  ; that no file the new version no longer has stays behind; the results log
  ; and the settings stay, as they always do.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ; Nothing is touched while a program of either folder runs.
  Push '"$INSTDIR" "$0"'
  Call CloseRunningCopies
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\${UNINSTALLER}"
    DetailPrint "Usuwanie poprzedniej wersji z $0"
    ExecWait '"$0\${UNINSTALLER}" /S _?=$0'
    Delete "$0\${UNINSTALLER}"
    RMDir "$0"
  ${EndIf}

  !insertmacro KWIZMAR_INSTALL_FILES
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The Start menu of every user; the programs start in their own folder.
  SetOutPath "$INSTDIR"
  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\${EXAM_LINK}" "$INSTDIR\kwizmar.exe" "" "$INSTDIR\KwIc.ico" 0
  ; The results of the exams alone, for the teacher, without an exam.
  CreateShortcut "${MENU_FOLDER}\${RESULTS_LINK}" "$INSTDIR\kwizmar.exe" "--wyniki" \
    "$INSTDIR\KwIc.ico" 0
  ${If} ${FileExists} "$INSTDIR\kwizmar-edytor.exe"
    CreateShortcut "${MENU_FOLDER}\${EDITOR_LINK}" "$INSTDIR\kwizmar-edytor.exe" "" \
      "$INSTDIR\KwIc.ico" 0
  ${EndIf}

  ; Test files open with the exam program, for every user (the program
  ; writes the type again when a user first starts it).
  WriteRegStr HKLM "Software\Classes\.ts2" "" "TS2File"
  WriteRegStr HKLM "Software\Classes\TS2File" "" "Plik testowy programu Nerbaly KWIZMAR 2002"
  WriteRegStr HKLM "Software\Classes\TS2File\DefaultIcon" "" "$INSTDIR\KwIc.ico,0"
  WriteRegStr HKLM "Software\Classes\TS2File\shell\open" "" "&Egzaminuj"
  WriteRegStr HKLM "Software\Classes\TS2File\shell\open\command" "" '"$INSTDIR\kwizmar.exe" "%1"'
  !insertmacro FILE_TYPES_CHANGED

  ; The results log is written by every pupil who takes a test on the
  ; computer: the group of its users may change what is in the folder,
  ; files made later and files already there (an earlier installation's log).
  CreateDirectory "${RESULTS_FOLDER}"
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "${RESULTS_FOLDER}" /grant ${USERS_SID}:(OI)(CI)M /T /Q'
  Pop $1
  ${If} $1 != 0
    DetailPrint "$(NO_RIGHTS) ${RESULTS_FOLDER} (icacls: $1)"
  ${EndIf}

  ; Add or remove programs.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "http://www.nerbaly.pl"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\KwIc.ico"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $2 $3 $4
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $2
SectionEnd

Function un.onInit
  !insertmacro NEEDS_ADMIN
  SetShellVarContext all
  !insertmacro READ_WAIT_SECONDS
FunctionEnd

; Everything the installer put in but the results log folder and what the
; programs keep themselves: each user's settings and data, and the lab's
; settings (HKEY_LOCAL_MACHINE\SOFTWARE\Nerbaly\Kwizmar).
Section "Uninstall"
  Push '"$INSTDIR"'
  Call un.CloseRunningCopies

  ; The test-file icon that a first start of an older version wrote into the
  ; Windows folder, where it is still that very icon.
  ${If} ${FileExists} "$WINDIR\KwIc.dll"
    nsExec::Exec '"$PLUGINSDIR\kwizmar-instalator.exe" ten-sam "$WINDIR\KwIc.dll" "$INSTDIR\KwIc.ico"'
    Pop $0
    ${If} $0 == 0
      Delete "$WINDIR\KwIc.dll"
    ${EndIf}
  ${EndIf}

  !insertmacro KWIZMAR_REMOVE_FILES
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  RMDir "$PROGRAMFILES64\Nerbaly"

  Delete "${MENU_FOLDER}\${EXAM_LINK}"
  Delete "${MENU_FOLDER}\${EDITOR_LINK}"
  Delete "${MENU_FOLDER}\${RESULTS_LINK}"
  RMDir "${MENU_FOLDER}"

  ; The type's name stays where another program has taken it over since.
  ReadRegStr $0 HKLM "Software\Classes\.ts2" ""
  ${If} $0 == "TS2File"
    DeleteRegValue HKLM "Software\Classes\.ts2" ""
    DeleteRegKey /ifempty HKLM "Software\Classes\.ts2"
  ${EndIf}
  DeleteRegKey HKLM "Software\Classes\TS2File"
  !insertmacro FILE_TYPES_CHANGED

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
