#!/usr/bin/env bash
# Checks the Debian package as a user's system receives it:
#   package_test.sh build BUILD_DIR DEB   makes it with CPack (once, for the others)
#   package_test.sh contents DEB          every installed file, computed dependencies
#   package_test.sh runs DEB              unpacked, the programs run on the system's Qt
#   package_test.sh metadata DEB          desktop entry and AppStream metadata validate
#   package_test.sh manpages DEB          both man pages render cleanly and are complete
# The environment names VERSION, GUIDE (the guide's file name) and
# DATA_FROM_BIN (the data folder seen from the programs' folder).
set -euo pipefail

mode=$1
fail() {
  echo "package_test $mode: $*" >&2
  exit 1
}

if [ "$mode" = build ]; then
  build=$2 deb=$3
  rm -f "$deb"
  cpack --config "$build/CPackConfig.cmake" -B "$(dirname "$deb")" >/dev/null
  [ -f "$deb" ] || fail "no $(basename "$deb") made"
  exit 0
fi

deb=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
unpack() { dpkg-deb -x "$deb" "$root"; }

case $mode in
contents)
  # The names, after permissions, owner, size, date and time (names hold blanks).
  listing=$(dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}//')
  expected=(
    ./usr/bin/dorvel ./usr/bin/dorvel-cli ./usr/bin/dorvel-meter-sim
    ./usr/share/applications/de.kestrana.dorvel.desktop
    ./usr/share/metainfo/de.kestrana.dorvel.metainfo.xml
    ./usr/share/icons/hicolor/scalable/apps/dorvel.svg
    ./usr/share/man/man1/dorvel-cli.1.gz ./usr/share/man/man1/dorvel-meter-sim.1.gz
    "./usr/share/dorvel/$GUIDE"
    "./usr/share/doc/dorvel/$GUIDE -> ../../dorvel/$GUIDE"
    ./usr/lib/udev/rules.d/60-dorvel-meter-cable.rules
  )
  for size in 16 22 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x$size/apps/dorvel.png")
  done
  for file in "${expected[@]}"; do
    grep -qxF -- "$file" <<<"$listing" || fail "missing: $file"
  done
  [ "$(dpkg-deb -f "$deb" Package Version)" = "$(printf 'Package: dorvel\nVersion: %s' "$VERSION")" ] ||
    fail "package fields: $(dpkg-deb -f "$deb" Package Version)"
  # Computed from the linked libraries, not written by hand.
  depends=$(dpkg-deb -f "$deb" Depends)
  for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
    libqt6serialport6 fonts-liberation; do
    grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library: $depends"
  done
  ;;
runs)
  unpack
  bin=$root/usr/bin
  export XDG_CONFIG_HOME=$root/config
  [ "$("$bin/dorvel-cli" --version)" = "dorvel-cli $VERSION" ] || fail "--version"
  for program in dorvel dorvel-cli dorvel-meter-sim; do
    ! ldd "$bin/$program" | grep -q 'not found' || fail "$program misses a library"
    ! readelf -d "$bin/$program" | grep -qE 'RPATH|RUNPATH' || fail "$program keeps a run path"
  done
  # What the program looks for beside itself.
  [ -f "$bin/$DATA_FROM_BIN/dorvel/$GUIDE" ] || fail "guide not where the program looks"
  [ -f "$bin/$DATA_FROM_BIN/icons/hicolor/48x48/apps/dorvel.png" ] || fail "icon not where the program looks"
  [ -f "$root/usr/share/doc/dorvel/$GUIDE" ] || fail "the documentation's link to the guide is broken"

  # The unpacked virtual meter, a download into a patient, a report and a certificate.
  data=$root/DATA
  coproc SIM { exec "$bin/dorvel-meter-sim" --generate 40 --users 1 --fast </dev/null; }
  sim=$SIM_PID
  trap 'kill "$sim" 2>/dev/null; rm -rf "$root"' EXIT
  read -r device <&"${SIM[0]}"
  cli=("$bin/dorvel-cli" --data "$data" --today 2025-12-31)
  [ "$("${cli[@]}" download --port "$device" --timeout-ms 5000)" = "$(printf '001\t40')" ] ||
    fail "download from the virtual meter"
  [ "$("${cli[@]}" import ANNA 001)" = 40 ] || fail import
  "${cli[@]}" report ANNA --page 3 --out "$root/summary.pdf"
  pdftotext "$root/summary.pdf" - | grep -q Zusammenfassung || fail "the summary has no heading"
  pages=$("${cli[@]}" print ANNA --out "$root/certificate.pdf" --reports 1,3)
  [ "$(pdfinfo "$root/certificate.pdf" | awk '/^Pages:/ { print $2 }')" = "$pages" ] ||
    fail "the certificate's page count"
  ;;
metadata)
  unpack
  desktop-file-validate "$root/usr/share/applications/de.kestrana.dorvel.desktop"
  appstreamcli validate --no-net "$root/usr/share/metainfo/de.kestrana.dorvel.metainfo.xml" >/dev/null ||
    appstreamcli validate --no-net "$root/usr/share/metainfo/de.kestrana.dorvel.metainfo.xml" >&2 ||
    fail "AppStream metadata"
  ;;
manpages)
  unpack
  export XDG_CONFIG_HOME=$root/config
  for program in dorvel-cli dorvel-meter-sim; do
    page=$root/usr/share/man/man1/$program.1.gz
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$program.1: $warnings"
    # Every command and option the program's help names is described.
    source=$(zcat "$page" | sed 's/\\-/-/g')
    help=$("$root/usr/bin/$program" --help)
    for word in $(grep -oE -- '--[a-z-]+' <<<"$help" | sort -u) \
      $(sed -n 's/^  \([a-z]\+\)\b.*/\1/p' <<<"$help"); do
      grep -qF -- "$word" <<<"$source" || fail "$program.1 does not describe $word"
    done
  done
  zcat "$root/usr/share/man/man1/dorvel-cli.1.gz" | grep -q '^\.SH EXIT STATUS' || fail "no exit status"
  for status in 0 1 2 3 4 5 6; do
    zcat "$root/usr/share/man/man1/dorvel-cli.1.gz" | grep -qx "\.B $status" ||
      fail "dorvel-cli.1 lacks exit status $status"
  done
  ;;
*)
  fail "unknown check"
  ;;
esac
