# The two commands a newcomer needs on a fresh Debian 12 machine:
#   make run    installs what is missing, builds, runs the headless swarm
#   make test   installs what is missing, builds every preset, runs every test
.PHONY: run test deps native bench clean

deps:
	@tools/install-deps.sh

native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native

# The swarm without a window: calibrated as if drawing a particle cost 0.5 us,
# then timed for real.
run: native
	build/native/tools/astr-sim --frames 600 --particle-seconds 0.0000005 --bench

test: deps
	@tools/run-tests.sh

bench: native
	build/native/bench/sim_bench

clean:
	rm -rf build
