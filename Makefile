# Thin wrapper over CMake so that one command installs, builds and tests.
BUILD ?= build
JOBS ?= $(shell nproc)

DEBIAN_PACKAGES = build-essential cmake pkg-config unixodbc unixodbc-dev libsqliteodbc tdsodbc \
                  nlohmann-json3-dev libcli11-dev libgtest-dev libgmock-dev \
                  libwxgtk3.2-dev xvfb xauth

.PHONY: all deps build test test-unit test-tsan bench clean

all: build

deps:
	@if [ "$$(id -u)" = 0 ] && command -v apt-get >/dev/null; then \
	    missing=$$(for p in $(DEBIAN_PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	    if [ -n "$$missing" ]; then \
	        apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	    fi; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

test: test-unit test-tsan

test-unit: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The tests that run threads, once more under ThreadSanitizer.
THREAD_TESTS = Parallel|Pool|Thread
test-tsan: deps
	cmake --preset tsan
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && TSAN_OPTIONS="halt_on_error=1" ctest --output-on-failure -j $(JOBS) -R '$(THREAD_TESTS)'

# Export benchmarks on synthetic catalog snapshots (bench/run); never part of the tests.
bench: deps
	bench/run

clean:
	rm -rf $(BUILD) build-tsan
