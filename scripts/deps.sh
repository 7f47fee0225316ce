# Installs the Debian packages Drovik needs to build and test, when any is missing.
# Sourced by the other scripts.
drovik_install_deps() {
  local packages=(build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev
    libsimpleini-dev "$@")
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}
