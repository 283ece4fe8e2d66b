#!/bin/sh
# The Debian package as the packaging tests make and check it.
#   package.sh build <cpack> <CPackConfig.cmake> <dir>
#       makes the package in <dir> (emptied first)
#   package.sh again <cpack> <CPackConfig.cmake> <dir> <first dir>
#       makes it once more, at least a second later so that any time stamp
#       taken from the clock would differ, and compares the bytes
#   package.sh lint <dir>
#       lintian: errors and warnings fail; pedantic and informational tags
#       are shown for the log
set -eu
# The package build sets the time stamp itself; one from the caller would
# hide it.
unset SOURCE_DATE_EPOCH

make_package() {
  rm -rf "$3"
  mkdir -p "$(dirname "$3")"
  "$1" -G DEB --config "$2" -B "$3" >"$3.log" 2>&1 || { cat "$3.log"; exit 1; }
}

case $1 in
  build) make_package "$2" "$3" "$4" ;;
  again)
    sleep 1.1
    make_package "$2" "$3" "$4"
    cmp "$5"/*.deb "$4"/*.deb
    echo "same bytes: $(basename "$4"/*.deb)" ;;
  lint) lintian --pedantic --display-info --fail-on error,warning "$2"/*.deb ;;
  *) echo "unknown mode: $1" >&2; exit 2 ;;
esac
