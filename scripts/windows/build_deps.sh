#!/usr/bin/env bash
# Cross-builds the libraries the Windows build links (zlib, libjpeg-turbo, libogg, libvorbis,
# SDL2) from Debian's sources, as static libraries with pkg-config files, into
# BUILD_DIR/deps/prefix.
# Usage: scripts/windows/build_deps.sh [BUILD_DIR]   (default: build-windows in the checkout)
#
# The sources come through a private apt configuration under BUILD_DIR/deps/apt (its own
# sources file, lists, cache and state): the system's sources lists are neither read nor
# written. A package is built once; its stamp holds the version and the recipe, so a second
# run does nothing and a changed recipe builds that package again. PLASMORA_DEPS_REFRESH=yes
# also looks up the versions in the private lists and builds what Debian has updated.
set -euo pipefail
shopt -s inherit_errexit

repo=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$(realpath -m "${1:-$repo/build-windows}")
deps=$build_dir/deps
prefix=$deps/prefix
toolchain=$repo/cmake/mingw-w64-x86_64.cmake
triple=x86_64-w64-mingw32
jobs=${PLASMORA_JOBS:-2}

# Source package name, then the recipe (changing it rebuilds the package).
packages=(zlib libjpeg-turbo libogg libvorbis libsdl2)
declare -A recipe=(
  [zlib]="configure --static"
  [libjpeg-turbo]="cmake -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF
    -DWITH_SIMD=OFF"
  [libogg]="cmake -DBUILD_SHARED_LIBS=OFF -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF"
  [libvorbis]="cmake -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF"
  # SDL whole: its table of every function refers to the Windows video part, so no part of it
  # can be left out.
  [libsdl2]="cmake -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON"
)

mkdir -p "$deps/stamps" "$deps/src" "$deps/build" "$prefix"

stamp_of() { cat "$deps/stamps/$1" 2>/dev/null || true; }
# Arguments every CMake-built package gets; part of each stamp too.
cmake_common="-DCMAKE_BUILD_TYPE=Release"
recipe_of() { echo "$cmake_common|$(echo ${recipe[$1]})"; }
want_stamp() { echo "$1|$(recipe_of "$2")"; }

# --- Private apt ----------------------------------------------------------------------------
apt_dir=$deps/apt
apt_args=(
  -o "Dir::Etc::sourcelist=$apt_dir/plasmora-sources.sources"
  -o "Dir::Etc::sourceparts=$apt_dir/sources.list.d"
  -o "Dir::State=$apt_dir/state"
  -o "Dir::State::Lists=$apt_dir/state/lists"
  -o "Dir::State::status=$apt_dir/state/status"
  -o "Dir::Cache=$apt_dir/cache"
  -o "APT::Get::Only-Source=true"
)
if [ "$(id -u)" -eq 0 ]; then
  # Downloads into folders that apt's own download user cannot write.
  apt_args+=(-o "APT::Sandbox::User=root")
fi

apt_ready=no
private_apt() {
  if [ $apt_ready = no ]; then
    mkdir -p "$apt_dir/sources.list.d" "$apt_dir/state/lists/partial" \
      "$apt_dir/cache/archives/partial"
    touch "$apt_dir/state/status"
    cat >"$apt_dir/plasmora-sources.sources" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    if ! ls "$apt_dir/state/lists/"*Sources* >/dev/null 2>&1; then
      apt-get "${apt_args[@]}" -qq update
    fi
    apt_ready=yes
  fi
  "$@"
}

# The newest version of a source package that the private lists offer.
source_version() {
  local best="" v
  for v in $(private_apt apt-cache "${apt_args[@]}" showsrc "$1" 2>/dev/null |
    awk '/^Package:/ {p = $2} /^Version:/ && p == "'"$1"'" {print $2}'); do
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
  done
  echo "$best"
}

# Fetches and unpacks a source package into deps/src; prints its folder.
fetch_source() {
  local name=$1 version=$2 dir
  dir=$deps/src/$name-${version#*:}
  if [ ! -f "$dir/.unpacked" ]; then
    rm -rf "$dir" "$deps/src/fetch-$name"
    mkdir -p "$deps/src/fetch-$name"
    # A version gone from the mirror after an update of the lists: fetch the lists again.
    local get=(private_apt apt-get "${apt_args[@]}" -qq)
    cd "$deps/src/fetch-$name"
    if ! "${get[@]}" source --download-only "$name=$version" >/dev/null; then
      "${get[@]}" update
      "${get[@]}" source --download-only "$name=$version" >/dev/null
    fi
    cd - >/dev/null
    dpkg-source --no-check -x "$deps/src/fetch-$name/"*.dsc "$dir" >/dev/null
    rm -rf "$deps/src/fetch-$name"
    touch "$dir/.unpacked"
  fi
  echo "$dir"
}

cross_env=(
  CC=$triple-gcc-posix CXX=$triple-g++-posix AR=$triple-ar RANLIB=$triple-ranlib
  RC=$triple-windres
  PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig PKG_CONFIG_PATH= PLASMORA_WINDOWS_PREFIX=$prefix
)

build_package() {
  local name=$1 src=$2 work=$deps/build/$1
  local kind args
  read -r kind args <<<"$(echo ${recipe[$name]})"
  rm -rf "$work"
  mkdir -p "$work"
  case $kind in
    configure)
      # zlib's own configure: CHOST names the target, --static leaves out the DLL.
      (cd "$work" && env "${cross_env[@]}" CHOST=$triple CFLAGS="-O2" \
        "$src/configure" --prefix="$prefix" $args >configure.log 2>&1 &&
        make -j"$jobs" >build.log 2>&1 && make install >>build.log 2>&1)
      ;;
    cmake)
      (cd "$work" && env "${cross_env[@]}" cmake -S "$src" -B . -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DPLASMORA_WINDOWS_PREFIX="$prefix" \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" $cmake_common $args \
        >configure.log 2>&1 &&
        cmake --build . -j"$jobs" >build.log 2>&1 &&
        cmake --install . >>build.log 2>&1)
      ;;
  esac
}

for name in "${packages[@]}"; do
  # Known and built: nothing to look up.
  current=$(stamp_of "$name")
  if [ -n "$current" ] && [ "${current#*|}" = "$(recipe_of "$name")" ] &&
    [ "${PLASMORA_DEPS_REFRESH:-no}" = no ]; then
    continue
  fi
  version=$(source_version "$name")
  if [ -z "$version" ]; then
    echo "build_deps: no source package $name in the private apt lists (is deb.debian.org" \
      "reachable?)" >&2
    exit 1
  fi
  if [ "$current" = "$(want_stamp "$version" "$name")" ]; then
    continue
  fi
  echo "build_deps: $name $version" >&2
  src=$(fetch_source "$name" "$version")
  start=$SECONDS
  if ! build_package "$name" "$src"; then
    echo "build_deps: $name failed; logs in $deps/build/$name" >&2
    tail -20 "$deps/build/$name/"*.log >&2 || true
    exit 1
  fi
  want_stamp "$version" "$name" >"$deps/stamps/$name"
  echo "build_deps: $name done in $((SECONDS - start)) s" >&2
done

# What the cross build reads: every library static, every .pc file in the prefix.
for pc in zlib libjpeg ogg vorbis vorbisfile sdl2; do
  if [ ! -f "$prefix/lib/pkgconfig/$pc.pc" ]; then
    echo "build_deps: $prefix/lib/pkgconfig/$pc.pc is missing" >&2
    exit 1
  fi
done
if ls "$prefix"/bin/*.dll "$prefix"/lib/*.dll.a >/dev/null 2>&1; then
  echo "build_deps: a DLL was built; the prefix must hold static libraries only" >&2
  exit 1
fi
