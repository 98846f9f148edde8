#!/usr/bin/env bash
# Builds the Debian packages from the build folder and checks them as a user
# and Debian would: which files each holds, what each depends on, the
# copyright file and changelog, stripped and hardened binaries, and lintian
# (when installed) with no error or warning. Then it unpacks both into a
# temporary root (dpkg -x, no installation on this machine) and runs what
# they installed: orvanta-scan on the sample project, the manual page, the
# bash completion and the problem matcher.
#
#   package-installs.sh BUILD_DIR EXAMPLES_DIR VERSION SOURCE_DIR HARDENED
#
# HARDENED (ON or OFF) is ORVANTA_HARDENED of the build: a sanitizer build
# has no hardening flags and links the sanitizer runtimes, so the hardening
# checks and lintian are left out there.
set -euo pipefail
build_dir=$1
examples_dir=$2
version=$3
source_dir=$4
hardened=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

desktop=false
[ -e "$build_dir/src/app/orvanta-scanner" ] && desktop=true

(cd "$build_dir" && cpack -G DEB -B "$work/out" >"$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack"; }
arch=$(dpkg --print-architecture)
cli_deb=$work/out/orvanta-scan_${version}_$arch.deb
desktop_deb=$work/out/orvanta-scanner_${version}_$arch.deb
debs=("$cli_deb")
$desktop && debs+=("$desktop_deb")
[ "$(cd "$work/out" && ls -- *.deb | sort)" = "$(for d in "${debs[@]}"; do basename "$d"; done | sort)" ] ||
  fail "cpack wrote $(ls "$work/out"/*.deb), expected ${debs[*]}"

# Which files each package holds, exactly: nothing of the desktop in the
# command line's package and the other way round.
files_of() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ {print $6}' | sort; }
expected_cli="./usr/bin/orvanta-scan
./usr/share/bash-completion/completions/orvanta-scan
./usr/share/doc/orvanta-scan/changelog.gz
./usr/share/doc/orvanta-scan/copyright
./usr/share/man/man1/orvanta-scan.1.gz
./usr/share/orvanta-scan/orvanta-problem-matcher.json
./usr/share/orvanta-scan/orvanta-scan.schema.json"
expected_desktop="./usr/bin/orvanta-scanner
./usr/share/applications/orvanta-scanner.desktop
./usr/share/doc/orvanta-scanner/changelog.gz
./usr/share/doc/orvanta-scanner/copyright
./usr/share/icons/hicolor/scalable/apps/orvanta-scanner.svg
./usr/share/man/man1/orvanta-scanner.1.gz
./usr/share/mime/packages/orvanta-project.xml"
diff <(echo "$expected_cli") <(files_of "$cli_deb") || fail "orvanta-scan holds other files than these"
if $desktop; then
  diff <(echo "$expected_desktop") <(files_of "$desktop_deb") || fail "orvanta-scanner holds other files than these"
fi

# Control fields. Depends are read from each package's own binary: the
# command line's names the C and C++ libraries and Graphviz's (the puzzle
# chart's SVG; libcdt5 only where the Debug build links it) alone, and
# the sanitizer runtimes in a sanitizer build; never Qt or GLib.
field() { dpkg-deb -f "$1" "$2"; }
depends_names() { field "$1" Depends | tr ',' '\n' | sed 's/^ *//; s/[ (].*//' | sed '/^$/d' | sort -u; }
for deb in "${debs[@]}"; do
  [ "$(field "$deb" Version)" = "$version" ] || fail "$(basename "$deb"): version $(field "$deb" Version)"
  [ "$(field "$deb" Source)" = orvanta-scanner ] || fail "$(basename "$deb"): source $(field "$deb" Source)"
done
[ "$(field "$cli_deb" Package)" = orvanta-scan ] || fail "package name $(field "$cli_deb" Package)"
cli_depends=$(depends_names "$cli_deb")
allowed='libc6|libstdc\+\+6|libgcc-s1|libgvc6|libcgraph6|libcdt5'
[ "$hardened" = ON ] || allowed+='|libasan[0-9]+|libubsan[0-9]+'
grep -qx libc6 <<<"$cli_depends" || fail "orvanta-scan: no library dependencies were read from the program"
grep -qx 'libstdc++6' <<<"$cli_depends" || fail "orvanta-scan does not depend on the C++ library"
unexpected=$(grep -Evx "$allowed" <<<"$cli_depends" || true)
[ -z "$unexpected" ] || fail "orvanta-scan depends on more than the C and C++ libraries and Graphviz: $unexpected"
! grep -Eiq 'qt|glib' <<<"$cli_depends" || fail "orvanta-scan depends on Qt or GLib"
if $desktop; then
  [ "$(field "$desktop_deb" Package)" = orvanta-scanner ] || fail "package name $(field "$desktop_deb" Package)"
  desktop_depends=$(depends_names "$desktop_deb")
  grep -q '^libqt6widgets6' <<<"$desktop_depends" || fail "orvanta-scanner does not depend on Qt Widgets"
  ! grep -qx orvanta-scan <<<"$desktop_depends" || fail "orvanta-scanner depends on orvanta-scan, which it never runs"
fi
# A description lintian reads well: a synopsis under 80 columns, extended
# lines under 80.
for deb in "${debs[@]}"; do
  field "$deb" Description | awk -v d="$(basename "$deb")" 'length > 79 {print "FAIL: " d ": description line too long: " $0; bad=1}
                                                           END {exit bad}' >&2 || exit 1
done

dpkg -x "$cli_deb" "$work/root"
$desktop && dpkg -x "$desktop_deb" "$work/root"
root=$work/root

# The changelog is gzip -9n (no name, no time stamp) and its latest entry is
# this version; the copyright file is DEP-5.
for package in orvanta-scan $($desktop && echo orvanta-scanner); do
  doc=$root/usr/share/doc/$package
  grep -q 'max compression' <<<"$(file "$doc/changelog.gz")" || fail "$package: changelog.gz is not gzip -9"
  ! grep -Eq 'was "|last modified' <<<"$(file "$doc/changelog.gz")" || fail "$package: changelog.gz holds a name or a time"
  zcat "$doc/changelog.gz" >"$work/changelog"
  [ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version" ] ||
    fail "$package: the changelog's latest entry is $(dpkg-parsechangelog -l "$work/changelog" -S Version), not $version"
  [ "$(head -1 "$doc/copyright")" = 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ] ||
    fail "$package: copyright is not DEP-5"
done

# Stripped, and hardened as dpkg-buildflags asks: relro, bindnow, the stack
# protector and fortified calls.
binaries=("$root/usr/bin/orvanta-scan")
$desktop && binaries+=("$root/usr/bin/orvanta-scanner")
for binary in "${binaries[@]}"; do
  name=$(basename "$binary")
  grep -q ', stripped' <<<"$(file "$binary")" || fail "$name is not stripped"
  if [ "$hardened" = ON ]; then
    # Read whole: grep -q closing the pipe early would fail the pipeline.
    segments=$(readelf -lW "$binary")
    dynamic=$(readelf -dW "$binary")
    symbols=$(readelf --dyn-syms -W "$binary")
    grep -q GNU_RELRO <<<"$segments" || fail "$name: no relro"
    grep -Eq 'BIND_NOW|FLAGS.*\bNOW\b' <<<"$dynamic" || fail "$name: no bindnow"
    grep -q 'Flags:.*PIE' <<<"$dynamic" || fail "$name is not PIE"
    grep -q '__stack_chk_fail' <<<"$symbols" || fail "$name: no stack protector"
    grep -q '__[a-z0-9_]*_chk@' <<<"$symbols" || fail "$name: no fortified calls"
  fi
done

# The JSON schema and the problem matcher are the tree's own.
cmp "$root/usr/share/orvanta-scan/orvanta-scan.schema.json" "$source_dir/docs/orvanta-scan.schema.json" ||
  fail "the installed schema is not docs/orvanta-scan.schema.json"
python3 "$source_dir/tests/packaging/problem-matcher.py" "$root/usr/share/orvanta-scan/orvanta-problem-matcher.json" \
  >"$work/matcher.log" || { cat "$work/matcher.log"; fail "the installed problem matcher"; }

scan=$root/usr/bin/orvanta-scan
[ "$("$scan" --version)" = "orvanta-scan $version" ] || fail "--version says: $("$scan" --version)"

cp -r "$examples_dir/lighthouse" "$work/project"
"$scan" info "$work/project/lighthouse.orv" >"$work/info.txt" || fail "info exited $?"
grep -q '^Scenes Count: ' "$work/info.txt" || fail "info printed: $(cat "$work/info.txt")"
diff <("$build_dir/src/cli/orvanta-scan" info "$work/project/lighthouse.orv") "$work/info.txt" ||
  fail "the installed program's info differs from the built one's"

# The manual page names every command the program offers, every option of
# each, the formats of check and where the schema and matcher are.
man_page=$(zcat "$root/usr/share/man/man1/orvanta-scan.1.gz")
commands=$("$scan" --help | awk '/^Subcommands:/ {on=1; next} on && /^  [a-z]/ {print $1}')
[ "$(echo "$commands" | wc -w)" -ge 6 ] || fail "--help lists these commands: $commands"
for command in $commands; do
  grep -q "^\.B orvanta-scan $command" <<<"$man_page" || fail "the manual page does not describe '$command'"
done
for command in $commands; do
  for option in $("$scan" "$command" --help | grep -oE -- '--[a-z][a-z-]+' | sort -u); do
    grep -qF -- "${option//-/\\-}" <<<"$man_page" || fail "the manual page does not describe $command $option"
  done
done
for text in 'text | json | sarif | github' '\%/usr/share/orvanta-scan/orvanta-scan.schema.json' \
            '\%/usr/share/orvanta-scan/orvanta-problem-matcher.json'; do
  grep -qF -- "$text" <<<"$man_page" || fail "the manual page does not say $text"
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
  words() { "$@" | sort | tr '\n' ' '; }
  [ "$(complete_line orvanta-scan tr)" = track-flag ] || fail "completion of 'tr'"
  grep -qx -- --fail-on-missing <<<"$(complete_line orvanta-scan files x.orv --fa)" || fail "completion of --fa"
  [ "$(complete_line orvanta-scan track-flag x.orv a)" = all ] || fail "completion of 'all'"
  [ "$(complete_line orvanta-scan check x.orv --format s)" = sarif ] || fail "completion of sarif"
  [ "$(words complete_line orvanta-scan check x.orv --format '')" = "github json sarif text " ] ||
    fail "check's formats: $(words complete_line orvanta-scan check x.orv --format '')"
  [ "$(words complete_line orvanta-scan files x.orv --format '')" = "json text " ] ||
    fail "files' formats: $(words complete_line orvanta-scan files x.orv --format '')"
  [ "$(words complete_line orvanta-scan puzzle-chart x.orv --format '')" = "dot json svg " ] ||
    fail "puzzle-chart's formats: $(words complete_line orvanta-scan puzzle-chart x.orv --format '')"
  [ "$(complete_line orvanta-scan check x.orv --fail-on missing,dead)" = missing,dead-ends ] ||
    fail "completion of a --fail-on list"
  [ "$(words complete_line orvanta-scan check x.orv --b)" = "--baseline " ] || fail "completion of --baseline"
  for option in --sarif-root --write-baseline --ignore; do
    grep -qx -- "$option" <<<"$(complete_line orvanta-scan check x.orv --)" || fail "check's options lack $option"
    ! grep -qx -- "$option" <<<"$(complete_line orvanta-scan flag-usage x.orv --)" || fail "flag-usage offers $option"
  done
  # The file after an option that takes one is not the project.
  mkdir "$work/completion" && touch "$work/completion/p.orv"
  for option in --sarif-root --baseline --write-baseline --ignore; do
    [ "$(cd "$work/completion" && complete_line orvanta-scan check "$option" b.txt '')" = p.orv ] ||
      fail "the file after $option taken for the project"
  done
  [ "$(cd "$work/completion" && complete_line orvanta-scan puzzle-chart --flag 3 '')" = p.orv ] ||
    fail "the number after --flag taken for the project"
fi

# lintian, with no error and no warning, in the build that is shipped.
if [ "$hardened" != ON ]; then
  echo "lintian skipped: the build has no hardening flags (a sanitizer or fuzz build)"
elif ! command -v lintian >/dev/null; then
  echo "lintian skipped: not installed (scripts/install-deps installs it)"
else
  lintian --fail-on error,warning --display-info "${debs[@]}" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log"; fail "lintian"; }
  echo "lintian: no errors or warnings"
  sed 's/^/  /' "$work/lintian.log"
fi
echo "packages ok:" $(for d in "${debs[@]}"; do basename "$d"; done)
