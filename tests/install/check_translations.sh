#!/usr/bin/env bash
# The translations are complete: lupdate, run over the sources as the update_translations
# target runs it, finds every text the code marks already translated in each .ts file, none
# unfinished and none that the code no longer has; every translation keeps its source's %1..%9,
# its access key and its line breaks.
#   check_translations.sh BUILD_DIR LUPDATE
set -euo pipefail
build=$(realpath "$1")
lupdate=$2
source=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source"/translations/quillftp_*.ts "$work"/
"$lupdate" -silent -tr-function-alias translate+=Tr -locations none -I "$source/src" \
    @"$build/translations/sources.lst" \
    -ts "$work"/quillftp_*.ts
python3 - "$work"/quillftp_*.ts <<'PYTHON'
import re, sys
import xml.etree.ElementTree as ET

def text(element):
    if element is None:
        return ""
    out = element.text or ""
    for child in element:
        out += (chr(int(child.get("value").lstrip("x"), 16)) if child.tag == "byte" else "") + (child.tail or "")
    return out

def keys(s):
    return sorted(set(re.findall(r"%\d", s)))

def access_keys(s):
    return len(re.findall(r"&", s.replace("&&", "")))

problems = []
for path in sys.argv[1:]:
    name = path.rsplit("/", 1)[-1]
    count = 0
    for context in ET.parse(path).getroot().iter("context"):
        where = context.findtext("name")
        for message in context.iter("message"):
            count += 1
            source = text(message.find("source"))
            translation = message.find("translation")
            kind = translation.get("type") if translation is not None else "missing"
            translated = text(translation)
            label = f"{name} {where}: {source!r}"
            if kind in ("unfinished", "missing") or not translated:
                problems.append(f"{label}: not translated")
            elif kind in ("vanished", "obsolete"):
                problems.append(f"{label}: no longer in the code (run: cmake --build build --target update_translations)")
            elif keys(source) != keys(translated):
                problems.append(f"{label}: the translation has {keys(translated)}, not {keys(source)}")
            elif access_keys(source) != access_keys(translated):
                problems.append(f"{label}: the translation's access keys differ: {translated!r}")
            elif source.count("\n") != translated.count("\n"):
                problems.append(f"{label}: the translation's line breaks differ")
    print(f"{name}: {count} texts")
for problem in problems:
    print(problem)
sys.exit(1 if problems else 0)
PYTHON
