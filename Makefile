# QEX front door. `make run` and `make test` work on a fresh Debian 12 machine:
# they install the Debian packages that are missing (as root), configure,
# build, and run.

BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=
# Warnings are errors where we ask for them (make test, sanitize, fuzz, CI),
# never in a user's or packager's build. WERROR=ON or OFF also switches an
# existing build folder.
WERROR     ?=
PREFIX     ?= /usr/local

# Debian packages the build, the tests, the benchmarks and the package need
# (CPack reads the programs with `file` before dpkg-shlibdeps; the figures
# draw with cairo, write PNG with libpng and set their texts in DejaVu Sans).
PACKAGES = build-essential cmake ninja-build pkg-config \
           qt6-base-dev qt6-charts-dev libqt6opengl6-dev qt6-svg-dev libgl-dev libx11-dev libxkbcommon-dev \
           libcli11-dev nlohmann-json3-dev python3-jsonschema libgtest-dev libgmock-dev libbenchmark-dev \
           libcairo2-dev libpng-dev fonts-dejavu-core libboost-dev \
           clang libclang-rt-14-dev file

QEXCLI = $(BUILD)/cli/qexcli
QEX    = $(BUILD)/app/qex
WORK   = $(BUILD)/work

.PHONY: all deps configure build test run gui bench sanitize fuzz clean install package \
        check-packages fresh-check print-packages

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

# Configures FOLDER with the given arguments when it has no build.ninja yet,
# and makes an existing one follow WERROR when WERROR is given.
define configure_folder
	@if [ ! -f $(1)/build.ninja ]; then \
	  echo "cmake -S . -B $(1) -G Ninja $(2) -DQEX_WERROR=$(or $(WERROR),OFF)"; \
	  $(3) cmake -S . -B $(1) -G Ninja $(2) -DQEX_WERROR=$(or $(WERROR),OFF); \
	elif [ -n "$(WERROR)" ] && ! grep -qx 'QEX_WERROR:BOOL=$(WERROR)' $(1)/CMakeCache.txt; then \
	  echo "cmake -S . -B $(1) -DQEX_WERROR=$(WERROR)"; \
	  cmake -S . -B $(1) -DQEX_WERROR=$(WERROR); \
	fi
endef

configure: deps
	$(call configure_folder,$(BUILD),-DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS))

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: WERROR = ON
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The headline calculation: the simulation dialog's default sample on the
# bundled LR04 stack, with uncertainties; the report goes under the build folder.
RUN_REPORT = $(BUILD)/run/LR04-report.txt

run: configure
	cmake --build $(BUILD) -j $(JOBS) --target qexcli
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
SANITIZE_ENV    = ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
                  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp

sanitize: WERROR = ON
sanitize: deps
	$(call configure_folder,$(SANITIZE_BUILD),-DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQEX_SANITIZE=ON -DQEX_BUILD_GUI=OFF -DQEX_BUILD_BENCH=OFF)
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) ctest --output-on-failure -j $(JOBS)

# libFuzzer on every reader of outside text, FUZZ_SECONDS each, built with
# clang, AddressSanitizer and UndefinedBehaviorSanitizer. Seeds: fuzz/corpus/<target>/,
# none longer than FUZZ_MAX_LEN (cuts of the bundled examples, so that every
# reader runs at thousands of inputs a second); what the fuzzers learn stays
# in the build folder. A new reader is a target here and a seed folder there.
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 30
FUZZ_MAX_LEN ?= 4096
FUZZ_TARGETS  = proxy_curve simulation_curve pole_data intensity_data horizon_file batch_csv \
                samples_v3 samples_expage samples_v2 samples_icetea samples_crep samples_csv \
                group_summary
FUZZ_FLAGS = -max_total_time=$(FUZZ_SECONDS) -max_len=$(FUZZ_MAX_LEN) -timeout=10 -detect_leaks=1 -rss_limit_mb=2048 -print_final_stats=1

# The archiver is binutils' (from build-essential): CMake would otherwise take
# LLVM's wherever one happens to be installed, and the build would differ
# from machine to machine.
fuzz: WERROR = ON
fuzz: deps
	$(call configure_folder,$(FUZZ_BUILD),-DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQEX_FUZZ=ON -DQEX_SANITIZE=ON -DQEX_BUILD_GUI=OFF -DQEX_BUILD_TESTS=OFF -DQEX_BUILD_BENCH=OFF -DCMAKE_AR=/usr/bin/ar -DCMAKE_RANLIB=/usr/bin/ranlib,CC=clang CXX=clang++)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/crashes; \
	  log=$(FUZZ_BUILD)/fuzz_$$t.log; \
	  if ! $(FUZZ_BUILD)/fuzz/fuzz_$$t $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t $(FUZZ_FLAGS) \
	       -artifact_prefix=$(FUZZ_BUILD)/crashes/$$t- > $$log 2>&1; then \
	    tail -n 60 $$log; echo "fuzz_$$t failed; the input is in $(FUZZ_BUILD)/crashes/"; exit 1; \
	  fi; \
	  printf '%-22s %s, %s exec/s\n' "fuzz_$$t:" "$$(grep -E '^Done [0-9]+ runs' $$log)" \
	    "$$(sed -n 's/^stat::average_exec_per_sec: *//p' $$log)"; \
	done

# Installs qex, qexcli, the desktop entry, icons, metainfo, man pages, the
# bundled data and the documentation under PREFIX (DESTDIR is honoured).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package, qex_VERSION_ARCH.deb, built the way distributions build:
# a Release build with Debian's hardening flags, in a folder of its own.
PACKAGE_BUILD ?= build-package
DEB_FLAGS      = CFLAGS="$$(dpkg-buildflags --get CFLAGS)" CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)"

package: deps
	$(call configure_folder,$(PACKAGE_BUILD),-DCMAKE_BUILD_TYPE=Release -DQEX_BUILD_TESTS=OFF -DQEX_BUILD_BENCH=OFF,$(DEB_FLAGS))
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB
	@cp $(PACKAGE_BUILD)/qex_*.deb .
	@echo "Package: $$(ls qex_*.deb)"

# Every Debian package owning a file a build used (CMake package files,
# headers, linked libraries, the tools) must be in PACKAGES or a hard
# dependency of one; run after the builds it checks.
check-packages:
	tools/check-packages "$(PACKAGES)" $(wildcard $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD))

print-packages:
	@echo $(PACKAGES)

# The front door on a bare Debian 12 (debootstrap, minbase): the README's two
# commands, then the package installed on another bare root. Slow; as root.
fresh-check:
	tools/fresh-check

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) $(PACKAGE_BUILD)
