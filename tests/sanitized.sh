#!/bin/sh
# The test runner of the sanitizer build: every report of AddressSanitizer,
# LeakSanitizer or UndefinedBehaviorSanitizer ends the process with exit
# value 66, which no run of the game gives, so that it fails its test. Leaks
# count, except those Debian's libraries leak themselves (lsan.supp).
here=$(dirname "$0")
ASAN_OPTIONS=exitcode=66:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
UBSAN_OPTIONS=exitcode=66:halt_on_error=1:print_stacktrace=1
LSAN_OPTIONS=exitcode=66:suppressions=$here/lsan.supp:print_suppressions=0
export ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS
exec sh "$here/headless.sh" "$@"
