#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs the whole test suite there, on a virtual display when
# there is no display. Arguments go to ctest.
#
# The demo binaries the tests start are sanitized too. A sanitizer error or
# a leak ends any program with exit code 66, which no program here uses, so
# the test that ran it fails. Leaks that belong to the engine, Mesa or the
# system libraries are suppressed in tests/sanitizers/lsan.supp.
#
# Mesa unloads its OpenGL driver when a window closes, and what the driver
# keeps in its static data would then show up as leaks of an unknown module:
# the driver is preloaded so that it stays, with its data, until the end
# (verify_asan_link_order=0 lets it stand before the sanitizer runtime).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-asan

"$root/scripts/setup.sh"
export ASAN_OPTIONS="exitcode=66:detect_leaks=1:check_initialization_order=1:strict_string_checks=1:verify_asan_link_order=0"
export UBSAN_OPTIONS="exitcode=66:halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="exitcode=66:suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
cmake -S "$root" -B "$build" -DSANITIZE=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
cd "$build"
mesa_driver=$(find /usr/lib -name swrast_dri.so -path '*/dri/*' | head -n 1)
"$root/scripts/with-display.sh" env LD_PRELOAD="$mesa_driver" ctest --output-on-failure "$@"
