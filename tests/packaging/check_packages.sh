#!/usr/bin/env bash
# Builds the .deb and the portable .tar.gz of a build tree and inspects them
# without installing: the file list and modes, the control fields, the desktop
# entry, icon and metainfo, and the maintainer scripts, run in a scratch root
# under fakeroot the way dpkg runs them.
#   check_packages.sh <cpack> <build folder> <project version>
set -uo pipefail

cpack=$1
build=$2
project_version=$3

app_dir=/opt/kamvist
app_id=org.kamvist.kamvist

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

for tool in dpkg-deb dpkg-shlibdeps fakeroot file desktop-file-validate appstreamcli sqlite3; do
  command -v "$tool" >/dev/null || { echo "missing $tool: tools/kamvist.sh test installs it" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

version=$(sed -n 's/^KAMVIST_PACKAGE_VERSION:STRING=//p' "$build/CMakeCache.txt")
version=${version:-$project_version}

if ! "$cpack" --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack" >&2
  exit 1
fi
shopt -s nullglob
debs=("$work"/out/*.deb)
tarballs=("$work"/out/*.tar.gz)
shopt -u nullglob
if [ ${#debs[@]} -ne 1 ] || [ ${#tarballs[@]} -ne 1 ]; then
  ls -l "$work/out" >&2
  echo "FAIL: expected one .deb and one .tar.gz" >&2
  exit 1
fi
deb=${debs[0]}
tarball=${tarballs[0]}

# --- the .deb: files and modes -------------------------------------------------

dpkg-deb -c "$deb" | awk '{ print $1, $2, $6, $8 }' >"$work/deb.list"

while read -r mode path; do
  [ -n "$mode" ] || continue
  grep -q "^$mode root/root $path\( \|$\)" "$work/deb.list" || fail "deb lacks $mode $path"
done <<TABLE
-rwxr-xr-x ./opt/kamvist/Kamvist
-rwxr-xr-x ./opt/kamvist/libexec/kamvist-make-catalogue
lrwxrwxrwx ./usr/bin/kamvist
-rw-r--r-- ./usr/share/applications/$app_id.desktop
-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/$app_id.svg
-rw-r--r-- ./usr/share/metainfo/$app_id.metainfo.xml
-rw-r--r-- ./usr/share/doc/kamvist/README.Debian
TABLE

# Write access for the operators comes from postinst alone.
awk '$2 != "root/root" || ($1 !~ /^l/ && $1 !~ /^[-d]rw[x-]r-[x-]r-[x-]$/)' "$work/deb.list" >"$work/odd"
[ -s "$work/odd" ] && fail "deb entries not owned by root or writable by others: $(cat "$work/odd")"

# State is never a package file, or an upgrade would replace it.
grep -E '(\.db|\.ini|\.mpg|\.bmp)( |$)|/dat/|/zpjpg' "$work/deb.list" >"$work/state"
[ -s "$work/state" ] && fail "deb carries state: $(cat "$work/state")"

# --- the .deb: control fields --------------------------------------------------

[ "$(dpkg-deb -f "$deb" Package)" = kamvist ] || fail "package name $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version), expected $version"
depends=$(dpkg-deb -f "$deb" Depends)
# Found by dpkg-shlibdeps, then the ones loaded at run time.
for needed in 'libc6' 'libqt6widgets6' 'libqt6sql6' 'libavcodec[0-9]+' 'libavdevice[0-9]+' 'libswscale[0-9]+' \
              'libqt6sql6-sqlite' 'qt6-qpa-plugins' 'fonts-wqy-zenhei' 'xdg-utils'; do
  echo "$depends" | grep -Eq "(^|, )$needed( |,|$)" || fail "Depends lacks $needed: $depends"
done
dpkg-deb -f "$deb" Description | grep -qi 'purging' || fail "the description does not say what removing or purging leaves"

# --- desktop entry, icon, metainfo ---------------------------------------------

root=$work/root
dpkg-deb -x "$deb" "$root"
desktop=$root/usr/share/applications/$app_id.desktop
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml

desktop-file-validate "$desktop" >"$work/v" 2>&1 || fail "desktop-file-validate: $(cat "$work/v")"
appstreamcli validate --no-net "$metainfo" >"$work/v" 2>&1 || fail "appstreamcli validate: $(cat "$work/v")"

key() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
[ "$(key Name)" = Kamvist ] || fail "desktop Name is '$(key Name)'"
for localized in 'Name\[zh_CN\]' 'Comment\[zh_CN\]'; do
  [ -n "$(key "$localized")" ] || fail "desktop entry lacks $localized"
done
for category in AudioVideo Video Recorder; do
  key Categories | tr ';' '\n' | grep -qx "$category" || fail "desktop Categories lack $category"
done
exec_program=$(key Exec | cut -d' ' -f1)
[ -x "$root$exec_program" ] && [ "$(realpath "$root$exec_program")" = "$root$app_dir/Kamvist" ] \
  || fail "desktop Exec $exec_program does not start $app_dir/Kamvist"
icon=$root/usr/share/icons/hicolor/scalable/apps/$(key Icon).svg
file -b "$icon" | grep -q SVG || fail "desktop Icon $(key Icon) has no SVG in the hicolor theme"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
  || fail "metainfo does not launch $app_id.desktop"

# --- maintainer scripts --------------------------------------------------------

dpkg-deb -e "$deb" "$work/control"
for script in postinst postrm; do
  [ "$(stat -c %a "$work/control/$script" 2>/dev/null)" = 755 ] || fail "$script missing or not mode 755"
done

# Run as dpkg runs them: DPKG_ROOT points into the scratch root, fakeroot lets
# chgrp and dpkg-statoverride act as root would.
admin=$root/var/lib/dpkg
mkdir -p "$admin"
: >"$admin/statoverride"
: >"$work/fakeroot.state"
as_dpkg() {
  fakeroot -i "$work/fakeroot.state" -s "$work/fakeroot.state" \
    env DPKG_ROOT="$root" DPKG_ADMINDIR="$admin" "$@"
}
in_root() { as_dpkg sh -c "cd '$root$app_dir' && $1"; }
# Everything an operator keeps in the program's folder, with group, mode and contents.
state() {
  in_root "find . -path ./libexec -prune -o ! -name Kamvist -printf '%y %g %m %p\n' | sort
           find . -path ./libexec -prune -o -type f ! -name Kamvist -exec sha256sum {} + | sort"
}

as_dpkg "$work/control/postinst" configure "" >"$work/log" 2>&1 || fail "postinst configure: $(cat "$work/log")"

while read -r kind mode path; do
  [ -n "$kind" ] || continue
  actual=$(in_root "find '$path' -maxdepth 0 -printf '%y %g %m'" 2>/dev/null)
  [ "$actual" = "$kind video $mode" ] || fail "after install $path is '$actual', expected '$kind video $mode'"
done <<TABLE
d 2775 .
d 2775 dat
d 2775 zpjpg
f 664 dat/dzxcb.db
f 664 Kamvist.ini
TABLE
grep -qx "root video 2775 $app_dir" "$admin/statoverride" || fail "no stat override for $app_dir: $(cat "$admin/statoverride")"
[ "$(sqlite3 "$root$app_dir/dat/dzxcb.db" 'select count(*) from avib')" = 0 ] || fail "the new catalogue has no empty table avib"

# An operator's work: settings, a catalogue row, a recording, a snapshot.
printf '[Judge]\nstrstsl=3\n' >"$root$app_dir/Kamvist.ini"
sqlite3 "$root$app_dir/dat/dzxcb.db" \
  "insert into avib (sj, drq, wjmc, strpath, wjid) values ('2024-05-01 08:00:00', '2024-05-01 00:00:00', '20240501080000_1.mpg', '$app_dir/', 1)"
echo recording >"$root$app_dir/20240501080000_1.mpg"
echo snapshot >"$root$app_dir/zpjpg/20240501080500.bmp"
state >"$work/state.before"

# An upgrade, a removal and purges keep every bit of it.
while read -r script argument; do
  [ -n "$script" ] || continue
  as_dpkg "$work/control/$script" "$argument" 0.1 >"$work/log" 2>&1 || fail "$script $argument: $(cat "$work/log")"
  state >"$work/state.after"
  cmp -s "$work/state.before" "$work/state.after" \
    || fail "$script $argument changed the operators' files: $(diff "$work/state.before" "$work/state.after")"
done <<TABLE
postrm upgrade
postinst configure
postrm remove
postrm purge
postrm purge
TABLE
grep -q "$app_dir" "$admin/statoverride" && fail "purge left the stat override"

# Purge takes the machine-wide start-at-logon entry only when it starts this installation.
while read -r exec_line expected; do
  [ -n "$exec_line" ] || continue
  mkdir -p "$root/etc/xdg/autostart"
  printf '[Desktop Entry]\nType=Application\nName=Kamvist\n%s\n' "$exec_line" >"$root/etc/xdg/autostart/Kamvist.desktop"
  as_dpkg "$work/control/postrm" purge >"$work/log" 2>&1 || fail "postrm purge: $(cat "$work/log")"
  if [ -e "$root/etc/xdg/autostart/Kamvist.desktop" ]; then actual=kept; else actual=removed; fi
  [ "$actual" = "$expected" ] || fail "purge with autostart '$exec_line': $actual, expected $expected"
done <<TABLE
Exec=$app_dir/Kamvist removed
Exec=/home/operator/kamvist/Kamvist kept
TABLE

# --- the portable folder -------------------------------------------------------

tar -tzvf "$tarball" | awk '{ print $1, $6 }' >"$work/tar.list"
top=$(head -n 1 "$work/tar.list" | cut -d' ' -f2 | cut -d/ -f1)
while read -r mode path; do
  [ -n "$mode" ] || continue
  grep -qx -- "$mode $top/$path" "$work/tar.list" || fail "tarball lacks $mode $top/$path"
done <<TABLE
-rwxr-xr-x Kamvist
-rw-r--r-- dat/dzxcb.db
drwxr-xr-x zpjpg/
TABLE
grep -E "\.ini$|/usr/|/opt/" "$work/tar.list" >"$work/odd" && fail "tarball carries $(cat "$work/odd")"
mkdir "$work/portable"
tar -xzf "$tarball" -C "$work/portable"
[ "$(sqlite3 "$work/portable/$top/dat/dzxcb.db" 'select count(*) from avib')" = 0 ] \
  || fail "the portable catalogue has no empty table avib"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "packages $(basename "$deb") and $(basename "$tarball") pass"
