#!/usr/bin/env bash
# The Linux desktop install, checked in a scratch DESTDIR.
#   install_test.sh files BUILD_DIR   what `cmake --install` puts where, the desktop entry and file types
#   install_test.sh run BUILD_DIR     the installed programs start, answer --help and --version, and open a log
#   install_test.sh deb BUILD_DIR     the Debian package holds them, names its dependencies and passes lintian
set -euo pipefail

mode=$1
build=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

root="$scratch/root/usr"
if [[ $mode != deb ]]; then
  DESTDIR="$scratch/root" cmake --install "$build" --prefix /usr >/dev/null
fi

check_files() {
  for program in korvanta-tools korvanta-cli korvanta-emulator; do
    [[ -x "$root/bin/$program" ]] || fail "bin/$program missing or not executable"
  done
  local desktop="$root/share/applications/korvanta-tools.desktop"
  local icon="$root/share/icons/hicolor/scalable/apps/korvanta-tools.svg"
  [[ -f "$desktop" ]] || fail "desktop entry missing"
  [[ -f "$icon" ]] || fail "icon missing"
  for program in korvanta-tools korvanta-cli korvanta-emulator; do
    local manual="$root/share/man/man1/$program.1.gz"
    [[ -f "$manual" ]] || fail "manual page of $program missing"
    gzip -dc "$manual" >"$scratch/manual" || fail "manual page of $program is not gzip-compressed"
    grep -q "^\.TH ${program^^} 1" "$scratch/manual" || fail "manual page of $program has no title line"
  done
  grep -qx 'Exec=korvanta-tools %F' "$desktop" || fail "desktop entry does not start korvanta-tools with files"
  grep -qx 'Icon=korvanta-tools' "$desktop" || fail "desktop entry does not name the installed icon"
  grep -q '<svg' "$icon" || fail "icon is not an SVG"
  local types=(application/x-korvanta-log application/x-korvanta-config application/x-korvanta-setup)
  for type in "${types[@]}"; do
    grep -q "^MimeType=.*$type;" "$desktop" || fail "desktop entry does not take $type"
  done
  for tool in desktop-file-validate update-mime-database; do
    command -v $tool >/dev/null || { echo "$tool not installed (scripts/install-deps.sh adds it)" >&2; exit 77; }
  done
  desktop-file-validate "$desktop" || fail "desktop entry does not validate"
  # The file types must be accepted and each name its extension.
  XDG_DATA_DIRS="$root/share" update-mime-database "$root/share/mime" 2>"$scratch/mime-errors" || fail "update-mime-database failed"
  [[ ! -s "$scratch/mime-errors" ]] || fail "update-mime-database: $(cat "$scratch/mime-errors")"
  local globs="$root/share/mime/globs2"
  for pair in x-korvanta-log:kvl x-korvanta-config:kvc x-korvanta-setup:qsu; do
    grep -q "application/${pair%%:*}:\*\.${pair##*:}" "$globs" || fail "no file type for .${pair##*:}"
  done
  [[ -f "$root/share/mime/application/x-korvanta-log.xml" ]] || fail "the log file type was not registered"
}

# Every command and option must be described.
check_help() {
  local program=$1
  shift
  local text
  text=$("$root/bin/$program" --help) || fail "$program --help did not exit 0"
  for word in "$@"; do
    grep -q -- "$word" <<<"$text" || fail "$program --help does not describe $word"
  done
}

check_run() {
  # A private home, so the per-user folder made at first start is the test's own.
  export HOME="$scratch/home" XDG_DATA_HOME="" QT_QPA_PLATFORM=offscreen
  mkdir -p "$HOME"
  timeout 60 "$root/bin/korvanta-tools" --quit-after-start || fail "installed korvanta-tools did not start and quit"
  [[ -d "$HOME/.local/share/korvanta-tools" ]] || fail "the per-user folder was not created at first start"
  check_help korvanta-cli download dump convert config-read config-write --port --set --force \
    --odometer-password --protocol-log --help
  check_help korvanta-emulator --port --pages --baud --seed --help
  # Without a display too.
  QT_QPA_PLATFORM= DISPLAY= WAYLAND_DISPLAY= check_help korvanta-tools --protocol-log --quit-after-start --help
  for program in korvanta-tools korvanta-cli korvanta-emulator; do
    local version
    version=$(QT_QPA_PLATFORM= DISPLAY= WAYLAND_DISPLAY= "$root/bin/$program" --version) ||
      fail "$program --version did not exit 0"
    [[ $version =~ ^$program\ [0-9]+\.[0-9]+$ ]] || fail "$program --version answered: $version"
  done
  check_open_log
}

# A log named on the command line is loaded into A and shown in the plot
# window: the generated one, made by the installed emulator and command-line tool.
check_open_log() {
  export XDG_RUNTIME_DIR="$scratch/runtime"
  mkdir -m 0700 -p "$XDG_RUNTIME_DIR"
  "$root/bin/korvanta-emulator" --port 3 --pages 8 >/dev/null &
  local emulator=$!
  local tries=0
  until [[ -L "$XDG_RUNTIME_DIR/korvanta/COM3" ]] || ((++tries > 100)); do sleep 0.05; done
  "$root/bin/korvanta-cli" download --port 3 "$scratch/day.kvl" >/dev/null 2>&1 || fail "no log downloaded to open"
  kill "$emulator"
  wait "$emulator" || true
  timeout 60 "$root/bin/korvanta-tools" --quit-after-start --report-windows "$scratch/day.kvl" >"$scratch/windows" ||
    fail "korvanta-tools did not start with a log"
  grep -qx 'window: View Data' "$scratch/windows" && grep -qx 'A: day.kvl' "$scratch/windows" ||
    fail "the log is not shown in the plot window: $(cat "$scratch/windows")"
  # A set-up sheet opens the notes window, which only hides when closed: the
  # program must still end.
  local sheet
  sheet="$(dirname "$0")/../../fuzz/corpus/setup_file/notes_and_slots.qsu"
  timeout 60 "$root/bin/korvanta-tools" --quit-after-start --report-windows "$sheet" >"$scratch/windows" ||
    fail "korvanta-tools did not start and end with a set-up sheet"
  grep -qx 'window: Setup Notes' "$scratch/windows" || fail "the set-up sheet is not shown: $(cat "$scratch/windows")"
}

check_deb() {
  cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/deb" >/dev/null || fail "cpack failed"
  local deb
  deb=$(ls "$scratch"/deb/korvanta-tools_*.deb) || fail "no package made"
  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6serialport6 libc6; do
    grep -Eq "$library[^,]*\(>= [0-9]" <<<"$depends" || fail "package does not depend on a version of $library: $depends"
  done
  local contents
  contents=$(dpkg-deb -c "$deb")
  for file in usr/bin/korvanta-tools usr/bin/korvanta-cli usr/bin/korvanta-emulator \
    usr/share/applications/korvanta-tools.desktop usr/share/mime/packages/korvanta-tools.xml \
    usr/share/man/man1/korvanta-cli.1.gz usr/share/man/man1/korvanta-tools.1.gz \
    usr/share/man/man1/korvanta-emulator.1.gz usr/share/doc/korvanta-tools/copyright \
    usr/share/doc/korvanta-tools/changelog.gz; do
    grep -q "\./$file\$" <<<"$contents" || fail "package lacks $file"
  done
  command -v lintian >/dev/null || { echo "lintian not installed (scripts/install-deps.sh adds it)" >&2; exit 77; }
  # Errors and warnings only; lintian's informational notes are advice.
  local report
  report=$(lintian --fail-on none --suppress-tags-from-file /dev/null "$deb" 2>&1 | grep -E '^[EW]: ' || true)
  [[ -z $report ]] || fail "lintian: $report"
}

case $mode in
  files) check_files ;;
  run) check_run ;;
  deb) check_deb ;;
  *) fail "unknown mode $mode" ;;
esac
