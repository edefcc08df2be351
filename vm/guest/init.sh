#!/bin/busybox sh
# First process of the test VM: mounts, loads the modules, runs the scenario
# and powers the machine off whatever happens.
/bin/busybox --install -s /bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
mount -t tmpfs tmp /tmp
mount -t tmpfs run /run
for m in $(cat /lib/modules/order); do
  insmod "/lib/modules/$m" || echo "VM-NOTE insmod $m failed"
done
export HOME=/root PATH=/bin
sh /scenario.sh
echo "VM-DONE"
sync
poweroff -f
