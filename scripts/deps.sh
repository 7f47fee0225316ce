# Installs the Debian packages Drovik needs to build and test, when any is missing.
# Sourced by the other scripts.

# llvm-14 brings the symbolizer that puts file and line into sanitizer reports.
DROVIK_SANITIZER_PACKAGES=(llvm-14)
# The fuzz targets need clang with libFuzzer (in the compiler-rt package).
DROVIK_FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev llvm-14)
# The printer transports: FTP through libcurl, the print spooler through libcups.
DROVIK_TRANSPORT_PACKAGES=(libcurl4-openssl-dev libcups2-dev)
# Discovery asks printers over SNMP through net-snmp's library.
DROVIK_DISCOVERY_PACKAGES=(libsnmp-dev)
# Peers the transport tests and benchmarks start themselves: a private print spooler and the
# printer simulator (an FTP server), an SNMP agent (snmpd) for discovery; ansible-core runs the
# fleet playbook example's test.
DROVIK_TEST_PEER_PACKAGES=(cups cups-daemon cups-client python3-pyftpdlib snmpd ansible-core)
# The Debian package: manual pages (scdoc), icons rendered from the drawing (rsvg-convert),
# dependencies (dpkg-shlibdeps in dpkg-dev) and the package's checks (lintian, appstreamcli,
# desktop-file-validate; man-db renders the pages).
DROVIK_PACKAGE_PACKAGES=(scdoc librsvg2-bin dpkg-dev lintian appstream desktop-file-utils man-db)
# Screenshots run the program on a virtual display with Japanese fonts.
DROVIK_SCREENSHOT_PACKAGES=(xvfb xauth fonts-noto-cjk)

drovik_install_deps() {
  local packages=(build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev
    libsimpleini-dev qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6svg6 qt6-svg-dev
    libgl-dev fonts-noto-cjk nlohmann-json3-dev libssl-dev "$@")
  packages+=("${DROVIK_TRANSPORT_PACKAGES[@]}" "${DROVIK_DISCOVERY_PACKAGES[@]}")
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
