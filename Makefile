# QEX front door. `make run` and `make test` work on a fresh Debian 12 machine:
# they install the Debian packages that are missing (as root), configure,
# build, and run.

BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=

# Debian packages the build, the tests and the benchmarks need.
PACKAGES = build-essential cmake ninja-build pkg-config \
           qt6-base-dev qt6-charts-dev qt6-svg-dev libgl-dev libx11-dev libxkbcommon-dev \
           libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev

QEXCLI = $(BUILD)/cli/qexcli
QEX    = $(BUILD)/app/qex
WORK   = $(BUILD)/work

.PHONY: all deps configure build test run gui bench clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  if [ "$$(id -u)" = 0 ]; then SUDO=""; else SUDO="sudo"; fi; \
	  $$SUDO apt-get update && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The headline calculation: the simulation dialog's default sample on the
# bundled LR04 stack, with uncertainties; the report goes under the build folder.
RUN_REPORT = $(BUILD)/run/LR04-report.txt

run: build
	@mkdir -p $(dir $(RUN_REPORT))
	@$(QEXCLI) simulate --proxy examples/proxy/LR04.dat --report $(RUN_REPORT)
	@echo "Report written to $(RUN_REPORT)"

# The desktop program runs in a working folder of its own: the geomagnetic
# correction reads pole02.dat and pmagstack1.dat there and writes omr.txt there.
gui: build
	@mkdir -p $(WORK)
	@for f in examples/geomag/pole02.dat examples/geomag/pmagstack1.dat; do \
	  [ -f $(WORK)/$$(basename $$f) ] || cp $$f $(WORK)/; \
	done
	cd $(WORK) && $(abspath $(QEX))

bench: build
	$(BUILD)/bench/qex_bench

clean:
	rm -rf $(BUILD)
