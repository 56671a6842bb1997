# Two entry points for a fresh Debian 12 machine:
#   make run    installs what is missing, builds and starts Tarnwick
#   make test   installs what is missing, builds and runs every test,
#               then builds and runs them again with AddressSanitizer and
#               UndefinedBehaviorSanitizer, and checks the C++ lines changed
#               against main with clang-tidy (make tidy)
# and, beside them:
#   make install [PREFIX=/usr/local]   builds and installs the programs,
#               desktop entry, icon, AppStream record and manual pages
#   make package                       builds the Debian package tarnwick_*.deb
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
CMAKE_GENERATOR ?= Ninja
PREFIX ?= /usr/local

.PHONY: deps build run test test-fast test-asan tidy bench install package clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G $(CMAKE_GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-tarnwick.sh $(BUILD) $(ARGS)

test-fast: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G $(CMAKE_GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	QT_QPA_PLATFORM=offscreen \
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

tidy: build
	scripts/check-tidy.sh $(BUILD)

test: test-fast test-asan tidy

bench: build
	@scripts/install-deps.sh hyperfine time xvfb ripgrep
	bench/run-all.sh $(BUILD)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

package: build
	cmake --build $(BUILD) --target package
	@ls $(BUILD)/tarnwick_*.deb

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
