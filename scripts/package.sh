#!/usr/bin/env bash
# Makes the release archives a Windows user takes: dist/Folvane-<version>-win64.zip (the program
# for 64-bit Windows) and -win32.zip (for 32-bit Windows), each with the program, its help page
# and a short Japanese read-me, and dist/SHA256SUMS; and the manifests by which package managers
# install them from where they are published: dist/folvane.json for Scoop, and dist/winget/ for
# winget (version, installer and default-locale files).
#
#   FOLVANE_RELEASE_URL=https://…/v1.1.0 scripts/package.sh
#
# FOLVANE_RELEASE_URL is the address of the folder the archives are published in; without it the
# manifests name a placeholder that no package manager can reach.
# With FOLVANE_PACKAGE_CHECK=1 (the test command sets it), the 64-bit archive is then unpacked into a fresh folder and the program started from
# there under Wine: it must ask for the user password, as on every first start.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/setup.sh
source scripts/build.sh

version=$(sed -n 's/^project(Folvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n $version ]] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }
mkdir -p dist
rm -f dist/Folvane-*.zip dist/SHA256SUMS

# Every file of an archive carries the time of the last commit, so the same sources give the
# same archive.
stamp=$(git log -1 --format=%cd --date=format:%Y%m%d%H%M.%S 2>/dev/null || date +%Y%m%d%H%M.%S)

for arch in win64 win32; do
  folvane_build "$arch" Folvane >/dev/null
  stage=$(mktemp -d)
  cp "build/$arch/Folvane.exe" "$stage/"
  cp app/res/folvane.html "$stage/"
  # Notepad on every Windows reads UTF-8 with a byte-order mark and CR LF line ends.
  { printf '\xef\xbb\xbf'; sed 's/$/\r/' app/res/readme.txt; } >"$stage/readme.txt"
  TZ=UTC touch -t "$stamp" "$stage"/*
  archive=$root/dist/Folvane-$version-$arch.zip
  (cd "$stage" && TZ=UTC zip -q -X -D "$archive" Folvane.exe folvane.html readme.txt)
  rm -rf "$stage"
  echo "package: dist/$(basename "$archive")"
done
(cd dist && sha256sum Folvane-"$version"-*.zip >SHA256SUMS)
echo "package: dist/SHA256SUMS"

release=${FOLVANE_RELEASE_URL:-https://releases.example.invalid/folvane/v$version}
/usr/bin/python3 scripts/manifests.py write dist "$version" "${release%/}"
/usr/bin/python3 scripts/manifests.py check dist "$version"

if [[ ${FOLVANE_PACKAGE_CHECK:-0} == 1 ]]; then
  folvane_build win64 folvane_e2e >/dev/null
  unpacked=$(mktemp -d)
  source scripts/wine_env.sh win64
  trap 'wine_env_stop; rm -rf "$unpacked"' EXIT
  unzip -q "dist/Folvane-$version-win64.zip" -d "$unpacked"
  for file in Folvane.exe folvane.html readme.txt; do
    [[ -f $unpacked/$file ]] || { echo "package: $file is not in the archive" >&2; exit 1; }
  done
  FOLVANE_UNPACKED=$unpacked wine build/win64/folvane_e2e.exe --gtest_filter='Package.*' \
    --gtest_brief=1
  echo "package: the unpacked 64-bit program starts and asks for the user password"
fi
