#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks it file by file: the programs, the
# shipped files, the desktop entry and AppStream metadata (validated), the icons, the man pages;
# then runs the installed programs once.
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null

expected="usr/bin/quillftp
usr/bin/quillftp-cli
usr/share/applications/org.quillftp.QuillFtp.desktop
usr/share/bash-completion/completions/quillftp-cli
usr/share/icons/hicolor/128x128/apps/org.quillftp.QuillFtp.png
usr/share/icons/hicolor/16x16/apps/org.quillftp.QuillFtp.png
usr/share/icons/hicolor/24x24/apps/org.quillftp.QuillFtp.png
usr/share/icons/hicolor/256x256/apps/org.quillftp.QuillFtp.png
usr/share/icons/hicolor/32x32/apps/org.quillftp.QuillFtp.png
usr/share/icons/hicolor/48x48/apps/org.quillftp.QuillFtp.png
usr/share/icons/hicolor/64x64/apps/org.quillftp.QuillFtp.png
usr/share/icons/hicolor/scalable/apps/org.quillftp.QuillFtp.svg
usr/share/doc/quillftp/changelog.gz
usr/share/doc/quillftp/copyright
usr/share/man/man1/quillftp-cli.1.gz
usr/share/man/man1/quillftp.1.gz
usr/share/metainfo/org.quillftp.QuillFtp.metainfo.xml
usr/share/quillftp/FAQ.htm
usr/share/quillftp/def_book20.dat
usr/share/quillftp/def_quillftp.ini
usr/share/quillftp/help.htm
usr/share/quillftp/translations/quillftp_de.qm
usr/share/quillftp/translations/quillftp_fr.qm
usr/share/zsh/vendor-completions/_quillftp-cli"
actual=$(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$(echo "$expected" | LC_ALL=C sort)" ]; then
    echo "installed files differ from the expected ones:"
    diff <(echo "$expected" | LC_ALL=C sort) <(echo "$actual") || true
    exit 1
fi
for program in quillftp quillftp-cli; do
    [ -x "$stage/usr/bin/$program" ] || { echo "$program is not executable"; exit 1; }
done
grep -qx 'Exec=quillftp %u' "$stage/usr/share/applications/org.quillftp.QuillFtp.desktop"
grep -qx 'MimeType=x-scheme-handler/ftp;x-scheme-handler/sftp;' "$stage/usr/share/applications/org.quillftp.QuillFtp.desktop"
desktop-file-validate "$stage/usr/share/applications/org.quillftp.QuillFtp.desktop"
appstreamcli validate --no-net "$stage/usr/share/metainfo/org.quillftp.QuillFtp.metainfo.xml" >/dev/null
for size in 16 24 32 48 64 128 256; do
    head -c 8 "$stage/usr/share/icons/hicolor/${size}x${size}/apps/org.quillftp.QuillFtp.png" | grep -q PNG
done
bash -n "$stage/usr/share/bash-completion/completions/quillftp-cli"
zsh -n "$stage/usr/share/zsh/vendor-completions/_quillftp-cli"
man -l "$stage/usr/share/man/man1/quillftp.1.gz" >/dev/null 2>&1 || zcat "$stage/usr/share/man/man1/quillftp.1.gz" | groff -man -Tutf8 >/dev/null

# The installed programs run, and find their shipped files in share/quillftp: the defaults land in
# the data directory on the first start.
home=$stage/home
mkdir -p "$home"
"$stage/usr/bin/quillftp-cli" --help >/dev/null 2>&1
QUILLFTP_HOME=$home "$stage/usr/bin/quillftp-cli" broken >/dev/null 2>&1
cmp "$home/quillftp.ini" "$stage/usr/share/quillftp/def_quillftp.ini" >/dev/null ||
    grep -q . "$home/quillftp.ini"
cmp "$home/book20.dat" "$stage/usr/share/quillftp/def_book20.dat"
# ... and their translations there.
refused=$(LANG=de_DE.UTF-8 LANGUAGE= LC_ALL= LC_MESSAGES= QUILLFTP_HOME=$home "$stage/usr/bin/quillftp-cli" --bogus 2>&1 || true)
grep -q 'unbekannte Option' <<<"$refused" || { echo "not in German: $refused"; exit 1; }
echo "installed and checked: $(echo "$actual" | wc -l) files"
