#!/usr/bin/env bash
# Checks the Debian package as a user meets it: unpacked, run, and read by Debian's own validators.
# Usage: check_package.sh STEP BUILD_DIR WORK_DIR VERSION SOURCE_DIR
set -euo pipefail

step=$1 build=$2 work=$3 version=$4 source=$5
root=$work/root
deb=$build/tablix_${version}_$(dpkg --print-architecture).deb

fail() { echo "check_package: $*" >&2; exit 1; }

# Fills a data folder as a user would by hand, with the given tool and default data.
fill_data() {
  local cli=$1 data=$2 dir=$3
  mkdir -p "$dir"
  "$cli" --workdir "$dir" params load "$data/params.json"
  cp "$data"/tablix_lng.eng "$data"/tablix_lng.pol "$dir"/
  "$cli" project load "$data/examples/shop-front.json" -o "$dir/shop-front.tab"
}

case $step in
unpack)
  [ -f "$deb" ] || fail "no package $deb"
  rm -rf "$work"
  mkdir -p "$work"
  dpkg-deb -x "$deb" "$root"
  ;;

contents)
  for f in usr/bin/tablix usr/bin/tablix-cli \
           usr/share/tablix/params.json usr/share/tablix/tablix_lng.eng usr/share/tablix/tablix_lng.pol \
           usr/share/tablix/examples/shop-front.json \
           usr/share/applications/org.tablix.Tablix.desktop usr/share/metainfo/org.tablix.Tablix.metainfo.xml \
           usr/share/mime/packages/org.tablix.Tablix.xml usr/share/icons/hicolor/scalable/apps/org.tablix.Tablix.svg \
           usr/share/man/man1/tablix.1.gz usr/share/man/man1/tablix-cli.1.gz \
           usr/share/doc/tablix/copyright usr/share/doc/tablix/changelog.gz; do
    [ -s "$root/$f" ] || fail "missing or empty in the package: /$f"
  done
  for exe in tablix tablix-cli; do
    if ldd "$root/usr/bin/$exe" | grep -q 'not found'; then
      ldd "$root/usr/bin/$exe" >&2
      fail "$exe needs a library this machine lacks"
    fi
  done
  depends=$(dpkg-deb -f "$deb" Depends)
  for p in libqt6widgets6 libqt6core6 qt6-qpa-plugins qt6-translations-l10n; do
    [[ $depends == *"$p"* ]] || fail "Depends lacks $p: $depends"
  done
  ;;

cli)
  cli=$root/usr/bin/tablix-cli
  got=$("$cli" --version)
  [ "$got" = "tablix-cli $version" ] || fail "--version says '$got', not 'tablix-cli $version'"
  # The unpacked tool with the packaged data must price the example as the build tree does.
  fill_data "$cli" "$root/usr/share/tablix" "$work/data"
  fill_data "$build/tablix-cli" "$source/data" "$work/expected"
  "$cli" --workdir "$work/data" cost "$work/data/shop-front.tab" --sign 1 > "$work/cost.txt"
  "$build/tablix-cli" --workdir "$work/expected" cost "$work/expected/shop-front.tab" --sign 1 > "$work/expected.txt"
  grep -q '[0-9]\.[0-9][0-9]' "$work/cost.txt" || fail "the cost report holds no amount"
  diff -u "$work/expected.txt" "$work/cost.txt" || fail "the packaged tool prices the example differently"
  ;;

desktop)
  desktop-file-validate "$root/usr/share/applications/org.tablix.Tablix.desktop"
  grep -qx 'Exec=tablix %f' "$root/usr/share/applications/org.tablix.Tablix.desktop" || fail "Exec line"
  ;;

metainfo)
  appstreamcli validate --no-net "$root/usr/share/metainfo/org.tablix.Tablix.metainfo.xml"
  grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/org.tablix.Tablix.metainfo.xml" \
    || fail "the metainfo's release is not $version"
  ;;

mime)
  # The desktop's own database compiler must map *.tab to the project type.
  rm -rf "$work/mime"
  mkdir -p "$work/mime/packages"
  cp "$root/usr/share/mime/packages/org.tablix.Tablix.xml" "$work/mime/packages/"
  update-mime-database "$work/mime"
  grep -q ':application/x-tablix-project:\*\.tab$' "$work/mime/globs2" || fail "*.tab is not a project"
  [ -f "$work/mime/application/x-tablix-project.xml" ] || fail "no compiled project type"
  ;;

icons)
  for size in 16 24 32 48 64 128 256 512; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/org.tablix.Tablix.png
    file "$png" | grep -q "PNG image data, $size x $size," || fail "$png: $(file -b "$png")"
  done
  ;;

lintian)
  # Errors fail; so do the hardening tags, which lintian reports only as information.
  report=$(lintian --fail-on error --display-info --no-tag-display-limit "$deb") || { echo "$report"; fail "lintian errors"; }
  echo "$report"
  if grep -E 'hardening-no-(bindnow|fortify-functions|relro|pie)' <<<"$report"; then
    fail "the binaries are built without the distribution's hardening flags"
  fi
  ;;

*)
  fail "unknown step $step"
  ;;
esac
