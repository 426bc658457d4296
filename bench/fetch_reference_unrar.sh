#!/usr/bin/env bash
# Fetches Debian's `unrar` (non-free) into a private folder for the unpack benchmark's
# reference column. Nothing on the system changes: apt runs with its own sources file, state
# and cache under DIR, and the package is only unpacked (dpkg -x), never installed.
# Usage: bench/fetch_reference_unrar.sh DIR   -> prints the path of the unrar binary
# (unpack_bench looks in BUILD/reference-unrar, BUILD being its build folder)
set -euo pipefail
dir=$(realpath -m "${1:?usage: fetch_reference_unrar.sh DIR}")
bin="$dir/root/usr/bin/unrar-nonfree"
if [ -x "$bin" ]; then
  echo "$bin"
  exit 0
fi
mkdir -p "$dir/etc/preferences.d" "$dir/state/lists/partial" "$dir/cache/archives/partial" \
  "$dir/debs" "$dir/root"
cat >"$dir/etc/sources.list" <<SOURCES
deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm non-free
SOURCES
: >"$dir/state/status"
apt_opts=(-o "Dir::Etc::SourceList=$dir/etc/sources.list" -o "Dir::Etc::SourceParts=-"
  -o "Dir::Etc::PreferencesParts=$dir/etc/preferences.d" -o "Dir::State=$dir/state"
  -o "Dir::State::status=$dir/state/status" -o "Dir::Cache=$dir/cache" -o "APT::Get::List-Cleanup=0")
apt-get "${apt_opts[@]}" update -qq >&2
(cd "$dir/debs" && apt-get "${apt_opts[@]}" download unrar >&2)
dpkg -x "$dir"/debs/unrar_*.deb "$dir/root"
"$bin" >/dev/null 2>&1 || true
test -x "$bin"
echo "$bin"
