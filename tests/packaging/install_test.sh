#!/bin/bash
# `cmake --install` of this build into a scratch root, checked as an installed tree.
# Usage: install_test.sh BUILD_DIR LIBDIR. Exit 77 (skip) without xvfb-run or xwininfo.
set -u
build=$1
libdir=$2
for tool in xvfb-run xwininfo; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is needed"; exit 77; }
done
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr >"$root/install.log" 2>&1 ||
  { cat "$root/install.log"; exit 1; }
"$(dirname "$0")/installed_tree_check.sh" "$root/usr" "$libdir" && echo "the installed tree runs"
