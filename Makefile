# Quillmark: the two commands
#   make run    set up, build and start the desktop application on the bundled sample
#   make test   set up, build with sanitizers and run every test
#   make bench  build optimised and run the benchmarks

BUILD_DIR      := build
TEST_BUILD_DIR := build-test
JOBS           ?= $(shell nproc)

# Debian packages the project needs to build and test.
PACKAGES := cmake ninja-build ccache g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev libqscintilla2-qt6-dev libx11-dev xvfb xauth xdotool xclip poppler-utils \
            libxlsxwriter-dev unzip desktop-file-utils dpkg-dev libgl1-mesa-dri libgl-dev

.PHONY: setup build run test bench install package clean reference reference-data compare-reference \
        mutation-check

setup:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else \
	    echo "Missing packages. Install them with:"; \
	    echo "  sudo apt-get install$$missing"; \
	    exit 1; \
	  fi; \
	fi

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQM_BUILD_TESTS=OFF

build: setup $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD_DIR)/bin/quillmark $(BUILD_DIR)/bin/SAMPLE.MIN; \
	else \
	  echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): the desktop application cannot start here."; \
	  echo "The sample converted by quillmark-convert instead:"; echo; \
	  $(BUILD_DIR)/bin/quillmark-convert $(BUILD_DIR)/bin/SAMPLE.MIN; \
	fi

$(TEST_BUILD_DIR)/build.ninja:
	cmake -S . -B $(TEST_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE=ON -DQM_WERROR=ON -DQM_BUILD_BENCH=OFF

test: setup $(TEST_BUILD_DIR)/build.ninja
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	cd $(TEST_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD_DIR)/bin/quillmark-bench
	$(BUILD_DIR)/bin/quillmark-window-bench
	$(BUILD_DIR)/bin/quillmark-missing-bench
	$(BUILD_DIR)/bin/quillmark-toolpath-bench --reference $(REFERENCE_DIR)
	QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1000x24" $(BUILD_DIR)/bin/quillmark-toolpath-window-bench

# make mutation-check [ONLY=REGEX]: each change of tools/mutations.txt, applied to a copy of the
# tree in build-mutation/, must fail the tests (not part of make test).
mutation-check: setup
	tools/mutation-check -j $(JOBS) $(if $(ONLY),--only '$(ONLY)')

# LinuxCNC's standalone interpreter rs274, the yardstick for --toolpath: fetched from the Debian
# archive and unpacked into $(REFERENCE_DIR), not installed. Tools 1..REFERENCE_TOOLS of length 0
# and diameter 0 in its tool table.
REFERENCE_DIR   := $(BUILD_DIR)/reference
REFERENCE_TOOLS ?= 99
REFERENCE_FILES := $(wildcard tests/interpreter/reference/*.ngc)
FILES           ?= $(filter-out %_sub.ngc,$(REFERENCE_FILES))

reference: $(REFERENCE_DIR)/rs274

$(REFERENCE_DIR)/rs274: tools/fetch-rs274.sh
	tools/fetch-rs274.sh $(REFERENCE_DIR) $(REFERENCE_TOOLS)

# make reference-data: the expected moves of the reference programs (NAME.ngc -> NAME.csv),
# written from rs274's output.
reference-data: reference
	tools/rs274-reference.py expected --reference $(REFERENCE_DIR) $(FILES)

# make compare-reference [FILES=...]: quillmark-convert --toolpath against rs274, move by move.
compare-reference: reference build
	tools/rs274-reference.py compare --reference $(REFERENCE_DIR) --converter $(BUILD_DIR)/bin/quillmark-convert $(FILES)

# make install PREFIX=/opt/quillmark: the programs, data, desktop entry, icon and manual page.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# make package: the Debian packages quillmark and quillmark-convert, written to $(BUILD_DIR).
package: build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) build-mutation
