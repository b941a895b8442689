#!/usr/bin/env bash
# Makes the program files of the sample product tree with the MinGW-w64 cross
# binutils (Debian: binutils-mingw-w64-i686), the way tests/data/pe/make_fixtures.sh
# makes its fixtures: PE32 files without a C runtime, one entry point that
# returns 1, and the version resource of one .rc file in binaries/. The outputs
# are committed; run this only to remake them.
#
#   tree/program/QMW.EXE      the label designer,     FILEVERSION 2,0,0,14
#   tree/program/QMWCORE.DLL  its drawing core,       FILEVERSION 2,0,0,14
#   tree/program/QMWPRINT.DLL its label printing,     FILEVERSION 2,0,1,2
#   tree/main/UNSETUP.EXE     the removal program,    FILEVERSION 2,0,0,3
#   tree/ntdlls/QMWNT.DLL     Windows NT support,     FILEVERSION 2,0,0,14
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# cat as the preprocessor: the .rc files use no #include or #define.
i686-w64-mingw32-as -o "$work/entry.o" "$here/binaries/entry32.s"

link() {  # KIND(exe|dll) RESOURCE OUTPUT
  local kind=$1 res=$2 out=$here/tree/$3
  i686-w64-mingw32-windres --preprocessor=cat -O coff -i "$here/binaries/$res.rc" -o "$work/$res.o"
  local flags=(--no-insert-timestamp -nostdlib --entry=_start -s --subsystem windows)
  [ "$kind" = dll ] && flags+=(-shared)
  mkdir -p "$(dirname "$out")"
  i686-w64-mingw32-ld "${flags[@]}" -o "$out" "$work/entry.o" "$work/$res.o"
}

link exe qmw      program/QMW.EXE
link dll qmwcore  program/QMWCORE.DLL
link dll qmwprint program/QMWPRINT.DLL
link exe unsetup  main/UNSETUP.EXE
link dll qmwnt    ntdlls/QMWNT.DLL
ls -l "$here"/tree/*/*.EXE "$here"/tree/*/*.DLL
