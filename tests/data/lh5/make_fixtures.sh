#!/usr/bin/env bash
# Remakes the -lh5- fixtures of this directory with an independent compressor:
# jlha (Debian package jlha-utils, which needs a Java runtime). For every file of
# a generated corpus it creates an LZH archive with `jlha c`, takes the raw
# -lh5- stream from behind the archive's header and writes NAME.lh5 (the stream)
# and NAME.orig (the original bytes). Files that jlha stores as -lh0- (tiny or
# incompressible ones) yield no stream and are left out. When lhasa is
# installed, every archive is also checked to decode to its original with it.
#
#   apt-get install jlha-utils default-jre-headless lhasa
#   tests/data/lh5/make_fixtures.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

command -v jlha >/dev/null || { echo "make_fixtures: jlha is not installed (apt-get install jlha-utils default-jre-headless)" >&2; exit 1; }
command -v python3 >/dev/null || { echo "make_fixtures: python3 is needed" >&2; exit 1; }

mkdir "$work/corpus"
python3 "$here/make_corpus.py" "$work/corpus"

rm -f "$here"/*.lh5 "$here"/*.orig
level=0
cd "$work/corpus"
for name in *; do
  # Every header level jlha writes takes a turn, so the extraction sees all three.
  archive="$work/$name.lzh"
  jlha "c$level" "$archive" "$name" >/dev/null
  level=$(( (level + 1) % 3 ))
  if command -v lhasa >/dev/null; then
    lhasa pq "$archive" > "$work/check" 2>/dev/null || true
    cmp -s "$work/check" "$name" || { echo "make_fixtures: lhasa does not restore $name from jlha's archive" >&2; exit 1; }
  fi
  status=0
  python3 "$here/lzh_raw_stream.py" "$archive" "$here/$name.lh5" || status=$?
  case $status in
    0) cp "$name" "$here/$name.orig" ;;
    3) echo "make_fixtures: jlha stored $name, no stream" ;;
    *) exit 1 ;;
  esac
done
echo "make_fixtures: $(ls "$here"/*.lh5 | wc -l) streams, $(du -cb "$here"/*.lh5 "$here"/*.orig | tail -1 | cut -f1) bytes"
