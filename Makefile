# The two commands a newcomer needs: `make run` and `make test`.
# Both install what is missing, configure and build first.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# cmake --build runs make again below this one; without this every step of it is wrapped
# in "Entering directory" lines that bury the progress.
MAKEFLAGS  += --no-print-directory

.PHONY: all setup configure build run test sanitize bench package format clean

all: build

setup:
	@bash scripts/setup.sh

$(BUILD)/CMakeCache.txt:
	@echo "== configuring into $(BUILD)/"
	cmake -S . -B $(BUILD) $(CMAKE_ARGS)

configure: setup $(BUILD)/CMakeCache.txt

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

# The unit and widget tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: setup
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -L unit -j $(JOBS)

# The Debian package, built from `cmake --install`; packaging/check-package.sh tries it out.
package: build
	@echo "== building the Debian package in $(BUILD)/"
	@rm -f $(BUILD)/quorvane_*.deb
	cd $(BUILD) && cpack -G DEB

bench: build
	./$(BUILD)/bench/quorvane_bench

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
