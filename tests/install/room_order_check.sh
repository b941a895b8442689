#!/usr/bin/env bash
# install/ is built in rooms that stand on each other; a room may include its
# own headers and those of the rooms below it, never one above. The copy loop
# sits on top. Also: every module lives in exactly one room, and nothing lies
# loose in install/ itself. Prints each offence and exits 1 when there is one.
set -euo pipefail
root=${1:?usage: room_order_check.sh SOURCE_DIR}
cd "$root/install"

rooms=(errors log codec archive tables copy)
rank() { local i; for i in "${!rooms[@]}"; do [ "${rooms[$i]}" = "$1" ] && { echo "$i"; return; }; done; echo -1; }

status=0
for file in $(find . -mindepth 1 -type f \( -name '*.h' -o -name '*.cpp' \) | sort); do
  room=$(echo "$file" | cut -d/ -f2)
  if [ "$(echo "$file" | tr -cd / | wc -c)" -ne 2 ] || [ "$(rank "$room")" -lt 0 ]; then
    echo "install/${file#./} is not in a room"; status=1; continue
  fi
  while read -r included; do
    [ -n "$included" ] || continue
    if [ "$(rank "$included")" -gt "$(rank "$room")" ]; then
      echo "install/${file#./} ($room) includes install/$included/"; status=1
    fi
  done < <(grep -o '^#include "install/[a-z]*/' "$file" | cut -d/ -f2 | sort -u)
done

duplicates=$(find . -mindepth 2 -type f \( -name '*.h' -o -name '*.cpp' \) -printf '%f\n' | sed 's/\.[a-z]*$//' |
  sort | uniq -c | awk '{print $2}' | while read -r module; do
    find . -mindepth 2 -name "$module.*" -printf '%h\n' | sort -u | wc -l | grep -qx 1 || echo "$module"
  done)
for module in $duplicates; do echo "module $module is in more than one room"; status=1; done
exit $status
