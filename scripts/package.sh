#!/bin/bash
# Builds what an operator installs, after scripts/build.sh, into build/dist:
#   qzkeepset-setup-<version>.exe  the installer (installer/qzkeepset.nsi)
#   qzkeepset-<version>.zip        the portable archive: the program and
#                                  both language libraries, to unpack into
#                                  any folder
# The version is the project version of CMakeLists.txt, as the build put it
# into build/win/res/Version.h (and so into the files' VERSIONINFO).
set -euo pipefail
cd "$(dirname "$0")/.."

bin=build/win/bin
header=build/win/res/Version.h
files=(qzkeepset.exe qzkeep_dt.dll qzkeep_fr.dll)
for file in "${files[@]}" ; do
  [ -f "$bin/$file" ] || { echo "package.sh: $bin/$file is missing: run scripts/build.sh first" >&2; exit 1; }
done
version=$(sed -n 's/^#define QZ_VERSION_TEXT "\(.*\)"$/\1/p' "$header" 2>/dev/null || true)
[ -n "$version" ] || { echo "package.sh: no version in $header: run scripts/build.sh first" >&2; exit 1; }

dist=build/dist
mkdir -p "$dist"
setup=$dist/qzkeepset-setup-$version.exe
archive=$dist/qzkeepset-$version.zip
rm -f "$setup" "$archive"

# What is shipped: the built files without their debugging information.
stage=$dist/stage
rm -rf "$stage"
mkdir -p "$stage"
for file in "${files[@]}"; do
  x86_64-w64-mingw32-strip -o "$stage/$file" "$bin/$file"
done

makensis -V2 -NOCD -DVERSION="$version" -DBINDIR="$PWD/$stage" -DOUTFILE="$PWD/$setup" installer/qzkeepset.nsi
# -X: no Unix extra fields in the archive.
(cd "$stage" && zip -q -X "$OLDPWD/$archive" "${files[@]}")
rm -rf "$stage"

echo "$setup"
echo "$archive"
