#!/bin/sh
# run_unprivileged.sh PROGRAM [ARGUMENTS...]: runs a test program as an
# unprivileged user. Root, whom CI runs as, may write anything, so faults of
# permission only show under another user: e2e/wayland/session.sh's, with no
# compositor.
ORLO_COMPOSITOR=none exec "$(dirname "$0")/e2e/wayland/session.sh" "$@"
