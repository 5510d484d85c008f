# PELK: the two entry points of a fresh Debian machine.
#   make run   installs what is missing, builds, runs PELK on a bundled example
#   make test  installs what is missing, builds under ASan+UBSan, runs every test,
#              then runs the threading tests under ThreadSanitizer
#   make fuzz  fuzzes the workspace reader and the formula parser (not part of make test)
#   make package  builds the Debian package pelk_<version>_<architecture>.deb here

# Debian packages the build and the tests need: the Qt 6 libraries and tools,
# Qt Charts (the plots' axes and series; its CMake package needs Qt OpenGL's,
# which Debian does not pull in) and Qt SVG (plots saved as drawings), Qt's
# help generator (the help collection is built with the program) and its
# help viewer (Help > Contents), Boost.Math (the digamma function of the
# objective's gradient), Google Benchmark, a virtual X display for machines
# without one, fonts metric-compatible with Arial, the font of PELK's report
# and tool bars, the validators of the installed desktop entry and AppStream
# metainfo (the install test), and dpkg-dev, whose dpkg-shlibdeps finds the
# Debian package's dependencies.
PACKAGES := cmake g++ make qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev \
            qt6-svg-dev qt6-documentation-tools assistant-qt6 \
            libboost-math-dev libbenchmark-dev xvfb xauth fonts-liberation2 \
            desktop-file-utils appstream dpkg-dev

JOBS ?= $(shell nproc)
BUILD_DIR ?= build
TEST_BUILD_DIR ?= build-test
TSAN_BUILD_DIR ?= build-tsan
BENCH_BUILD_DIR ?= build-bench
COVERAGE_BUILD_DIR ?= build-coverage
FUZZ_BUILD_DIR ?= build-fuzz
PACKAGE_BUILD_DIR ?= build-package
# Fuzzing time per target, in seconds (make fuzz FUZZ_SECONDS=600 for longer).
FUZZ_SECONDS ?= 90
EXAMPLE ?= examples/two-sample-capture.txt

SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: run test tsan bench coverage fuzz package deps build build-test clean

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "Installing missing Debian packages:$$missing"; \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -q && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELK_BUILD_TESTS=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The benchmarks are compiled here too (not run), so that a change that
# breaks them fails the suite rather than the next `make bench`.
build-test: deps
	cmake -S . -B $(TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DPELK_SANITIZE=ON -DPELK_BUILD_BENCH=ON
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)

# Starts PELK on the bundled example workspace. Without a display it runs on
# a virtual one (nothing to see; stop it with Ctrl-C).
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	    $(BUILD_DIR)/src/app/pelk $(EXAMPLE); \
	else \
	    echo "No display: starting PELK on a virtual X display (Ctrl-C stops it)"; \
	    xvfb-run -a $(BUILD_DIR)/src/app/pelk $(EXAMPLE); \
	fi

# The ASan+UBSan suite first, then the threading tests under TSan; the
# target fails when either fails.
test: build-test
	cd $(TEST_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory tsan

# ThreadSanitizer cannot share a build with ASan, and only the tests labelled
# "threads" exercise the worker thread, so this build compiles just those
# (a test is named after its executable) and runs them.
tsan: deps
	cmake -S . -B $(TSAN_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DPELK_TSAN=ON -DPELK_SANITIZE=OFF
	targets=$$(cd $(TSAN_BUILD_DIR) && ctest -N -L threads | sed -n 's/^ *Test *#[0-9]*: *//p'); \
	test -n "$$targets" || { echo "No test is labelled threads"; exit 1; }; \
	cmake --build $(TSAN_BUILD_DIR) -j $(JOBS) --target $$targets
	cd $(TSAN_BUILD_DIR) && ctest --output-on-failure -j $(JOBS) -L threads --no-tests=error

# Speed of the objective and its gradient, of whole estimations, of the
# stages and the whole process of `pelk-cli estimate`, and of reading large
# workspaces, in an optimised build.
bench: deps
	cmake -S . -B $(BENCH_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DPELK_BUILD_TESTS=OFF -DPELK_BUILD_BENCH=ON
	cmake --build $(BENCH_BUILD_DIR) -j $(JOBS) --target bench_capturerecapture bench_readworkspace
	$(BENCH_BUILD_DIR)/bench/bench_capturerecapture
	$(BENCH_BUILD_DIR)/bench/bench_readworkspace

# What the suite reaches of src/: line and branch coverage as text (printed
# and in $(COVERAGE_BUILD_DIR)/coverage/summary.txt) and as HTML pages
# ($(COVERAGE_BUILD_DIR)/coverage/index.html). Branches that only exist
# for exceptions the compiler adds are left out of the branch count. The
# compiler cache is bypassed: gcov must find the sources by the paths the
# compiler saw, which a cache may have rewritten.
coverage:
	$(MAKE) --no-print-directory deps PACKAGES="$(PACKAGES) gcovr"
	cmake -S . -B $(COVERAGE_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DPELK_COVERAGE=ON -DPELK_SANITIZE=OFF
	CCACHE_DISABLE=1 cmake --build $(COVERAGE_BUILD_DIR) -j $(JOBS)
	find $(COVERAGE_BUILD_DIR) -name '*.gcda' -delete
	cd $(COVERAGE_BUILD_DIR) && ctest -j $(JOBS) --output-on-failure
	mkdir -p $(COVERAGE_BUILD_DIR)/coverage
	gcovr --root . --object-directory $(COVERAGE_BUILD_DIR) --filter 'src/' \
	    --exclude-throw-branches --exclude-unreachable-branches \
	    --txt $(COVERAGE_BUILD_DIR)/coverage/summary.txt \
	    --html-details $(COVERAGE_BUILD_DIR)/coverage/index.html --print-summary

# libFuzzer targets (fuzz/): each runs FUZZ_SECONDS; the target fails on any
# crash, sanitizer report, leak, hang or broken round trip. Only this target
# needs clang and its fuzzer runtime, so only it installs them.
fuzz: PACKAGES += clang libclang-rt-14-dev
fuzz: deps
	cmake -S . -B $(FUZZ_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	    -DPELK_BUILD_TESTS=OFF -DPELK_BUILD_FUZZ=ON
	cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS) --target fuzz_workspace fuzz_formula
	fuzz/run-fuzzers.sh $(FUZZ_BUILD_DIR) $(FUZZ_SECONDS)

# The Debian package of an optimised build installed under /usr, with the
# dependencies dpkg-shlibdeps finds; `apt install ./pelk_*.deb` installs it
# with them.
package: deps
	cmake -S . -B $(PACKAGE_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DPELK_BUILD_TESTS=OFF
	cmake --build $(PACKAGE_BUILD_DIR) -j $(JOBS)
	cd $(PACKAGE_BUILD_DIR) && cpack -G DEB
	cp $(PACKAGE_BUILD_DIR)/pelk_*.deb .

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(TSAN_BUILD_DIR) $(BENCH_BUILD_DIR) $(COVERAGE_BUILD_DIR) \
	    $(FUZZ_BUILD_DIR) $(PACKAGE_BUILD_DIR)
