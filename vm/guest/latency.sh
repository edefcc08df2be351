# Guest side of the latency benchmark.
export TAVIRO_DATA_DIR=/data
/bin/taviro-vm-latency
