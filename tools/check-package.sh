#!/usr/bin/env bash
# Checks the Debian package as an agency machine would take it: builds it from the build folder,
# lints and validates it, installs it with apt, starts the installed program under Xvfb as an
# unprivileged user with an empty home folder, and removes it again. Root only (it installs).
#
#   tools/check-package.sh [BUILD]      BUILD defaults to build
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
fail() { echo "check-package: FAIL: $*" >&2; exit 1; }
note() { echo "check-package: $*"; }
[ "$(id -u)" -eq 0 ] || fail "run as root: the package is installed and removed"

cmake --build "$build" --target package
deb=$(ls "$build"/tov2sf_*_amd64.deb)
lintian --fail-on error "$deb"
desktop-file-validate packaging/org.tov2sf.Tov2sf.desktop
appstreamcli validate --no-net "$build"/packaging/org.tov2sf.Tov2sf.metainfo.xml
note "lintian and validators passed"

apt-get install -y --no-install-recommends "./$deb" >/dev/null
trap 'apt-get remove -y tov2sf >/dev/null 2>&1 || true' EXIT
version=$(dpkg-query -W -f '${Version}' tov2sf)
[ "$(tov2sf --version)" = "tov2sf $version" ] || fail "tov2sf --version: $(tov2sf --version)"
[ "$(tov2sf-report --version)" = "tov2sf-report $version" ] ||
  fail "tov2sf-report --version: $(tov2sf-report --version)"
[ -s /usr/share/man/man1/tov2sf-report.1.gz ] || fail "no manual page for tov2sf-report"
note "installed $version; --version and manual pages there"

# The agency's own content set: a copy of the shipped one with a text of its own, checked and
# installed with tov2sf-content; it stays in force when the package is reinstalled, tov2sf-report
# scores with it, and a changed file stops the scoring.
agency_set=$(mktemp -d)
cp -r /usr/lib/tov2sf/content/. "$agency_set"
rm "$agency_set/content.json"
printf 'Checked by the package check.\r\n' >>"$agency_set/INVAL.TXT"
tov2sf-content check "$agency_set" >/dev/null || fail "tov2sf-content check refused the set"
tov2sf-content install "$agency_set" --name "CI County Set" --version 7 >/dev/null ||
  fail "tov2sf-content install failed"
apt-get install -y --reinstall --no-install-recommends "./$deb" >/dev/null
tov2sf-content status | grep -qx "name: CI County Set" || fail "the agency set is not in force after a reinstall"
json=$(tov2sf-report --data-file "$build/DemoVolume/DATA401.TOV" --client 1 --json 2>/dev/null) ||
  fail "tov2sf-report with the agency set"
grep -q '"name": "CI County Set"' <<<"$json" && grep -q '"demonstration": false' <<<"$json" ||
  fail "tov2sf-report does not name the agency set: $json"
printf 'changed\r\n' >>/var/lib/tov2sf/content/agency/TOVCAL.TXT
if tov2sf-report --data-file "$build/DemoVolume/DATA401.TOV" --client 1 --json >/dev/null 2>"$agency_set.err" ||
  ! grep -q "TOVCAL.TXT has changed" "$agency_set.err"; then
  fail "a changed file of the agency set did not stop the scoring"
fi
tov2sf-content remove >/dev/null || fail "tov2sf-content remove failed"
tov2sf-report --data-file "$build/DemoVolume/DATA401.TOV" --client 1 --json 2>"$agency_set.err" |
  grep -q '"demonstration": true' || fail "the shipped set is not back in force"
grep -q "demonstration content - scores are not valid" "$agency_set.err" ||
  fail "tov2sf-report does not warn of demonstration content"
rm -rf "$agency_set" "$agency_set.err" /var/lib/tov2sf
note "an agency content set installed, kept over a reinstall, used, refused when changed, removed"

# An agency user's first start: a home folder of their own, nothing in it yet.
home=$(mktemp -d)
chown nobody "$home"
stamp=$(mktemp)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -ac >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; pkill -u nobody -x tov2sf || true;
      apt-get remove -y tov2sf >/dev/null 2>&1 || true; rm -rf "$home" "$home.log" "$stamp"' EXIT
sleep 1
runuser -u nobody -- env -i HOME="$home" DISPLAY="$display" PATH=/usr/bin:/bin \
  tov2sf >"$home.log" 2>&1 &
window=""
for _ in $(seq 1 100); do
  window=$(DISPLAY=$display xdotool search --onlyvisible --name '^(Select Drive|Tovaline II - Short Form)$' \
    2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { cat "$home.log" >&2; fail "no window from the installed program"; }
note "window: $(DISPLAY=$display xdotool getwindowname "$window")"
folder=$home/.local/share/tov2sf
[ -d "$folder" ] || fail "no per-user program folder $folder"
[ "$(stat -c %a "$folder")" = 700 ] || fail "per-user folder mode $(stat -c %a "$folder")"
[ "$(stat -c %a "$folder/tov2sf.ini")" = 600 ] || fail "per-user settings not owner-only"
[ "$(stat -c %U "$folder/tov2sf.ini")" = nobody ] || fail "per-user settings not the user's"
# No access code is given with an installed program: the agency sets its own at the first start.
grep -qx "AccessCodeRequired=True" "$folder/tov2sf.ini" ||
  fail "the installed settings do not require the agency's own access code"
pkill -u nobody -x tov2sf || true
written=$(find /usr -xdev -newer "$stamp" \( -type f -o -type l \) 2>/dev/null | head -5)
[ -z "$written" ] || fail "the program wrote under /usr: $written"
note "per-user folder made owner-only; nothing written under /usr"

apt-get remove -y tov2sf >/dev/null
[ ! -e /usr/lib/tov2sf ] || fail "/usr/lib/tov2sf left after removal"
[ ! -e /usr/bin/tov2sf ] || fail "/usr/bin/tov2sf left after removal"
note "removed; all checks passed"
