#!/usr/bin/env bash
# Fails when a source of the portable core includes anything but the C++
# standard library or the project's own headers.
set -euo pipefail
src=$1
status=0
allowed='^(algorithm|any|array|atomic|bit|bitset|cassert|cctype|cerrno|cfenv|charconv|chrono|cinttypes|climits|cmath|compare|concepts|cstddef|cstdint|cstdio|cstdlib|cstring|ctime|deque|exception|functional|initializer_list|iomanip|iterator|limits|list|map|memory|numeric|optional|ostream|queue|random|ranges|set|span|sstream|stdexcept|string|string_view|tuple|type_traits|typeindex|typeinfo|unordered_map|unordered_set|utility|variant|vector)$'
for dir in runtime app settings sensing display alarms schedule tools platform; do
  [ -d "$src/$dir" ] || continue
  while IFS= read -r file; do
    case "$file" in "$src/platform/linux/"*|"$src/platform/win32/"*) continue ;; esac
    while IFS= read -r line; do
      header=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]+)[>"].*/\1\2/' <<<"$line")
      kind=${header:0:1}
      name=${header:1}
      if [ "$kind" = '"' ]; then
        [ -f "$src/$name" ] || { echo "$file: project header not found: $name"; status=1; }
      elif ! grep -Eq "$allowed" <<<"$name"; then
        echo "$file: not a standard header: <$name>"
        status=1
      fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include' "$file")
  done < <(find "$src/$dir" -name '*.h' -o -name '*.cpp')
done
exit $status
