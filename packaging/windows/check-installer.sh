#!/usr/bin/env bash
# Checks the Windows installer the way a lab rolls it out, under Wine on a
# virtual display, in a Wine prefix made for the check and removed after it:
#   packaging/windows/check-installer.sh SETUP_EXE [STAGE]
#   1. "SETUP_EXE /S" on a fresh computer: the programs in Program Files (with
#      STAGE, the folder the installer was made from, every file of it, the
#      same bytes), the Start-menu entries, the test-file type, the entry in
#      Add or remove programs, the folder of the results log;
#   2. with Qt's libraries installed (a real build of the program), the exam
#      program shows its window when a sample test is opened and when it is
#      started from its Start-menu entry;
#      "SETUP_EXE /S" over a copy in an exam closes it (its exam stays in its
#      journal) and installs; over a copy that does not answer (stopped) it
#      changes nothing and ends with 32;
#   3. a results log in that folder, "SETUP_EXE /S" again over the
#      installation (the earlier one is uninstalled first): all of 1 again,
#      the log untouched;
#   4. the uninstaller named in Add or remove programs, with "/S": the
#      programs, the entries, the file type and the test-file icon an older
#      first start left in the Windows folder gone, the results log, a user's
#      settings and the lab's settings kept.
# KWIZMAR_SCREENSHOT=file.png keeps a picture of the screen with the program's
# window. Wine's icacls does not change access rights, so the rights the
# installer gives on the results folder cannot be checked here.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
fail() {
  echo "check-installer.sh: FAILED: $*" >&2
  exit 1
}
[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: check-installer.sh SETUP_EXE [STAGE]" >&2; exit 2; }
setup=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
[ -f "$setup" ] || fail "no installer $1"
stage=
if [ $# -eq 2 ]; then
  stage=$(cd "$2" && pwd)
  [ -f "$stage/.kwizmar-stage" ] || fail "$stage is not a stage made by stage.sh"
fi

# On a virtual display of its own.
if [ -z "${KWIZMAR_CHECK_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env KWIZMAR_CHECK_DISPLAY=1 "$0" "$@"
fi

version=$(sed -n 's/^project(Kwizmar VERSION \([0-9.]*\) .*/\1/p' "$here/../../CMakeLists.txt")

prefix=$(mktemp -d "${TMPDIR:-/tmp}/kwizmar-setup-wine.XXXXXX")
# Without Wine's .NET and HTML engines, whose installers would ask, and
# without its menu builder, which would put the Start-menu entries and the
# file type into the desktop of the computer running the check.
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$prefix"' EXIT
echo "Making a Wine prefix"
wine wineboot --init >/dev/null 2>&1
wineserver -w

drive=$prefix/drive_c
program_files=$drive/Program\ Files/Nerbaly/Kwizmar
menu=$drive/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Kwizmar\ 2002
results=$drive/ProgramData/Nerbaly/Kwizmar
journal=$(echo "$drive"/users/*/AppData/Roaming)/Nerbaly/Kwizmar/egzamin-w-toku.txt
windows_program_files='C:\Program Files\Nerbaly\Kwizmar'

# The data of a registry value (the key's default value without NAME), or
# failure when the key or the value is missing.
reg_value() {
  local out
  if [ $# -eq 1 ]; then
    out=$(wine reg query "$1" /ve 2>/dev/null) || return 1
  else
    out=$(wine reg query "$1" /v "$2" 2>/dev/null) || return 1
  fi
  out=$(printf '%s\n' "$out" | tr -d '\r' | grep -m1 'REG_') || return 1
  printf '%s\n' "$out" | sed 's/^.*REG_[A-Z_]*[[:space:]]*//'
}

expect_value() { # key, name ("" for the default), expected data
  local data
  if [ -z "$2" ]; then data=$(reg_value "$1") || fail "no registry key $1"
  else data=$(reg_value "$1" "$2") || fail "no value $2 in $1"; fi
  [ "$data" = "$3" ] || fail "$1 ${2:-(default)} is \"$data\", not \"$3\""
}

# A shortcut names its target in the ANSI or the UTF-16 form; its argument
# runs on into the next string (a length before each is no separator).
expect_link() { # .lnk, program[, its argument]
  [ -f "$menu/$1" ] || fail "no Start-menu entry $1"
  local text
  text=$(strings -a "$menu/$1"; strings -a -el "$menu/$1")
  grep -qiF "$windows_program_files\\$2" <<<"$text" ||
    fail "the Start-menu entry $1 does not start $windows_program_files\\$2"
  [ -z "${3:-}" ] || grep -qF -- "$3" <<<"$text" ||
    fail "the Start-menu entry $1 does not give $2 the argument $3"
}

install() { # the installer's further options
  local rc=0
  wine "$setup" /S "$@" || rc=$?
  [ "$rc" -eq 0 ] || fail "the installer ended with $rc"
}

check_installed() {
  local file
  for file in kwizmar.exe odinstaluj.exe KwIc.ico; do
    [ -f "$program_files/$file" ] || fail "no $file in Program Files\\Nerbaly\\Kwizmar"
  done
  compgen -G "$program_files/Testy/*.ts2" >/dev/null || fail "no sample tests installed"
  # The windowed programs: a console program would open a console window
  # beside its own when started from the Start menu or a test file.
  for file in kwizmar.exe kwizmar-edytor.exe; do
    [ -f "$program_files/$file" ] || continue
    grep -q '^Subsystem.*(Windows GUI)' <<<"$(x86_64-w64-mingw32-objdump -p "$program_files/$file")" ||
      fail "$file is a console program: starting it opens a console window beside it"
  done
  if [ -n "$stage" ]; then
    while IFS= read -r file; do
      cmp -s "$stage/$file" "$program_files/$file" || fail "$file is not installed as it was staged"
    done < <(cd "$stage" && find . -type f ! -name .kwizmar-stage | sed 's|^\./||')
  fi

  expect_link "Kwizmar 2002.lnk" kwizmar.exe
  expect_link "Wyniki egzaminów Kwizmar 2002.lnk" kwizmar.exe --wyniki
  if [ -f "$program_files/kwizmar-edytor.exe" ]; then
    expect_link "Edytor testów Kwizmar.lnk" kwizmar-edytor.exe
  fi

  expect_value 'HKLM\Software\Classes\.ts2' "" TS2File
  expect_value 'HKLM\Software\Classes\TS2File\shell\open\command' "" \
    "\"$windows_program_files\\kwizmar.exe\" \"%1\""
  expect_value 'HKLM\Software\Classes\TS2File\DefaultIcon' "" "$windows_program_files\\KwIc.ico,0"

  local key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kwizmar'
  expect_value "$key" DisplayName "Kwizmar 2002"
  expect_value "$key" DisplayVersion "$version"
  expect_value "$key" Publisher Nerbaly
  expect_value "$key" UninstallString "\"$windows_program_files\\odinstaluj.exe\""
  expect_value "$key" QuietUninstallString "\"$windows_program_files\\odinstaluj.exe\" /S"

  [ -d "$results" ] || fail "no results folder C:\\ProgramData\\Nerbaly\\Kwizmar"
}

# The exam program as a pupil starts it: from the Start menu. Its title runs
# along the title bar, so a window is the program's when some turn of its
# title reads "Kwizmar 2002".
program_window() {
  local id name
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    name=$(xdotool getwindowname "$id" 2>/dev/null) || continue
    [[ "$name$name" == *"Kwizmar 2002"* ]] && return 0
  done
  return 1
}

# The window of the exam program, once it shows one (after 3 minutes: failure).
wait_for_program() { # how it was started, said on failure
  local tries=0
  until program_window; do
    tries=$((tries + 1))
    if [ "$tries" -gt 180 ]; then
      [ -z "${KWIZMAR_SCREENSHOT:-}" ] || import -window root "$KWIZMAR_SCREENSHOT"
      fail "the exam program started $1 showed no window in 3 minutes (its DLLs or Qt's plugins missing?${KWIZMAR_SCREENSHOT:+ see $KWIZMAR_SCREENSHOT})"
    fi
    sleep 1
  done
  # Its first-show steps, the file type's among them, run once it is up.
  sleep 3
}

# Opens a file through the shell, as a double click does, and waits for the
# exam program's window.
start_program() { # what is opened (Windows path), how it is said
  echo "Starting the exam program $2"
  # "start" opens the file and returns; the program goes on by itself.
  wine start "$1"
  wait_for_program "$2"
  echo "The exam program shows its window"
  if [ -n "${KWIZMAR_SCREENSHOT:-}" ]; then
    # What it draws once the window is up.
    sleep 5
    import -window root "$KWIZMAR_SCREENSHOT"
    echo "Screen saved in $KWIZMAR_SCREENSHOT"
  fi
  wineserver -k
  wineserver -w
}

# The Wine process of the installed exam program, if one runs.
program_process() {
  pgrep -f 'Nerbaly.Kwizmar.kwizmar\.exe' | head -n1
}

# The installer's windows (its pages and its questions), newest last.
installer_windows() {
  xdotool search --onlyvisible --name '^Instalator' 2>/dev/null || true
}

# An installation by hand while a copy runs: the pages gone through by Enter;
# at the question about the running copy, the copy ended first where a
# process is given (as its user closes it), then the key given is pressed
# (Return: "Ponów", Escape: "Anuluj"). The exit code goes to $prefix/rc.
interactive_install() { # key, [process to end first]
  rm -f "$prefix/rc"
  (rc=0; wine "$setup" || rc=$?; echo "$rc" >"$prefix/rc") &
  local tries=0 pages
  until [ -n "$(installer_windows)" ]; do
    tries=$((tries + 1)); [ "$tries" -le 120 ] || fail "the installer showed no window"; sleep 0.5
  done
  sleep 1
  xdotool windowfocus --sync "$(installer_windows | tail -n1)" key Return # the welcome page
  sleep 1
  xdotool windowfocus --sync "$(installer_windows | tail -n1)" key Return # the folder: install
  tries=0
  until [ "$(installer_windows | wc -l)" -ge 2 ]; do
    tries=$((tries + 1)); [ "$tries" -le 60 ] || fail "the installer did not ask about the running copy"; sleep 0.5
  done
  sleep 1
  [ -z "${KWIZMAR_SCREENSHOT:-}" ] || import -window root "${KWIZMAR_SCREENSHOT%.png}-pytanie.png"
  if [ -n "${2:-}" ]; then
    kill "$2"
    while kill -0 "$2" 2>/dev/null; do sleep 0.2; done
  fi
  xdotool windowfocus --sync "$(installer_windows | tail -n1)" key "$1"
  if [ "$1" = Return ]; then
    tries=0
    # The last page: "Zakończ".
    until [ -f "$prefix/rc" ]; do
      tries=$((tries + 1)); [ "$tries" -le 120 ] || fail "the installer did not end"
      sleep 1
      [ -z "$(installer_windows)" ] || xdotool windowfocus --sync "$(installer_windows | tail -n1)" key Return 2>/dev/null || true
    done
  fi
  wait
}

# A pupil's exam in progress: the program opened with a sample test, the
# name typed and the exam started (Alt+S), its journal written.
start_exam() { # the sample test (Windows path)
  wine start "$1"
  wait_for_program "with a sample test"
  xdotool type --delay 50 "Jan Instalacja"
  xdotool key alt+s
  local tries=0
  until [ -f "$journal" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 60 ] || fail "no exam started: the journal $journal was not written"
    sleep 0.5
  done
}

grep -qxF "$version" <<<"$(strings -a -el "$setup")" || fail "the installer carries no version $version"

echo "Installing on a fresh computer"
install
check_installed
if [ -f "$program_files/Qt6Core.dll" ]; then
  # A sample test first, while the installer's file type is all that can
  # open it (the program has not run yet).
  samples=("$program_files"/Testy/*.ts2)
  sample=$(basename "${samples[0]}")
  start_program "$windows_program_files\\Testy\\$sample" "by opening Testy\\$sample"
  start_program "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Kwizmar 2002\\Kwizmar 2002.lnk" \
    "from the Start menu"
  # The installer's file type stands: the program's first start, as a pupil
  # without an administrator's rights makes it, writes neither into the
  # machine's classes nor into the Windows folder.
  [ ! -e "$drive/windows/KwIc.dll" ] || fail "the program's first start wrote KwIc.dll into the Windows folder"
  expect_value 'HKLM\Software\Classes\TS2File\DefaultIcon' "" "$windows_program_files\\KwIc.ico,0"
  expect_value 'HKCU\Software\Nerbaly\Kwizmar' Path "$windows_program_files\\kwizmar.exe"

  # The lab is updated while a pupil is in an exam: the silent installation
  # waits, asks the program to end as Windows does, and replaces it; the
  # exam stays in its journal, to be taken up at the next start.
  echo "Installing again over a copy of the program in an exam"
  start_exam "$windows_program_files\\Testy\\$sample"
  install /CZEKAJ=2
  [ -z "$(program_process)" ] || fail "the copy in an exam still runs after the installation"
  grep -q "Jan Instalacja" "$journal" || fail "the exam's journal did not outlive the installation"
  check_installed

  # A copy that does not answer (stopped outright): nothing is replaced, and
  # the exit code says why.
  echo "Installing again over a copy that does not answer"
  wine start "$windows_program_files\\kwizmar.exe"
  wait_for_program "from its folder"
  stopped=$(program_process)
  kill -STOP "$stopped"
  rc=0
  wine "$setup" /S /CZEKAJ=1 || rc=$?
  kill -CONT "$stopped"
  [ "$rc" -eq 32 ] || fail "the installer ended with $rc, not 32, over a copy it could not close"
  check_installed

  # Started by hand over a running copy, the installer asks to close it:
  # "Anuluj" leaves everything as it was, "Ponów" once it is closed installs.
  echo "Installing by hand over a running copy: cancelled, then once it is closed"
  interactive_install Escape
  [ "$(cat "$prefix/rc")" -eq 32 ] || fail "the installer cancelled over a running copy ended with $(cat "$prefix/rc"), not 32"
  [ "$(program_process)" = "$stopped" ] || fail "cancelling the installation ended the running copy"
  check_installed
  interactive_install Return "$stopped"
  [ "$(cat "$prefix/rc")" -eq 0 ] || fail "the installer ended with $(cat "$prefix/rc") once the copy was closed"
  check_installed
  wineserver -k
  wineserver -w
fi

echo "Installing again over the installation, with a results log kept"
log=$results/MSStr32.dll
printf 'results of the pupils\r\n' >"$log"
cp "$log" "$prefix/log.copy"
# A user's settings and the lab's, as the programs keep them.
wine reg add 'HKCU\Software\Nerbaly\Kwizmar' /v Sprawdzenie /d uzytkownik /f >/dev/null
wine reg add 'HKLM\SOFTWARE\Nerbaly\Kwizmar' /v Sprawdzenie /d pracownia /f >/dev/null
install
check_installed
cmp -s "$log" "$prefix/log.copy" || fail "installing again changed the results log"

echo "Uninstalling"
# The test-file icon a first start of an older version wrote into the Windows folder.
cp "$here/../KwIc.ico" "$drive/windows/KwIc.dll"
uninstaller=$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kwizmar' UninstallString)
rc=0
wine "${uninstaller//\"/}" /S || rc=$?
wineserver -w
[ "$rc" -eq 0 ] || fail "the uninstaller ended with $rc"
[ ! -e "$program_files" ] || fail "Program Files\\Nerbaly\\Kwizmar is still there: $(cd "$program_files" && find . | head)"
[ ! -e "$drive/Program Files/Nerbaly" ] || fail "Program Files\\Nerbaly is still there"
[ ! -e "$menu" ] || fail "the Start-menu folder Kwizmar 2002 is still there"
[ ! -e "$drive/windows/KwIc.dll" ] || fail "the uninstaller left the program's KwIc.dll in the Windows folder"
! reg_value 'HKLM\Software\Classes\.ts2' >/dev/null || fail "the .ts2 file type is still registered"
! reg_value 'HKLM\Software\Classes\TS2File\shell\open\command' >/dev/null || fail "TS2File is still registered"
! reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kwizmar' DisplayName >/dev/null ||
  fail "Kwizmar is still in Add or remove programs"
cmp -s "$log" "$prefix/log.copy" || fail "the uninstaller removed or changed the results log"
expect_value 'HKCU\Software\Nerbaly\Kwizmar' Sprawdzenie uzytkownik
expect_value 'HKLM\SOFTWARE\Nerbaly\Kwizmar' Sprawdzenie pracownia

echo "check-installer.sh: the installer of Kwizmar $version installs, installs again and uninstalls as it should"
