# shellcheck shell=bash
# noise SIZE SEED: SIZE bytes that look random and do not compress, the same
# for the same SEED on every run, so that a check that fails once fails again.
noise() {
  python3 -c 'import random, sys; sys.stdout.buffer.write(random.Random(int(sys.argv[2])).randbytes(int(sys.argv[1])))' \
    "$1" "$2"
}
