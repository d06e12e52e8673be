#!/usr/bin/env bash
# Builds the .deb from a configured build folder (default build/) and checks
# it the way a distribution would: unpacks it into a scratch root, validates
# the menu entry and the AppStream file, and runs the installed command-line
# program once.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
rm -f "$build"/parvolin_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/parvolin_*.deb)
echo "package: $deb"
dpkg-deb --field "$deb" Depends

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

app=cz.parvolin.Parvolin
desktop-file-validate "$root/usr/share/applications/$app.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app.metainfo.xml" >/dev/null
for file in usr/bin/parvolin usr/bin/parvolin-cli usr/share/man/man1/parvolin-cli.1 \
            usr/share/icons/hicolor/scalable/apps/$app.svg \
            usr/share/icons/hicolor/48x48/apps/$app.png \
            usr/share/parvolin/help/index.html usr/lib/parvolin/parvolin_pdf.so; do
    test -e "$root/$file" || { echo "missing in the package: /$file"; exit 1; }
done

expected="x1= 2  x2= 1."
actual=$("$root/usr/bin/parvolin-cli" solve --sep , 1 -3 2 | sed -n 5p)
if [ "$actual" != "$expected" ]; then
    echo "installed parvolin-cli printed «$actual», expected «$expected»"
    exit 1
fi
# The PDF module is found beside the installed program, not in the build tree.
pdf=$root/worksheet.pdf
"$root/usr/bin/parvolin-cli" worksheet --count 2 --seed 1 --format pdf -o "$pdf"
[[ $(head -c 5 "$pdf") == "%PDF-" ]] || { echo "the installed parvolin-cli made no PDF worksheet"; exit 1; }
echo "package check passed"
