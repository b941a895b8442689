#!/usr/bin/env bash
# Installs the sample product on a fresh emulated machine and shows what the
# install left behind. ./run demo runs it after the build.
#
#   sample/demo.sh [--batch] [--remove] [--platform win95|nt351|nt4] [--demo-dir DIR] BUILD_DIR
#
# DIR (default BUILD_DIR/demo) is made anew on every run: the diskettes in
# DIR/media, reached as the CD-ROM drive D:, and the machine in DIR/machine.
# The setup runs as the wizard when a display is present, else (and with
# --batch) with /B. With --remove the install is then removed again by the
# removal command it registered, and the demo shows what is left. The exit
# status is the setup's own: 0 installed, 1 cancelled, 2 installed with errors
# reported, 3 setup could not continue; with --remove the removal's when it is
# not 0; 4 when the demo itself failed.
set -euo pipefail
trap 'echo "demo: failed (line $LINENO)" >&2; exit 4' ERR

usage() {
  echo "usage: $(sed -n '5s/^# *//p' "$0")" >&2
  exit 4
}

die() {
  echo "demo: $*" >&2
  exit 4
}

batch=0
remove=0
platform=win95
demo=
while [ $# -gt 0 ]; do
  case "$1" in
    --batch) batch=1 ;;
    --remove) remove=1 ;;
    --platform) [ $# -ge 2 ] || usage; platform=$2; shift ;;
    --demo-dir) [ $# -ge 2 ] || usage; demo=$2; shift ;;
    -h|--help) usage ;;
    -*) usage ;;
    *) break ;;
  esac
  shift
done
[ $# -eq 1 ] || usage

sample=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" 2>/dev/null && pwd) || die "no build directory $1"
qmtool=$build/bin/qmtool
qmsetup=$build/bin/qmsetup
if [ ! -x "$qmtool" ] || [ ! -x "$qmsetup" ] || [ ! -x "$build/bin/unsetup" ]; then
  die "$build/bin has no qmtool, qmsetup and unsetup: build first (./run build)"
fi
demo=${demo:-$build/demo}

# The demo directory is deleted on every run, so only one that an earlier run
# made (it carries the marker) or an empty one is taken: a mistyped --demo-dir
# must not cost anybody their files.
marker=.quillmark-demo
if [ -e "$demo" ]; then
  if [ ! -e "$demo/$marker" ] && [ -n "$(ls -A "$demo" 2>/dev/null)" ]; then
    die "$demo is not a directory that the demo made; not deleting it"
  fi
  rm -rf "$demo"
fi
mkdir -p "$demo"
demo=$(cd "$demo" && pwd)
touch "$demo/$marker"

machine=$demo/machine
media=$demo/media
export QMSETUP_SYSTEM=$machine
# "progman.exe" of the machine is the built qmtool's Program Manager.
export QMSETUP_QMTOOL=$qmtool
# Qt wants a private runtime directory; without one it warns on every start.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR=$demo/runtime
  mkdir -m 700 "$XDG_RUNTIME_DIR"
fi

section() {
  printf '\n== %s\n' "$*"
}

# ---------------------------------------------------------------- the media
section "Installation media from $sample/manifest.ini"
"$qmtool" system init --root "$machine" --platform "$platform" --drive "D=cdrom,$media" >/dev/null
"$qmtool" media build "$sample/manifest.ini" "$media"
# The manifest's setup program is a stand-in. The built one takes its place
# under the same name, as the setup reads its tables from its own name with the
# extension ini, and the media build named the tables file after it.
setup_name=$(sed -n 's/^[[:space:]]*setup[[:space:]]*=[[:space:]]*//p' "$sample/manifest.ini" | tr -d '\r')
setup_name=${setup_name##*/}
[ -f "$media/DISK01/$setup_name" ] || die "disk 1 has no setup program '$setup_name'"
setup_program=$media/DISK01/$setup_name
install -m 755 "$qmsetup" "$setup_program"

section "The machine"
"$qmtool" system info

# Windows paths of the machine, as the host sees them.
host_path() {
  "$qmtool" system path "$1"
}
windows_dir=$(sed -n 's/^windows=//p' "$machine/system.ini" | tr -d '\r')
drive_c=$(host_path 'C:\')
drive_c=${drive_c%/}

# What drive C: holds, one line per file: path, size, modification time.
snapshot() {
  (cd "$drive_c" && find . -type f -printf '%P\t%s\t%T@\n' | LC_ALL=C sort)
}

# The files of drive C: that are new or changed since before the setup, as a
# tree: each directory once, its files before its subdirectories.
print_new_files() {
  snapshot | LC_ALL=C comm -13 "$before_files" - |
    awk -F'\t' -v OFS='\t' '{ dir = $1; sub("/?[^/]*$", "", dir); name = substr($1, length(dir) + (dir != "") + 1); print dir, name, $2 }' |
    LC_ALL=C sort -t$'\t' -k1,1 -k2,2 |
    awk -F'\t' '
    {
      dir = "C:\\" $1
      gsub("/", "\\", dir)
      if (dir != shown) { printf "%s%s\n", dir, $1 == "" ? "" : "\\"; shown = dir }
      printf "    %-40s %10d\n", $2, $3
      files++; bytes += $3
    }
    END {
      if (files == 0) print "no files"
      else printf "%d file%s, %d bytes\n", files, files == 1 ? "" : "s", bytes
    }'
}

before_files=$demo/files.before
before_registry=$demo/registry.before
snapshot >"$before_files"
"$qmtool" reg export >"$before_registry"

# ---------------------------------------------------------------- the setup
if [ "$batch" -eq 0 ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  section "The setup: the wizard is on the display (D:\\DISK01\\$setup_name)"
  args=()
else
  section "The setup: batch run, every question takes its default answer (D:\\DISK01\\$setup_name /B)"
  args=(/B)
fi
status=0
"$setup_program" "${args[@]}" || status=$?
case $status in
  0) meaning="the run reached its final page: installed" ;;
  1) meaning="cancelled" ;;
  2) meaning="completed, but an error was reported on the way" ;;
  3) meaning="Setup cannot continue" ;;
  *) meaning="the setup did not end normally" ;;
esac
echo "Exit status $status: $meaning"

# ---------------------------------------------------------------- what it did
section "Files installed on C: (new or changed, in bytes)"
print_new_files

log_name=$(sed -n 's/^[[:space:]]*LogFilename[[:space:]]*=[[:space:]]*//p' "$sample/tree/setup/cv_setup.ini" | tr -d '\r')
log_file=$(host_path "$windows_dir\\${log_name:-Qmw.log}")
section "Install log ${windows_dir}\\${log_name:-Qmw.log}"
if [ -f "$log_file" ]; then
  tr -d '\r' <"$log_file"
else
  echo "no install log"
fi

# Keys, and keys whose values changed, as REGEDIT4 blocks.
section "Registry keys the install wrote"
"$qmtool" reg export | awk -v before="$before_registry" '
  BEGIN { RS = ""; while ((getline block < before) > 0) seen[block] = 1; RS = "" }
  NR > 1 && !(($0) in seen) { print $0 "\n"; written++ }
  END { if (!written) print "no registry keys" }'

section "Program items"
programs=$("$qmtool" reg export 'HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' |
  sed -n 's/^"Programs"="\(.*\)"$/\1/p' | sed 's/\\\\/\\/g')
links=()
if [ -n "$programs" ]; then
  programs_dir=$(host_path "$programs")
  [ -d "$programs_dir" ] && mapfile -t links < <(find "$programs_dir" -type f -iname '*.lnk' | LC_ALL=C sort)
fi
if [ "$platform" = nt351 ]; then
  # Program Manager keeps the items of Windows NT 3.x; the setup started it.
  "$qmtool" progman list
  pkill -TERM -f "progman serve --root $machine" 2>/dev/null || true
elif [ ${#links[@]} -eq 0 ]; then
  echo "no program items"
else
  show_links=0
  "$qmtool" lnk --help >/dev/null 2>&1 && show_links=1
  for link in "${links[@]}"; do
    echo "$programs\\$(realpath --relative-to="$programs_dir" "$link" | tr / '\\')"
    if [ $show_links -eq 1 ]; then
      "$qmtool" lnk show "$link" | sed 's/^/    /' || echo "    (qmtool lnk cannot show it)"
    fi
  done
fi

# ---------------------------------------------------------------- the removal
remove_status=
if [ "$remove" -eq 1 ]; then
  uninstall_key='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\UNINSTALL\Qmw2DKey'
  uninstall=$("$qmtool" reg export "$uninstall_key" 2>/dev/null |
    sed -n 's/^"UninstallString"="\(.*\)"$/\1/p' | sed 's/\\\\/\\/g')
  if [ -z "$uninstall" ]; then
    section "The removal"
    echo "The install registered no removal command under $uninstall_key"
    remove_status=4
  else
    section "The removal: the registered removal command ($uninstall ${args[*]})"
    remove_status=0
    QMSETUP_REMOVAL_WAIT_MS=0 "$qmtool" system run "$uninstall" "${args[@]}" || remove_status=$?
    case $remove_status in
      0) remove_meaning="removed" ;;
      1) remove_meaning="cancelled" ;;
      2) remove_meaning="removed, but an error was reported on the way" ;;
      3) remove_meaning="no removal could be started, or Setup cannot continue" ;;
      127) remove_meaning="the removal command could not be started" ;;
      *) remove_meaning="the removal did not end normally" ;;
    esac
    echo "Exit status $remove_status: $remove_meaning"
    if [ "$platform" = nt351 ]; then
      # The removal took the items away through Program Manager, which it started.
      pkill -TERM -f "progman serve --root $machine" 2>/dev/null || true
    fi

    section "What the removal left on C: of the install (in bytes)"
    print_new_files
    temp_dir=$(host_path "$(sed -n 's/^temp=//p' "$machine/system.ini" | tr -d '\r')")
    if [ -n "$(ls -A "$temp_dir" 2>/dev/null)" ]; then
      echo "The temporary directory holds: $(ls -A "$temp_dir" | tr '\n' ' ')"
    fi
    section "Registry keys the removal left"
    "$qmtool" reg export | awk -v before="$before_registry" '
      BEGIN { RS = ""; while ((getline block < before) > 0) seen[block] = 1; RS = "" }
      NR > 1 && !(($0) in seen) { print $0 "\n"; left++ }
      END { if (!left) print "no registry keys" }'
  fi
fi

section "Done"
echo "The machine is $machine (QMSETUP_SYSTEM=$machine), the media $media."
echo "Setup exit status $status: $meaning"
if [ -n "$remove_status" ]; then
  echo "Removal exit status $remove_status"
  if [ "$status" -eq 0 ] && [ "$remove_status" -ne 0 ]; then status=$remove_status; fi
fi
exit "$status"
