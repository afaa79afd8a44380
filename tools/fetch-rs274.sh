#!/bin/sh
# Fetches LinuxCNC's standalone RS274NGC interpreter rs274 from the Debian archive and unpacks it
# into a folder, without installing anything, so that the toolpath of an RS274NGC program can be
# compared with what LinuxCNC makes of it.
#
#   tools/fetch-rs274.sh FOLDER [TOOLS]
#
# FOLDER/rs274 then runs the interpreter (it sets the library path itself), FOLDER/tool.tbl holds
# tools 1..TOOLS (default 99) of length 0 and diameter 0: what a reader cannot know is zero.
set -eu

folder=${1:?usage: fetch-rs274.sh FOLDER [TOOLS]}
tools=${2:-99}
packages="linuxcnc-uspace libboost-python1.74.0"

mkdir -p "$folder/debs"
folder=$(cd "$folder" && pwd)
cd "$folder/debs"
for package in $packages; do
    ls "$package"_*.deb >/dev/null 2>&1 || apt-get download "$package" 2>/dev/null || {
        echo "fetch-rs274: could not download $package (apt-get update, or no network?)" >&2
        exit 1
    }
done

rm -rf "$folder/root.new"
for deb in *.deb; do dpkg -x "$deb" "$folder/root.new"; done
rm -rf "$folder/root"
mv "$folder/root.new" "$folder/root"

multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
libraries="$folder/root/usr/lib:$folder/root/usr/lib/$multiarch"
missing=$(LD_LIBRARY_PATH="$libraries" ldd "$folder/root/usr/bin/rs274" | awk '/not found/ {print $1}')
if [ -n "$missing" ]; then
    echo "fetch-rs274: rs274 needs libraries this machine lacks:" $missing >&2
    echo "fetch-rs274: download their packages into $folder/debs (apt-get download) and run again" >&2
    exit 1
fi

cat >"$folder/rs274" <<WRAPPER
#!/bin/sh
LD_LIBRARY_PATH="$libraries\${LD_LIBRARY_PATH:+:\$LD_LIBRARY_PATH}" exec "$folder/root/usr/bin/rs274" "\$@"
WRAPPER
chmod +x "$folder/rs274"

: >"$folder/tool.tbl.new"
tool=1
while [ "$tool" -le "$tools" ]; do
    echo "T$tool P$tool Z0 D0" >>"$folder/tool.tbl.new"
    tool=$((tool + 1))
done
mv "$folder/tool.tbl.new" "$folder/tool.tbl"
echo "rs274: $folder/rs274 -t $folder/tool.tbl -g FILE"
