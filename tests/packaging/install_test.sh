#!/usr/bin/env bash
# The Linux desktop install, checked in a scratch DESTDIR.
#   install_test.sh files BUILD_DIR   what `cmake --install` puts where
#   install_test.sh run BUILD_DIR     the installed programs start and answer --help
#   install_test.sh deb BUILD_DIR     the Debian package holds them and names the Qt 6 runtime
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
  local manual="$root/share/man/man1/korvanta-cli.1.gz"
  [[ -f "$desktop" ]] || fail "desktop entry missing"
  [[ -f "$icon" ]] || fail "icon missing"
  [[ -f "$manual" ]] || fail "manual page missing"
  grep -qx 'Exec=korvanta-tools' "$desktop" || fail "desktop entry does not start korvanta-tools"
  grep -qx 'Icon=korvanta-tools' "$desktop" || fail "desktop entry does not name the installed icon"
  grep -q '<svg' "$icon" || fail "icon is not an SVG"
  gzip -dc "$manual" >"$scratch/manual" || fail "manual page is not gzip-compressed"
  grep -q '^\.TH KORVANTA-CLI 1' "$scratch/manual" || fail "manual page has no title line"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop entry does not validate"
  else
    echo "desktop-file-validate not installed (scripts/install-deps.sh adds it)" >&2
    exit 77
  fi
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
}

check_deb() {
  cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/deb" >/dev/null || fail "cpack failed"
  local deb
  deb=$(ls "$scratch"/deb/korvanta-tools_*.deb) || fail "no package made"
  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  for library in core gui widgets printsupport serialport; do
    grep -Eq "libqt6${library}6" <<<"$depends" || fail "package does not depend on the Qt 6 $library runtime: $depends"
  done
  local contents
  contents=$(dpkg-deb -c "$deb")
  for file in usr/bin/korvanta-tools usr/bin/korvanta-cli usr/bin/korvanta-emulator \
    usr/share/applications/korvanta-tools.desktop usr/share/man/man1/korvanta-cli.1.gz; do
    grep -q "\./$file\$" <<<"$contents" || fail "package lacks $file"
  done
}

case $mode in
  files) check_files ;;
  run) check_run ;;
  deb) check_deb ;;
  *) fail "unknown mode $mode" ;;
esac
