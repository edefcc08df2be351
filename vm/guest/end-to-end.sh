# Guest side of the end-to-end test: udevd runs as on a desktop, the scenario
# starts libinput and the driver itself.
export TAVIRO_DATA_DIR=/data
mkdir -p /dev/pts
mount -t devpts devpts /dev/pts
ln -s /bin/udevadm /bin/systemd-udevd
systemd-udevd --daemon 2>/tmp/udevd.log
udevadm trigger --action=add
udevadm settle
/bin/taviro-vm-scenario
