# make run   installs what is missing, builds, and converts the bundled sample
# make test  installs what is missing, builds, and runs every test
# make bench prints every step as a ratio to the codec floor
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo

.PHONY: all setup build run test bench clean

all: build

setup:
	bash scripts/setup

build: setup
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build $(BUILD_DIR)

run: build
	bash scripts/run-sample $(BUILD_DIR)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j 2

# make install [PREFIX=/usr/local] [DESTDIR=...]  installs the programs, the help,
# the man pages, the desktop entry, the icons and the bash completion
PREFIX ?= /usr/local
.PHONY: install
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

bench: build
	$(BUILD_DIR)/bench/korvanel_ratio_bench

clean:
	rm -rf $(BUILD_DIR)
