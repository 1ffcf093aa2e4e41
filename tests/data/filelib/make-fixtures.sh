#!/bin/sh
# Regenerates the randomness fixtures of the file library's tests from plain/notes.txt and a few
# generated inputs. Needs python3, gzip, xz, bzip2, zstd and ImageMagick's convert.
set -eu
cd "$(dirname "$0")"
mkdir -p plain compressed

# A table of measurements, as a spreadsheet would export it: digits, separators, repeated labels.
python3 - <<'PY'
import random
random.seed(20261208)
rows = ["date,station,temperature,humidity,pressure,wind"]
stations = ["north", "harbour", "airfield", "hill", "valley"]
for day in range(1, 420):
    for station in stations:
        rows.append("2026-%02d-%02d,%s,%.1f,%d,%.1f,%.1f" % (day % 12 + 1, day % 28 + 1, station,
                    random.uniform(-5, 30), random.randint(20, 99), random.uniform(980, 1040),
                    random.uniform(0, 25)))
open("plain/weather.csv", "w").write("\n".join(rows) + "\n")
PY

# A word-processor document in Rich Text Format, built around the notes.
{
    printf '{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}{\\f1 Courier New;}}\n'
    printf '{\\colortbl;\\red0\\green0\\blue0;\\red200\\green0\\blue0;}\n'
    sed -e 's/\\/\\\\/g' -e 's/^$/\\par/' -e 's/^\(.\)/\\pard\\f0\\fs24 \1/' plain/notes.txt
    printf '}\n'
} > plain/notes.rtf

for source in plain/notes.txt plain/weather.csv; do
    base=$(basename "$source")
    gzip -9 -n -c "$source" > "compressed/$base.gz"
    xz -9 -c "$source" > "compressed/$base.xz"
    bzip2 -9 -c "$source" > "compressed/$base.bz2"
    zstd -q -19 -c "$source" > "compressed/$base.zst"
done

# Images whose compressed payload is a few KiB: photographic noise, texture and a mostly flat logo.
convert -seed 7 -size 96x96 plasma:fractal -quality 92 compressed/plasma-96.jpg
convert -seed 7 -size 160x160 plasma:fractal -quality 75 compressed/plasma-160.jpg
convert -size 128x128 granite: -quality 75 compressed/granite-128.jpg
convert logo: -quality 50 compressed/logo.jpg
convert -seed 7 -size 64x64 plasma:fractal compressed/plasma-64.png
convert rose: compressed/rose.png
convert -size 128x128 granite: compressed/granite-128.png
