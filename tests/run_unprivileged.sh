#!/bin/sh
# run_unprivileged.sh PROGRAM [ARGUMENTS...]: runs a test program as an
# unprivileged user. Root, whom CI runs as, may write anything, so faults of
# permission only show under another user. Not root, it runs as it is.
set -eu
[ "$(id -u)" -ne 0 ] && exec "$@"
command -v setpriv >/dev/null || exit 77
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$1" "$dir/"
program="$dir/$(basename "$1")"
shift
# The leak checker's suppressions (the sanitizer build), where that user can read them.
supp=$(printf '%s' "${LSAN_OPTIONS:-}" | sed -n 's/^\(.*:\)*suppressions=\([^:]*\).*/\2/p')
if [ -n "$supp" ]; then
    cp "$supp" "$dir/lsan.supp"
    LSAN_OPTIONS=$(printf '%s' "$LSAN_OPTIONS" | sed "s#\(^\|:\)suppressions=[^:]*#\1suppressions=$dir/lsan.supp#")
fi
chown -R nobody: "$dir"
setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups \
    env HOME="$dir" TMPDIR="$dir" XDG_RUNTIME_DIR="$dir" "$program" "$@"
