# The commands a newcomer needs on a fresh Debian 12 machine:
#   make run    installs what is missing, builds, runs the screensaver under Wine
#   make test   installs what is missing, builds every preset, runs every test
#   make dist   the package: dist/astrelle-<version>/ and its zip
#   make install  astrelle, the native saver, into PREFIX (/usr/local), under DESTDIR
#   make deb    astrelle's Debian package: dist/astrelle_<version>_amd64.deb
# Each target installs only the packages it needs (tools/install-deps.sh).
.PHONY: run test dist deps native sim bench astrelle-bench wayland-bench clean install deb

PREFIX ?= /usr/local

# Every package any target needs.
deps:
	@tools/install-deps.sh test

native:
	@tools/install-deps.sh native
	@cmake --preset native >/dev/null
	@cmake --build --preset native

# astr.scr /s under Wine: until Escape on your display, else 15 s on a
# private one with a screenshot; then the particle count it calibrated to.
# Fails, saying why, when the saver does not start, calibrate or end.
run:
	@tools/install-deps.sh run
	@tools/run-saver.sh

# The swarm without a window: calibrated as if drawing a particle cost 0.5 us,
# then timed for real.
sim: native
	build/native/tools/astr-sim --frames 600 --particle-seconds 0.0000005 --bench

test:
	@tools/install-deps.sh test
	@tools/run-tests.sh

# The shipped 32-bit programs, astr's sound and the INF file sepria installs
# them through.
dist:
	@tools/install-deps.sh dist
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 --target dist

# Installs what the native build made (built first if it is not there yet:
# run `make native` as yourself before `sudo make install`). Hosts look for
# savers in /usr/libexec/xscreensaver: PREFIX=/usr puts it there.
install:
	@[ -x build/native/libexec/xscreensaver/astrelle ] || $(MAKE) native
	@DESTDIR="$(DESTDIR)" cmake --install build/native --prefix "$(PREFIX)" --strip

# Built by dpkg-buildpackage from debian/, in a copy of the checkout.
deb:
	@tools/install-deps.sh deb
	@tools/build-deb.sh dist

bench: native
	build/native/bench/sim_bench

# astrelle against a bare loop of the same squares on an Xvfb of its own:
# calibrated counts, first and warm starts, both ways of drawing, CPU share (~5.5 min).
astrelle-bench: native
	@tools/install-deps.sh bench
	build/native/bench/astrelle_bench --rounds 5

# astrelle covering a headless sway's output against an Xvfb window: counts,
# a warm start's first frame, memory over 10 min with two outputs (~13 min).
wayland-bench: native
	@tools/install-deps.sh bench
	build/native/bench/wayland_bench --rounds 5 --minutes 10

clean:
	rm -rf build dist
