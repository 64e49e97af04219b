# Sourced by scripts/run and scripts/test: installs the Debian packages the
# build, the tests and the program need, but only when some are missing.
packages=(
  g++ cmake ninja-build pkg-config
  libcsv-dev
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-liberation fonts-dejavu-core fonts-urw-base35 fonts-opensymbol
  cups cups-client printer-driver-cups-pdf poppler-utils libcups2-dev
  xvfb xauth unrtf libreoffice-writer-nogui
  desktop-file-utils shared-mime-info
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
