#!/bin/bash
# SPDX-License-Identifier: MIT
# Inside the virtual machine of scanner-vm.sh, as root: real kernel input devices
# (evdev, uinput), udev with the package's rule, then the scenarios of scanner_vm.py on
# X11 with Tarnix as root (it could open any device, so what it leaves alone it left by
# choice), on X11 with Tarnix as an ordinary user whose access comes and goes as logind
# moves it at a user switch, and on Wayland with Tarnix as an ordinary user (it reads only
# what the rule gives the seat).
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

# The package's rule where the package puts it.
user=tarnixvm
useradd -m "$user"
runtime=/run/user/$(id -u "$user")
mkdir -p "$runtime" && chown "$user" "$runtime" && chmod 700 "$runtime"
cp "$tree/app/share/70-tarnix-barcode-scanner.rules" /lib/udev/rules.d/
/lib/systemd/systemd-udevd --daemon
udevadm trigger
udevadm settle
# Only so that the user's test can make its devices; the nodes they get stay udev's.
chmod 0666 /dev/uinput

test=("$tree/tests/vm/scanner_vm.py" --tarnix "$build/app/tarnix"
      --scanlines "$build/tests/e2e/tarnix-e2e-scanlines")
echo "== X11: Xvfb and openbox, Tarnix as root"
"$tree/tests/e2e/with-xvfb.sh" --wm openbox /usr/bin/python3 "${test[@]}" x11
echo "== X11: Xvfb, Tarnix as $user, the seat's access given and taken (${SECONDS} s so far)"
"$tree/tests/e2e/with-xvfb.sh" /usr/bin/python3 "${test[@]}" --runtime "$runtime" seat
# logind's part, giving the person at the seat each node tagged uaccess, is played by a
# rule that adds the user to the node's ACL seconds after it appears, as access granted
# late comes: Tarnix must take a scanner when its access changes, not only when it appears.
echo "SUBSYSTEM==\"input\", TAG==\"uaccess\", RUN+=\"/bin/sh -c 'sleep 4; /usr/bin/setfacl -m u:$user:rw \$devnode'\"" \
  >/etc/udev/rules.d/99-tarnix-vm-seat.rules
udevadm control --reload
echo "== Wayland: sway, Tarnix as $user (${SECONDS} s so far)"
runuser -u "$user" -- dbus-run-session -- /usr/bin/python3 "${test[@]}" wayland
echo "== ${SECONDS} s in all"
