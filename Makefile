# QEX front door. `make run` and `make test` work on a fresh Debian 12 machine:
# they install the Debian packages that are missing (as root), configure,
# build, and run.

BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=

# Debian packages the build, the tests and the benchmarks need.
PACKAGES = build-essential cmake ninja-build pkg-config \
           qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-svg-dev libgl-dev libx11-dev libxkbcommon-dev \
           libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev \
           clang libclang-rt-14-dev

QEXCLI = $(BUILD)/cli/qexcli
QEX    = $(BUILD)/app/qex
WORK   = $(BUILD)/work

.PHONY: all deps configure build test run gui bench sanitize fuzz clean

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

# The core, qexcli and their tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer in a folder of their own, and run.
SANITIZE_BUILD ?= build-sanitize
SANITIZE_ENV    = ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

sanitize: deps
	@test -f $(SANITIZE_BUILD)/build.ninja || cmake -S . -B $(SANITIZE_BUILD) -G Ninja \
	  -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQEX_SANITIZE=ON -DQEX_BUILD_GUI=OFF -DQEX_BUILD_BENCH=OFF
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) ctest --output-on-failure -j $(JOBS)

# libFuzzer on every reader of outside text, FUZZ_SECONDS each, built with
# clang, AddressSanitizer and UndefinedBehaviorSanitizer. Seeds: fuzz/corpus/
# and the bundled examples; what the fuzzers learn stays in the build folder.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 30
FUZZ_TARGETS  = proxy_curve simulation_curve pole_data intensity_data horizon_file
FUZZ_SEEDS_proxy_curve      = examples/proxy
FUZZ_SEEDS_simulation_curve = examples/proxy
FUZZ_SEEDS_pole_data        = examples/geomag
FUZZ_SEEDS_intensity_data   = examples/geomag
FUZZ_FLAGS = -max_total_time=$(FUZZ_SECONDS) -timeout=10 -detect_leaks=1 -rss_limit_mb=2048 -print_final_stats=1

fuzz: deps
	@test -f $(FUZZ_BUILD)/build.ninja || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja \
	  -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQEX_FUZZ=ON -DQEX_SANITIZE=ON -DQEX_BUILD_GUI=OFF \
	  -DQEX_BUILD_TESTS=OFF -DQEX_BUILD_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/crashes; \
	  seeds=""; case $$t in \
	    proxy_curve) seeds="$(FUZZ_SEEDS_proxy_curve)";; simulation_curve) seeds="$(FUZZ_SEEDS_simulation_curve)";; \
	    pole_data) seeds="$(FUZZ_SEEDS_pole_data)";; intensity_data) seeds="$(FUZZ_SEEDS_intensity_data)";; \
	  esac; \
	  log=$(FUZZ_BUILD)/fuzz_$$t.log; \
	  if ! $(FUZZ_BUILD)/fuzz/fuzz_$$t $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t $$seeds $(FUZZ_FLAGS) \
	       -artifact_prefix=$(FUZZ_BUILD)/crashes/$$t- > $$log 2>&1; then \
	    tail -n 60 $$log; echo "fuzz_$$t failed; the input is in $(FUZZ_BUILD)/crashes/"; exit 1; \
	  fi; \
	  printf '%-22s %s\n' "fuzz_$$t:" "$$(grep -E '^Done [0-9]+ runs' $$log)"; \
	done

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD)
