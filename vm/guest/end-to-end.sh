# Guest side of the end-to-end test: the scenario starts the driver itself.
export TAVIRO_DATA_DIR=/data
/bin/taviro-vm-scenario
