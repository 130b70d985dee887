#!/bin/bash
# SPDX-License-Identifier: MIT
# Inside the virtual machine of scanner-vm.sh, as root: real kernel input devices
# (evdev, uinput), udev with the package's rule, then the scenarios of scanner_vm.py on
# X11 with Tarnix as root (it could open any device, so what it leaves alone it left by
# choice) and on Wayland with Tarnix as an ordinary user (it reads only what the rule
# gives the seat).
#
#   guest.sh BUILD TREE
set -u
build=$1
tree=$2
export PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8

mount -t tmpfs tmpfs /run
mkdir -p /dev/shm && mount -t tmpfs -o mode=1777 tmpfs /dev/shm
mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix
ip link set lo up
modprobe evdev
modprobe uinput

# The package's rule where the package puts it. logind's part, giving the person at the
# seat each node tagged uaccess, is played by a rule that hands such nodes to the user,
# seconds after they appear, as access granted by hand comes: Tarnix must take a scanner
# when its access changes, not only when it appears.
user=tarnixvm
useradd -m "$user"
cp "$tree/app/share/70-tarnix-barcode-scanner.rules" /lib/udev/rules.d/
echo "SUBSYSTEM==\"input\", TAG==\"uaccess\", RUN+=\"/bin/sh -c 'sleep 4; chown $user \$devnode'\"" \
  >/etc/udev/rules.d/99-tarnix-vm-seat.rules
/lib/systemd/systemd-udevd --daemon
udevadm trigger
udevadm settle
# Only so that the user's test can make its devices; the nodes they get stay udev's.
chmod 0666 /dev/uinput

test=("$tree/tests/vm/scanner_vm.py" --tarnix "$build/app/tarnix"
      --scanlines "$build/tests/e2e/tarnix-e2e-scanlines")
echo "== X11: Xvfb and openbox, Tarnix as root"
"$tree/tests/e2e/with-xvfb.sh" --wm openbox /usr/bin/python3 "${test[@]}" x11
echo "== Wayland: sway, Tarnix as $user (set up and X11 took ${SECONDS} s)"
runuser -u "$user" -- dbus-run-session -- /usr/bin/python3 "${test[@]}" wayland
echo "== ${SECONDS} s in all"
