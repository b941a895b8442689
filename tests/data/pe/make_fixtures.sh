#!/usr/bin/env bash
# Builds the PE fixtures of the version-resource tests with the MinGW-w64 cross
# binutils (Debian: binutils-mingw-w64-i686 binutils-mingw-w64-x86-64), an
# independent producer of PE files. The outputs are committed; run this only to
# remake them. They are tiny: no C runtime, one entry point that returns 1, and
# the resources of one .rc file.
#
#   ver1234_pe32.dll  PE32 DLL,  FILEVERSION 1,2,3,4
#   ver2001_pe32.exe  PE32 EXE,  FILEVERSION 2,0,0,1
#   ver1999_pe64.dll  PE32+ DLL, FILEVERSION 1,9,9,9
#   ver1234_pe64.exe  PE32+ EXE, FILEVERSION 1,2,3,4
#   mixed_pe64.exe    PE32+ EXE, FILEVERSION 3,10,65535,0 under a named entry in
#                     German, between RCDATA, STRINGTABLE and manifest resources
#   noversion_pe32.exe PE32 EXE without any resources
#   noversion_pe64.dll PE32+ DLL with resources but no version resource
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# cat as the preprocessor: the .rc files use no #include or #define, and this
# keeps a cross C compiler out of the requirements.
resources() {  # ARCH NAME
  "$1-w64-mingw32-windres" --preprocessor=cat -O coff -i "$here/$2.rc" -o "$work/$1-$2.o"
}

link() {  # ARCH KIND(exe|dll) OUTPUT [RESOURCE]
  local arch=$1 kind=$2 out=$3 res=${4:-}
  local bits=32; [ "$arch" = x86_64 ] && bits=64
  "$arch-w64-mingw32-as" -o "$work/$arch-entry.o" "$here/entry$bits.s"
  local objs=("$work/$arch-entry.o")
  if [ -n "$res" ]; then
    resources "$arch" "$res"
    objs+=("$work/$arch-$res.o")
  fi
  local flags=(--no-insert-timestamp -nostdlib --entry=_start -s --subsystem windows)
  [ "$kind" = dll ] && flags+=(-shared)
  "$arch-w64-mingw32-ld" "${flags[@]}" -o "$here/$out" "${objs[@]}"
}

link i686   dll ver1234_pe32.dll   ver1234
link i686   exe ver2001_pe32.exe   ver2001
link x86_64 dll ver1999_pe64.dll   ver1999
link x86_64 exe ver1234_pe64.exe   ver1234
link x86_64 exe mixed_pe64.exe     mixed
link i686   exe noversion_pe32.exe
link x86_64 dll noversion_pe64.dll noversion
ls -l "$here"/*.exe "$here"/*.dll
