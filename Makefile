# PELK: the two entry points of a fresh Debian machine.
#   make run   installs what is missing, builds, runs PELK on a bundled example
#   make test  installs what is missing, builds under ASan+UBSan, runs every test,
#              then runs the threading tests under ThreadSanitizer

# Debian packages the build and the tests need.
PACKAGES := cmake g++ make qt6-base-dev qt6-base-dev-tools libbenchmark-dev

JOBS ?= $(shell nproc)
BUILD_DIR ?= build
TEST_BUILD_DIR ?= build-test
TSAN_BUILD_DIR ?= build-tsan
EXAMPLE ?= examples/workspace.txt

SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: run test tsan deps build build-test clean

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

build-test: deps
	cmake -S . -B $(TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DPELK_SANITIZE=ON
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)

# Until the desktop program exists, "run" reads the bundled example
# workspace and writes it back to standard output as PELK saves it.
run: build
	@echo "PELK (headless for now): reading $(EXAMPLE) and writing it back as PELK saves it"
	$(BUILD_DIR)/src/app/pelk-cli print $(EXAMPLE)

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

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(TSAN_BUILD_DIR)
