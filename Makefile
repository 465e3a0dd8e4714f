# Set-up and everyday commands. `make demo` and `make test` work on a new machine.
BUILD ?= build
BUILD_SAN ?= build-san
BUILD_FUZZ ?= build-fuzz
# Seconds each fuzz target runs in `make fuzz` (CI) and in `make fuzz-long` (before a release).
FUZZ_SECONDS ?= 60
FUZZ_LONG_SECONDS ?= 600
# The machines have two cores shared with others: never more than two jobs.
JOBS ?= 2
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
# libzip-dev (with pkgconf to find it): reading makers' luminaire containers (.gldf, zip archives);
# the installed program needs libzip4 at run time beside libtinyxml2.6.2v5 and Qt 6.
PACKAGES := cmake g++ make libtinyxml-dev libzip-dev pkgconf qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
            libbenchmark-dev clang libclang-rt-14-dev fonts-dejavu-core
# What `make package` needs beside the build: dpkg-shlibdeps (and `file`, which cpack uses with it)
# finds the libraries the package depends on.
PACKAGE_PACKAGES := dpkg-dev file
# The other programs the tests check the program's output with (see README): installed by
# `make test`, so no test is skipped for want of one.
TEST_PACKAGES := libxml2-utils python3-ezdxf librecad poppler-utils locales xvfb libgl1-mesa-dri \
                 desktop-file-utils appstream libglib2.0-bin shared-mime-info man-db lintian \
                 $(PACKAGE_PACKAGES)
# Where `make install` puts the program (bin/, share/).
PREFIX ?= /usr/local

BUILD_WIN ?= build-windows
# The Windows build: Debian's MinGW-w64 cross compiler, Wine to run it, dpkg-source to unpack
# TinyXML's Debian source and GoogleTest's source package.
WINDOWS_PACKAGES := g++-mingw-w64-x86-64 wine64 dpkg-dev googletest

.PHONY: deps test-deps deps-windows build build-program test test-san monkey-long demo gui bench fuzz fuzz-long \
        fuzz-build windows test-windows clean install package

# Installs those of the given packages that are missing.
define install_missing
	@missing=$$(for p in $(1); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES))

test-deps:
	$(call install_missing,$(PACKAGES) $(TEST_PACKAGES))

deps-windows:
	$(call install_missing,$(WINDOWS_PACKAGES))

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# Only the program (and its manual): what the demo and the desktop program need.
build-program: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target orvantis

test: test-deps build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-san: test-deps
	cmake -S . -B $(BUILD_SAN) -DCMAKE_BUILD_TYPE=Debug -DORVANTIS_SANITIZE=address,undefined \
	  -DORVANTIS_MONKEY_TESTS=ON
	cmake --build $(BUILD_SAN) -j $(JOBS)
	cd $(BUILD_SAN) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# Random input on the desktop program for 10 minutes in the sanitizer build under a virtual X
# server (test-san runs three seeds of 20 s). MONKEY_SEED
# replays a run.
MONKEY_SECONDS ?= 600
MONKEY_SEED ?= $(shell date +%s)
monkey-long: test-deps
	cmake -S . -B $(BUILD_SAN) -DCMAKE_BUILD_TYPE=Debug -DORVANTIS_SANITIZE=address,undefined
	cmake --build $(BUILD_SAN) -j $(JOBS) --target orvantis orvantis_tests_ui
	ORVANTIS_MONKEY_SECONDS=$(MONKEY_SECONDS) ORVANTIS_MONKEY_SEED=$(MONKEY_SEED) QT_QPA_PLATFORM=xcb \
	  QT_XCB_GL_INTEGRATION=none ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/ui/gl_leaks.supp \
	  xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD_SAN)/tests/orvantis_tests_ui --gtest_filter=MonkeyTest.*

# Benchmarks, each side by side with its baseline in one run (takes several minutes: the
# reference calculation is the slow baseline). Every one runs; the target fails if one fails.
bench: build
	@status=0; \
	$(BUILD)/bench/orvantis_bench_grid || status=1; \
	$(BUILD)/bench/orvantis_bench_report || status=1; \
	$(BUILD)/bench/orvantis_bench_variants || status=1; \
	$(BUILD)/bench/orvantis_bench_pdf || status=1; \
	$(BUILD)/bench/orvantis_bench_dxf || status=1; \
	$(BUILD)/bench/orvantis_bench_countheavy || status=1; \
	$(BUILD)/bench/orvantis_bench_import || status=1; \
	if [ -x $(BUILD)/bench/orvantis_bench_render ]; then $(BUILD)/bench/orvantis_bench_render || status=1; fi; \
	if [ -x $(BUILD)/bench/orvantis_bench_recalc ]; then $(BUILD)/bench/orvantis_bench_recalc || status=1; fi; \
	if [ -x $(BUILD)/bench/orvantis_bench_open ]; then $(BUILD)/bench/orvantis_bench_open || status=1; fi; \
	exit $$status

# The program, its manual, the sample building, the menu entry, icons, file type, manual page and
# completion under PREFIX (a folder of your own needs no root: make install PREFIX=~/.local).
install: build-program
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, $(BUILD)/orvantis_<version>_<arch>.deb. Built from the whole build, so that
# the manual holds its pictures (the desktop program's tests make them).
package: build
	$(call install_missing,$(PACKAGE_PACKAGES))
	cd $(BUILD) && cpack -G DEB

demo: build-program
	@sh examples/run-demo.sh $(BUILD)/orvantis

gui: build-program
	$(BUILD)/orvantis

# Every fuzz target (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) for
# FUZZ_SECONDS each; fails when any of them finds a fault.
fuzz-build: deps
	cmake -S fuzz -B $(BUILD_FUZZ) -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(BUILD_FUZZ) -j $(JOBS)

fuzz: fuzz-build
	fuzz/run-fuzz.sh $(BUILD_FUZZ) $(FUZZ_SECONDS)

# orvantis.exe, the batch-only program for 64-bit Windows, in $(BUILD_WIN)/.
windows: deps-windows
	sh windows/fetch-tinyxml.sh $(BUILD_WIN)/tinyxml-src
	cmake -S windows -B $(BUILD_WIN) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake \
	  -DTINYXML_SOURCE_DIR=$(CURDIR)/$(BUILD_WIN)/tinyxml-src
	cmake --build $(BUILD_WIN) -j $(JOBS) --target orvantis

# The core's tests and the batch commands under Wine, compared with the Linux program.
test-windows: windows build-program
	cmake --build $(BUILD_WIN) -j $(JOBS)
	sh windows/test-windows.sh $(BUILD_WIN) $(BUILD)/orvantis

# The same targets for FUZZ_LONG_SECONDS each (an hour in all with the default), before a release:
# faults that need many mutations of a seeded element are found in minutes, not in one.
fuzz-long: fuzz-build
	fuzz/run-fuzz.sh $(BUILD_FUZZ) $(FUZZ_LONG_SECONDS)

clean:
	rm -rf $(BUILD) $(BUILD_SAN) $(BUILD_FUZZ) $(BUILD_WIN)
