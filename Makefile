# Set-up, build, install and test on Debian 12. Missing packages are installed
# through sudo when not run as root.
#   make run      set up, build the program, lay out the program folder and start it
#   make install  the same without starting it; also puts "Mirelo进销存" in the
#                 desktop's application menu (a desktop entry and an icon for the user)
#   make test     set up, build everything and run every test
#   make bench    set up, build the benchmarks and time the program on a generated
#                 ten-year shop, then on one with four times the bills, with a column
#                 of the growth (SCALE=N: only the shop of N times the bills; ENGINE=pg:
#                 the ten-year shop on a throwaway PostgreSQL server beside the file)
# PROGRAM_DIR chooses the program folder (default ~/Kestrova).

PROGRAM_DIR ?= $(HOME)/Kestrova
BUILD_DIR   ?= build
JOBS        ?= $(shell nproc 2>/dev/null || echo 2)
# Where the desktop looks for the user's application entries and icons.
DATA_HOME   := $(or $(XDG_DATA_HOME),$(HOME)/.local/share)

PACKAGES := build-essential cmake qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libsqlite3-dev \
            qt6-qpa-plugins libgl-dev fonts-wqy-microhei fonts-arphic-ukai fonts-arphic-uming \
            fonts-noto-cjk fontconfig xdg-utils qt6-translations-l10n poppler-utils \
            postgresql libqt6sql6-psql \
            pkg-config libxlsxwriter-dev libzip-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all setup configure program build install run test bench clean

all: build

setup:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -q && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing; \
	fi

# Configured once; later builds re-run CMake themselves when a CMakeLists changes.
configure: setup
	@test -f $(BUILD_DIR)/CMakeCache.txt || cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

# What the program needs, nothing more: the tests come with `make test`, the
# benchmarks with `make bench`.
program: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target Kestrova assets

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The user's Kestrova.mdb and Kestrova.ini are never replaced: the delivered
# database is copied only when the folder has none. Report templates the user
# may have changed in the designer are kept the same way; one still exactly as
# an earlier version delivered it (resources/delivered-templates.sha256) is updated.
# Books copied in are the user's alone (0600) from their first byte, as the
# program keeps them; the folder holds the program and keeps the umask's mode.
install: program
	install -d "$(PROGRAM_DIR)" "$(PROGRAM_DIR)/Res" "$(PROGRAM_DIR)/Frf"
	install -m 755 $(BUILD_DIR)/Kestrova "$(PROGRAM_DIR)/Kestrova"
	cp -R $(BUILD_DIR)/Res/. "$(PROGRAM_DIR)/Res/"
	rm -f "$(PROGRAM_DIR)/Res/.stamp"
	cp -Rn resources/Frf/. "$(PROGRAM_DIR)/Frf/"
	rm -f "$(PROGRAM_DIR)/Frf/.keep"
	@# A template still exactly as an earlier version delivered it gets this version's.
	@for f in resources/Frf/*.frf; do \
	  n=$$(basename "$$f"); t="$(PROGRAM_DIR)/Frf/$$n"; \
	  if [ -f "$$t" ] && ! cmp -s "$$f" "$$t" && \
	     grep -qx "$$(sha256sum < "$$t" | cut -c1-64)  $$n" resources/delivered-templates.sha256; then \
	    cp "$$f" "$$t.new" && mv "$$t.new" "$$t" && echo "Updated $$t (unchanged since it was delivered)"; \
	  fi; \
	done
	@if [ -e "$(PROGRAM_DIR)/Kestrova.mdb" ]; then \
	  echo "Keeping the existing $(PROGRAM_DIR)/Kestrova.mdb"; \
	else \
	  rm -f "$(PROGRAM_DIR)/.Kestrova.mdb.new" && \
	  (umask 077 && cp $(BUILD_DIR)/Kestrova.mdb "$(PROGRAM_DIR)/.Kestrova.mdb.new") && \
	  chmod 600 "$(PROGRAM_DIR)/.Kestrova.mdb.new" && \
	  mv -n "$(PROGRAM_DIR)/.Kestrova.mdb.new" "$(PROGRAM_DIR)/Kestrova.mdb" && \
	  rm -f "$(PROGRAM_DIR)/.Kestrova.mdb.new"; \
	fi
	sh src/tools/install-desktop-entry.sh "$$(cd "$(PROGRAM_DIR)" && pwd -P)/Kestrova" $(BUILD_DIR)/Kestrova.png "$(DATA_HOME)"

run: install
	cd "$(PROGRAM_DIR)" && ./Kestrova

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Each shop is made once into the build folder and reused; the benchmark works on a copy.
SCALE ?=
BENCH := $(BUILD_DIR)/kestrova-bench
shop = $(BUILD_DIR)/bench-shop$(if $(filter-out 1,$(1)),-x$(1))

bench: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks
ifeq ($(ENGINE),pg)
	sh tests/support/pg-throwaway.sh start $(BUILD_DIR)/bench-postgres.info
	$(BENCH) $(call shop,1) 1 --server $(BUILD_DIR)/bench-postgres.info; status=$$?; \
	  sh tests/support/pg-throwaway.sh stop $(BUILD_DIR)/bench-postgres.info; exit $$status
else ifeq ($(SCALE),)
	$(BENCH) $(call shop,1) 1 --medians $(BUILD_DIR)/bench-medians-1x.tsv
	$(BENCH) $(call shop,4) 4 --against $(BUILD_DIR)/bench-medians-1x.tsv
else
	$(BENCH) $(call shop,$(SCALE)) $(SCALE)
endif

clean:
	rm -rf $(BUILD_DIR)
