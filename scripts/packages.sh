# SPDX-License-Identifier: MIT
# Shared by the scripts: the Debian packages each step needs and a function that
# installs whichever of them are missing. Sourced, not run.

# To build and run Tarnix.
TARNIX_BUILD_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-webengine-dev libgl1-mesa-dri
  libx11-dev qt6-base-private-dev
  # The desktop-wide Alt on X11: keyboard layouts (XKB) and the devices' raw keys (XInput 2).
  libxkbcommon-x11-dev libxcb-xkb-dev libxcb-xinput-dev
)
# To build and run every test, including the desktop tests under a virtual X server.
TARNIX_TEST_PACKAGES=(
  "${TARNIX_BUILD_PACKAGES[@]}"
  libgtest-dev libbenchmark-dev python3
  xvfb xauth xdotool x11-utils dbus dbus-x11 at-spi2-core python3-pyatspi imagemagick openbox
  python3-tk
  # A scanner played by key code: XTest and keyboard layouts on X11, sway with XWayland
  # for Wayland.
  python3-xlib x11-xkb-utils x11-xserver-utils sway xwayland qt6-wayland
  # Keys pressed at a known moment, to time how long the keyboard stays frozen.
  libxtst-dev
  # The window managers of GNOME and KDE Plasma, for the Alt scenarios.
  mutter kwin-x11
)
# To build and check the Debian package.
TARNIX_PACKAGE_PACKAGES=(dpkg-dev file desktop-file-utils appstream lintian libgtest-dev libbenchmark-dev)
# For the sanitizer and fuzzing stages.
TARNIX_FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# To time tarnix-decode on a generated log (peak memory through /usr/bin/time).
TARNIX_BENCH_PACKAGES=(cmake ninja-build g++ libbenchmark-dev libgtest-dev time)
# To measure Alt followed at once by a scan line (bench/alt/measure_alt.py): window
# managers on a virtual X server, a Tk window as the other program, and sway with
# XWayland for the Wayland desktop.
TARNIX_ALT_BENCH_PACKAGES=(
  "${TARNIX_TEST_PACKAGES[@]}"
  openbox xfwm4 metacity
)
# To cross-build the portable core for Windows and run its tests under Wine (the
# scanner played by key code under a German layout too).
TARNIX_WINDOWS_PACKAGES=(
  cmake ninja-build g++ googletest python3 xvfb xauth xdotool x11-utils dbus
  g++-mingw-w64-x86-64 mingw-w64-tools wine64 wine python3-xlib x11-xkb-utils
)
# To make the Windows Installer package and look into it.
TARNIX_MSI_PACKAGES=(wixl msitools)
# Barcode scanners read from their devices (tests/vm/): Debian's kernel, which has uinput,
# booted in QEMU over this machine's files with a busybox first stage; in it udev, the
# desktop tests' X server, window manager, sway and accessibility bus, and wev as another
# Wayland client.
TARNIX_VM_PACKAGES=(
  "${TARNIX_TEST_PACKAGES[@]}"
  qemu-system-x86 seabios linux-image-amd64 busybox-static cpio udev iproute2 wev acl
)

# Installs the packages given that are not installed yet (as root, or through sudo).
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}
