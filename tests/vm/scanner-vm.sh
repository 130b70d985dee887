#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Barcode scanners read from their own devices, on real kernel input devices: boots
# Debian's kernel in a virtual machine (QEMU, software emulation) over this machine's own
# files, read-only with a throw-away layer on top, and runs tests/vm/guest.sh there, which
# plays scanners and a keyboard through uinput under X11 and Wayland. This machine's
# kernel has no uinput; the guest's has.
#
#   tests/vm/scanner-vm.sh [BUILD]     (BUILD: a build folder with tarnix, default build/)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tree=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$tree/build}" && pwd)
source "$tree/scripts/packages.sh"
ensure_packages "${TARNIX_VM_PACKAGES[@]}"
for program in app/tarnix tests/e2e/tarnix-e2e-scanlines; do
  [ -x "$build/$program" ] || { echo "scanner-vm: no $build/$program: build first" >&2; exit 1; }
done

kernel=$(ls /boot/vmlinuz-* | sort -V | tail -n 1)
modules=/lib/modules/${kernel#/boot/vmlinuz-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The first stage: busybox, and the modules that reach this machine's files over 9p and lay
# the writable layer on them, loaded in the order they need one another.
mkdir -p "$work"/initrd/{bin,mods,proc,sys,dev,host,new,rw} "$work/xchg"
cp /bin/busybox "$work/initrd/bin/"
for m in virtio_ring virtio virtio_pci_modern_dev virtio_pci_legacy_dev virtio_pci netfs fscache 9pnet \
         9pnet_virtio 9p overlay; do
  cp "$(find "$modules" -name "$m.ko" | grep . | head -n 1)" "$work/initrd/mods/"
  echo "$m" >>"$work/initrd/mods/order"
done
cat >"$work/initrd/init" <<'INIT'
#!/bin/busybox sh
b=/bin/busybox
$b mount -t proc proc /proc; $b mount -t sysfs sys /sys; $b mount -t devtmpfs dev /dev
for m in $($b cat /mods/order); do $b insmod /mods/$m.ko; done
p9=trans=virtio,version=9p2000.L,msize=262144
$b mount -t 9p -o ro,$p9 hostroot /host; $b mount -t tmpfs tmpfs /rw; $b mkdir /rw/up /rw/work
$b mount -t overlay overlay -o lowerdir=/host,upperdir=/rw/up,workdir=/rw/work /new
$b mount -t 9p -o $p9 xchg /new/mnt
for d in proc sys dev; do $b mount --move /$d /new/$d; done
exec $b chroot /new /bin/bash /mnt/run.sh
INIT
chmod +x "$work/initrd/init"
(cd "$work/initrd" && find . | cpio -o -H newc --quiet | gzip -1 >"$work/initrd.gz")

cat >"$work/xchg/run.sh" <<RUN
/bin/bash "$here/guest.sh" "$build" "$tree" 2>&1 | tee /mnt/output.txt
/bin/busybox poweroff -f
RUN

started=$(date +%s)
status=0
timeout 900 qemu-system-x86_64 -accel tcg,thread=multi -m 3072 -smp 2 -nographic -no-reboot \
  -kernel "$kernel" -initrd "$work/initrd.gz" \
  -append "console=ttyS0 quiet panic=-1 rdinit=/init" \
  -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap \
  -virtfs "local,path=$work/xchg,mount_tag=xchg,security_model=none" \
  </dev/null >"$work/console.txt" 2>&1 || status=$?
elapsed=$(($(date +%s) - started))

# Each phase in the guest ends with its own "N passed, N failed" line: add them up.
output=$work/xchg/output.txt
if [ -s "$output" ]; then cat "$output"; else cat "$work/console.txt"; fi
read -r passed failed phases < <(awk '/^[0-9]+ passed, [0-9]+ failed$/ {p += $1; f += $3; n++}
                                      END {print p + 0, f + 0, n + 0}' "$output" 2>/dev/null || echo 0 0 0)
echo "scanner-vm: the virtual machine ran ${elapsed} s (qemu status $status)"
if [ "$status" -ne 0 ] || [ "$phases" -ne 3 ]; then
  echo "scanner-vm: a phase did not finish"
  failed=$((failed + 1))
fi
echo "scanner-vm: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
