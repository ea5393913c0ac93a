#!/usr/bin/env bash
# The README's style rules, checked: every C++ file as clang-format lays it out, and clang-tidy
# quiet on the C++ files changed since BASE (the previous commit unless TOV_STYLE_BASE says
# otherwise). Needs a configured build folder for the compile commands.
#
#   tools/check-style.sh [BUILD]      BUILD defaults to build
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "check-style: every C++ file formatted"

base=${TOV_STYLE_BASE:-HEAD~1}
git rev-parse --verify -q "$base" >/dev/null || base=$(git rev-list --max-parents=0 HEAD)
mapfile -t changed < <(git diff --name-only --diff-filter=AM "$base" -- '*.cpp' |
  grep -E '^(src|tools|bench)/' || true)
if [ ${#changed[@]} -eq 0 ]; then
  echo "check-style: no changed source files for clang-tidy"
  exit 0
fi

# The build's compile commands without GCC's precompiled headers, which clang cannot read.
db=$(mktemp -d)
trap 'rm -rf "$db"' EXIT
python3 - "$build/compile_commands.json" "$db/compile_commands.json" <<'EOF'
import json, re, sys
entries = json.load(open(sys.argv[1]))
for e in entries:
    e["command"] = re.sub(r"-include \S*cmake_pch\.hxx|-Winvalid-pch", "", e["command"])
json.dump(entries, open(sys.argv[2], "w"))
EOF
status=0
for f in "${changed[@]}"; do
  grep -q "\"file\": \"[^\"]*/$f\"" "$db/compile_commands.json" || continue
  out=$(clang-tidy -p "$db" --quiet "$f" 2>/dev/null | grep -E '^/.*(warning|error):' || true)
  if [ -n "$out" ]; then
    echo "$f:"; echo "$out"
    status=1
  fi
done
[ $status -eq 0 ] && echo "check-style: clang-tidy quiet on ${#changed[@]} changed file(s)"
exit $status
