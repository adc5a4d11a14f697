# Thin wrapper over CMake so that one command installs, builds and tests.
BUILD ?= build
JOBS ?= $(shell nproc)

DEBIAN_PACKAGES = build-essential cmake pkg-config unixodbc unixodbc-dev libsqliteodbc tdsodbc \
                  nlohmann-json3-dev libcli11-dev libgtest-dev libgmock-dev

.PHONY: all deps build test clean

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

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
