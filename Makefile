# The two commands: `make run` runs the demo, `make test` runs every test.
.PHONY: test run build bench clean

test:
	@bash scripts/test.sh

run:
	@bash scripts/run.sh

build:
	@bash scripts/setup.sh && bash scripts/build.sh

bench:
	@bash scripts/setup.sh && bash scripts/build.sh native && ./build/native/bin/vorl_bench

clean:
	rm -rf build
