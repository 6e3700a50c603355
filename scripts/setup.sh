# Shared by scripts/run, scripts/test and scripts/bench: make sure the Debian
# packages a build needs are present, then configure and build.
# Sourced, not run; expects $VORLISK_ROOT.

vorlisk_packages=(cmake ninja-build g++ pkg-config qt6-base-dev libqscintilla2-qt6-dev
  libgtest-dev libx11-dev fonts-dejavu-core libqt6svg6)

ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null \
      || { echo "apt-get install failed" >&2; exit 1; }
  else
    echo "Vorlisk needs these packages. Install them with:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
}

# configure_and_build BUILD_DIR [cmake args...] -- [targets...]
configure_and_build() {
  local dir=$1; shift
  local args=() targets=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do args+=("$1"); shift; done
  [ "${1:-}" = "--" ] && shift
  targets=("$@")
  cmake -S "$VORLISK_ROOT" -B "$dir" -G Ninja "${args[@]}" >/dev/null || exit 1
  if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$dir" --target "${targets[@]}" || exit 1
  else
    cmake --build "$dir" || exit 1
  fi
}
