#!/usr/bin/env bash
# Makes the Debian package from the build, checks what it holds and what lintian says of it,
# then installs it into a throw-away root with dpkg and runs the installed quillftp-cli there.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null)
package=$(ls "$work"/out/quillftp_*_amd64.deb)

contents=$(dpkg-deb -c "$package" | awk '{print $6}')
for file in ./usr/bin/quillftp ./usr/bin/quillftp-cli ./usr/share/applications/org.quillftp.QuillFtp.desktop \
    ./usr/share/metainfo/org.quillftp.QuillFtp.metainfo.xml ./usr/share/icons/hicolor/scalable/apps/org.quillftp.QuillFtp.svg \
    ./usr/share/man/man1/quillftp.1.gz ./usr/share/man/man1/quillftp-cli.1.gz ./usr/share/doc/quillftp/copyright \
    ./usr/share/doc/quillftp/changelog.gz; do
    grep -qx "$file" <<<"$contents" || { echo "the package holds no $file"; exit 1; }
done
# Nothing of the tests or the benchmarks goes in.
if grep -E 'test|bench|screenshot' <<<"$contents"; then
    echo "the package holds files of the tests or benchmarks"
    exit 1
fi
# The libraries' packages computed, the plugins loaded at run time named.
depends=$(dpkg-deb -f "$package" Depends)
for needed in libqt6widgets6 libssh-4 libssl3 libqt6sql6-sqlite qt6-qpa-plugins; do
    grep -q "$needed" <<<"$depends" || { echo "Depends lacks $needed: $depends"; exit 1; }
done
lintian --fail-on error "$package" 2> >(grep -v 'root privileges' >&2)

root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status"
# The root holds no other package: the libraries are this machine's.
dpkg --root="$root" --force-depends --force-not-root -i "$package" >/dev/null 2>&1
[ "$(dpkg --root="$root" -s quillftp | sed -n 's/^Status: //p')" = "install ok installed" ]
"$root/usr/bin/quillftp-cli" --version | grep -q '^quillftp-cli '
refused=$(LANG=fr_FR.UTF-8 LANGUAGE= LC_ALL= LC_MESSAGES= "$root/usr/bin/quillftp-cli" --bogus 2>&1 || true)
grep -q 'option inconnue' <<<"$refused" || { echo "not in French: $refused"; exit 1; }
echo "package checked: $(basename "$package")"
