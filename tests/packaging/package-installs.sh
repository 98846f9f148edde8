#!/usr/bin/env bash
# Builds the Debian package from the build folder, unpacks it into a
# temporary root (dpkg -x, no installation on this machine) and runs what it
# installed: orvanta-scan --version and info on the sample project, the
# manual pages and the bash completion.
set -euo pipefail
build_dir=$1
examples_dir=$2
version=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build_dir" && cpack -G DEB -B "$work/out" >"$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/*.deb)
[ "$(dpkg-deb -f "$deb" Package)" = orvanta-scanner ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
dpkg-deb -f "$deb" Depends | grep -q libc6 || fail "no library dependencies were read from the programs"

dpkg -x "$deb" "$work/root"
root=$work/root
for f in usr/bin/orvanta-scan \
         usr/share/man/man1/orvanta-scan.1.gz \
         usr/share/bash-completion/completions/orvanta-scan; do
  [ -e "$root/$f" ] || fail "$f is not in the package"
done
if [ -e "$build_dir/src/app/orvanta-scanner" ]; then
  for f in usr/bin/orvanta-scanner \
           usr/share/man/man1/orvanta-scanner.1.gz \
           usr/share/applications/orvanta-scanner.desktop \
           usr/share/mime/packages/orvanta-project.xml \
           usr/share/icons/hicolor/scalable/apps/orvanta-scanner.svg; do
    [ -e "$root/$f" ] || fail "$f is not in the package"
  done
fi

scan=$root/usr/bin/orvanta-scan
[ "$("$scan" --version)" = "orvanta-scan $version" ] || fail "--version says: $("$scan" --version)"

cp -r "$examples_dir/lighthouse" "$work/project"
"$scan" info "$work/project/lighthouse.orv" >"$work/info.txt" || fail "info exited $?"
grep -q '^Scenes Count: ' "$work/info.txt" || fail "info printed: $(cat "$work/info.txt")"
diff <("$build_dir/src/cli/orvanta-scan" info "$work/project/lighthouse.orv") "$work/info.txt" ||
  fail "the installed program's info differs from the built one's"

# The manual page names every command the program offers.
commands=$("$scan" --help | awk '/^Subcommands:/ {on=1; next} on && /^  [a-z]/ {print $1}')
[ "$(echo "$commands" | wc -w)" -ge 6 ] || fail "--help lists these commands: $commands"
for command in $commands; do
  zcat "$root/usr/share/man/man1/orvanta-scan.1.gz" | grep -q "^\.B orvanta-scan $command" ||
    fail "the manual page does not describe '$command'"
done

# Bash completion offers the commands, then the options of a command.
if [ -r /usr/share/bash-completion/bash_completion ]; then
  complete_line() {
    bash -c 'source /usr/share/bash-completion/bash_completion
             source "$1"; shift
             COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
             _orvanta_scan; printf "%s\n" "${COMPREPLY[@]}"' _ \
      "$root/usr/share/bash-completion/completions/orvanta-scan" "$@"
  }
  [ "$(complete_line orvanta-scan tr)" = track-flag ] || fail "completion of 'tr'"
  complete_line orvanta-scan files x.orv --fa | grep -qx -- --fail-on-missing || fail "completion of --fa"
  [ "$(complete_line orvanta-scan track-flag x.orv a)" = all ] || fail "completion of 'all'"
  [ "$(complete_line orvanta-scan check x.orv --format s)" = sarif ] || fail "completion of sarif"
  [ "$(complete_line orvanta-scan check x.orv --fail-on missing,dead)" = missing,dead-ends ] ||
    fail "completion of a --fail-on list"
fi
echo "package ok: $(basename "$deb")"
