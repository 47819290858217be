# The two commands: `make run` runs the demo, `make test` runs every test.
# `make run ARCH=win64` runs the 64-bit build; the default is the 32-bit one.
.PHONY: test run build dist bench bench-frame soak clean

test:
	@bash scripts/test.sh

run:
	@bash scripts/run.sh $(ARCH)

build:
	@bash scripts/setup.sh && bash scripts/build.sh

# The zip for Windows users: build/dist/Vorl-<version>-win32.zip.
dist:
	@bash scripts/dist.sh

# The frame's own work and one bare advance pass, repetitions of the two in turn.
bench:
	@bash scripts/setup.sh && bash scripts/build.sh native && ./build/native/bin/vorl_bench \
	  --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true

# Whole frames under Wine and Xvfb: the program against its floor, and memory.
bench-frame:
	@bash scripts/bench_frame.sh

# The long random run: 2,000 actions of users and Windows, the working set every 100.
soak:
	@bash scripts/soak.sh $(ARCH)

clean:
	rm -rf build
