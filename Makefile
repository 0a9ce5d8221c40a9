# SPDX-FileCopyrightText: 2026 Quorvane developers <developers@quorvane.org>
# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands a newcomer needs: `make run` and `make test`.
# Both install what is missing, configure and build first.

BUILD      ?= build
ASAN_BUILD ?= build-asan
# The package is built with the program alone: no tests, nothing but Qt and libxcb.
PACKAGE_BUILD ?= build-package
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# cmake --build runs make again below this one; without this every step of it is wrapped
# in "Entering directory" lines that bury the progress.
MAKEFLAGS  += --no-print-directory

.PHONY: all setup configure build run test sanitize bench package format clean

all: build

setup:
	@bash scripts/setup.sh

# Configured every time, so that changed CMAKE_ARGS (CI's warnings as errors among them)
# reach a build folder made before; on a configured folder this takes a second or two.
configure: setup
	@echo "== configuring into $(BUILD)/"
	cmake -S . -B $(BUILD) $(CMAKE_ARGS)

build: configure
	@echo "== building with $(JOBS) jobs (a first build takes one to two minutes, later ones seconds)"
	@start=$$(date +%s); cmake --build $(BUILD) -j $(JOBS) && \
	  echo "== build done in $$(( $$(date +%s) - start )) s"

run: build
	@echo "== starting Quorvane"
	./$(BUILD)/src/quorvane

test: build
	@echo "== running the tests"
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The unit and widget tests again, and one end-to-end test of the program, built with
# AddressSanitizer and UndefinedBehaviorSanitizer. Only what runs is built.
sanitize: setup
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON $(SANITIZE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target quorvane_unit_tests quorvane tst_e2e
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 \
	  LSAN_OPTIONS="suppressions='$(CURDIR)/tests/lsan.supp':print_suppressions=0" \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -L 'unit|sanitized' -j $(JOBS)

# The Debian package, built from `cmake --install`; packaging/check-package.sh tries it out.
package: setup
	@echo "== building the Debian package in $(PACKAGE_BUILD)/"
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF $(PACKAGE_ARGS)
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	@rm -f $(PACKAGE_BUILD)/quorvane_*.deb
	cd $(PACKAGE_BUILD) && cpack -G DEB

bench: build
	./$(BUILD)/bench/quorvane_bench

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(PACKAGE_BUILD)
