#!/usr/bin/env bash
# Runs print_test.exe under the Wine fixture and checks what reached the
# fixture's PDF printer: one PDF (the job cancelled in its printing box, the
# cancelled print dialog and the job refused for its margins left nothing), as many pages as the view laid out, the header (the file name)
# and the footer (the page number) on each page, the caret line's marker on
# the page the preview opened on, and all ink inside the margins.
#
#   print_test.sh <wine-run.sh> <print_test.exe> <screenshot folder> <result folder>
set -u
wine_run="$1" exe="$2" shots="$3" work="$4"
: "${WINE_STATE_DIR:?}"
state="$WINE_STATE_DIR/fixture.env"
[ -f "$state" ] || { echo "print_test: the Wine fixture is not started"; exit 1; }
PRINT_PDF_DIR=""
# shellcheck disable=SC1090
. "$state"
[ -n "$PRINT_PDF_DIR" ] || { echo "print_test: the fixture has no printer (cupsd missing?)"; exit 1; }
for tool in pdfinfo pdftoppm python3; do
  command -v "$tool" >/dev/null || { echo "print_test: $tool missing (scripts/setup.sh installs poppler-utils)"; exit 1; }
done

mkdir -p "$work" "$shots" "$PRINT_PDF_DIR"
rm -f "$work"/* "$PRINT_PDF_DIR"/*.pdf
"$wine_run" 32 "$exe" "$shots" "$work"
rc=$?
[ "$rc" = 0 ] || exit "$rc"

fail=0
bad() { echo "FAIL: $*"; fail=1; }
ok() { echo "ok: $*"; }

# The printed file: complete once pdfinfo reads it.
pdf=""
for _ in $(seq 1 120); do
  pdf=$(ls -t "$PRINT_PDF_DIR"/*.pdf 2>/dev/null | head -1)
  [ -n "$pdf" ] && pdfinfo "$pdf" >/dev/null 2>&1 && break
  pdf=""
  sleep 0.5
done
[ -n "$pdf" ] || { echo "FAIL: no PDF reached $PRINT_PDF_DIR"; exit 1; }
sleep 3  # time for a second job, which must not come
count=$(ls "$PRINT_PDF_DIR"/*.pdf | wc -l)
[ "$count" = 1 ] && ok "one PDF: the cancelled and the refused jobs printed nothing" || bad "$count PDF files"

. "$work/layout.txt" 2>/dev/null || true
: "${pages:=0}" "${caretpage:=0}"
got=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
[ "$got" = "$pages" ] && ok "$got pages, as the view laid them out" || bad "$got pages printed, $pages laid out"
size=$(pdfinfo "$pdf" | sed -n 's/^Page size: *//p')
echo "note: page size $size"

# The pages as pictures at 100 dpi (PDF text of the printer's downloaded
# fonts cannot be extracted, so the checks read ink).
pdftoppm -r 100 -gray "$pdf" "$work/page" || bad "pdftoppm failed"
python3 - "$work" "$got" "$caretpage" <<'PY' || fail=1
import glob, sys
work, pages, caret = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
def read_pgm(path):
    data = open(path, 'rb').read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos+1].isspace(): pos += 1
        start = pos
        while not data[pos:pos+1].isspace(): pos += 1
        fields.append(data[start:pos])
    return int(fields[1]), int(fields[2]), data[pos+1:]
failed = []
def check(cond, what):
    print(('ok: ' if cond else 'FAIL: ') + what)
    if not cond: failed.append(what)
files = sorted(glob.glob(work + '/page-*.pgm'))
if len(files) != pages:
    print('FAIL: %d pictures for %d pages' % (len(files), pages)); sys.exit(1)
bands = []
for number, f in enumerate(files, 1):
    w, h, px = read_pgm(f)
    mm = w / 210.0
    ink = lambda x, y: px[y * w + x] < 200
    def longest_run(y, x0=0, x1=w):
        best = run = 0
        for x in range(x0, x1):
            run = run + 1 if ink(x, y) else 0
            best = max(best, run)
        return best / mm
    def bbox(y0, y1):
        pts = [(x, y) for y in range(y0, y1) for x in range(w) if ink(x, y)]
        if not pts: return None
        xs = [p[0] for p in pts]; ys = [p[1] for p in pts]
        return (min(xs) / mm, min(ys) / mm, max(xs) / mm, max(ys) / mm)
    # The rules under the header and over the footer: the width between the
    # 15 mm margins, from margin to margin.
    rules = [y for y in range(h) if longest_run(y) > 170]
    top = [y for y in rules if y / mm < 40]
    bottom = [y for y in rules if y / mm > 250]
    check(top and bottom and len(rules) == len(top) + len(bottom),
          'page %d: a rule under the header (%s mm) and one over the footer (%s mm)' %
          (number, ['%.1f' % (y / mm) for y in top], ['%.1f' % (y / mm) for y in bottom]))
    if not (top and bottom): continue
    t, b = top[0], bottom[-1]
    header = bbox(int(14 * mm), t - 1)
    footer = bbox(b + 2, int((297 - 14) * mm))
    body = bbox(t + 2, b - 1)
    check(header is not None and 14 <= header[0] <= 17 and header[2] < 60,
          'page %d: the header (the file name) stands at the left margin: %s' % (number, header))
    check(footer is not None and abs((footer[0] + footer[2]) / 2 - 105) < 3,
          'page %d: the footer (the page number) is centred: %s' % (number, footer))
    check(body is not None and body[0] >= 14 and body[2] <= 196,
          'page %d: the body lies inside the margins: %s' % (number, body))
    underscores = any(longest_run(y, int(30 * mm), w) > 60 for y in range(t + 2, b - 1))
    check(underscores == (number == caret),
          'page %d: the caret line %s' % (number, 'is here' if underscores else 'is not here'))
    bands.append((bytes(px[int(14 * mm) * w:(t - 1) * w]), bytes(px[(b + 2) * w:int((297 - 14) * mm) * w])))
if len(bands) == pages:
    check(all(bh == bands[0][0] for bh, _ in bands), 'the same header on every page')
    check(len(set(bf for _, bf in bands)) == pages, 'a different footer (its number) on every page')
sys.exit(1 if failed else 0)
PY
[ "$fail" = 0 ] || exit 1
echo "print_test: all checks passed"
