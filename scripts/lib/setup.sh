# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by ./scripts/run, ./scripts/test and ./scripts/package: install what
# is missing, then configure and build one build folder. Sourced, not run.

TESMERA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# What building and running the programs needs, one package a line.
TESMERA_RUN_PACKAGES=(
  cmake
  g++
  ninja-build
  pkg-config
  qt6-base-dev
  qt6-multimedia-dev
  fonts-liberation
  libcli11-dev
  libsndfile1-dev
  libsamplerate0-dev
  libfftw3-dev
  libtbb-dev
  nlohmann-json3-dev
)

# What building the Debian package and checking it needs, one package a line.
TESMERA_PACKAGE_PACKAGES=(
  dpkg-dev
  file
  lintian
  appstream
  desktop-file-utils
)

# What only the test suite needs (it also builds and checks the package),
# one package a line.
TESMERA_TEST_PACKAGES=(
  xvfb
  xauth
  libx11-dev
  libxtst-dev
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  praat
  clang
  libclang-rt-14-dev
  bash-completion
  shared-mime-info
  man-db
  python3-jsonschema
  poppler-utils
  pulseaudio
  pulseaudio-utils
)

# tesmera_missing_packages <package...>: those not installed, one a line.
tesmera_missing_packages() {
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || echo "$pkg"
  done
}

# tesmera_install_packages <package...>: installs those not yet installed.
tesmera_install_packages() {
  local missing
  mapfile -t missing < <(tesmera_missing_packages "$@")
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local -a as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      as_root=(sudo)
    else
      echo "error: these packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
      return 1
    fi
  fi
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}

# tesmera_build <build-dir> <cmake options...>
tesmera_build() {
  local dir="$1"
  shift
  cmake -S "$TESMERA_ROOT" -B "$dir" -G Ninja "$@"
  cmake --build "$dir" --parallel "$(nproc)"
}
