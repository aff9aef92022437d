#!/usr/bin/env bash
# Builds the Debian package renkomi_<version>_amd64.deb from a Release build, in
# this folder: the game among the system's games, for every user of the machine.
#
#   ./package.sh            then: sudo apt install ./renkomi_2.0.0_amd64.deb
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
# dpkg-shlibdeps (dpkg-dev) computes the package's Depends from the binary.
renkomi_install_deps dpkg-dev

# Debian's hardening flags, as a package built by Debian's own tools gets them.
# Given on every configure, since CMake reads the environment's only once.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
# ccache where it is installed and its cache takes this user's files.
launcher=()
probe=$(mktemp -d)
echo 'int renkomi_probe;' >"$probe/probe.cpp"
if command -v ccache >/dev/null 2>&1 && ccache c++ -c "$probe/probe.cpp" -o "$probe/probe.o" 2>/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
rm -rf "$probe"
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DRENKOMI_SYSTEM_INSTALL=ON \
  -DRENKOMI_BUILD_TESTS=OFF -DRENKOMI_BUILD_BENCH=OFF "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" >/dev/null
cmake --build build-package -j "$(nproc)"
(cd build-package && cpack -G DEB >/dev/null)
deb=$(cd build-package && ls renkomi_*_*.deb)
mv -f "build-package/$deb" .
echo "Package: $PWD/$deb"
