#!/usr/bin/env bash
# Printing through a real print spooler: a private CUPS scheduler whose only printer (cups-pdf) is
# its default, reached through CUPS_SERVER, so the machine's own printers are never touched. The
# picture prints on one PDF page at 90 % of the printable width or height, centred; light print
# whitens pixel (0, 0) and keeps (1, 0); without it every pixel prints. With no printer the print
# dialog's error is shown and nothing prints. With a grown-up's rest of 60 s between prints, the
# printer in the room prints once and, clicked again at once, only plays the empty sound.
. "$(dirname "$0")/lib/common.bash"
session 800x600x24
CHECK=$BUILD/tests/print_check.exe
[ -x /usr/sbin/cupsd ] || fail "cupsd is not installed (scripts/install-deps.sh)"

CUPSDIR=$WORK/cups
mkdir -p "$CUPSDIR"/{spool,cache,state,log,tmp,ppd}
# The scheduler's filters run as another user: they must reach the spool.
chmod 755 "$WORK" "$CUPSDIR"
cat >"$CUPSDIR/cups-files.conf" <<CONF
ServerRoot $CUPSDIR
RequestRoot $CUPSDIR/spool
CacheDir $CUPSDIR/cache
StateDir $CUPSDIR/state
TempDir $CUPSDIR/tmp
AccessLog $CUPSDIR/log/access_log
ErrorLog $CUPSDIR/log/error_log
PageLog $CUPSDIR/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
CONF
cat >"$CUPSDIR/cupsd.conf" <<CONF
Listen $CUPSDIR/cups.sock
LogLevel warn
Browsing No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF
CUPSD_PID=
stop_cups() { [ -n "$CUPSD_PID" ] && kill "$CUPSD_PID" 2>/dev/null; wait "$CUPSD_PID" 2>/dev/null || true; CUPSD_PID=; }
POLICY='HKLM\Software\Policies\Marrowby\Tintwell'
clear_policy() { timeout 60 "$WINE" reg delete "$POLICY" /f </dev/null >/dev/null 2>&1 || true; }
trap 'rc=$?; stop_cups || true; clear_policy || true; cleanup $rc' EXIT
clear_policy
/usr/sbin/cupsd -f -c "$CUPSDIR/cupsd.conf" -s "$CUPSDIR/cups-files.conf" </dev/null >/dev/null 2>&1 &
CUPSD_PID=$!
export CUPS_SERVER=$CUPSDIR/cups.sock
for i in $(seq 1 50); do [ -S "$CUPS_SERVER" ] && break; sleep 0.1; done
[ -S "$CUPS_SERVER" ] || fail "the private scheduler did not start"

run_check() {  # run_check MODE: prints print_check's output
  timeout 120 "$WINE" "$CHECK" "$1" </dev/null 2>/dev/null | tr -d '\r'
}

# No printer yet: the error box, and nothing printed.
out=$(run_check full)
echo "$out" | sed 's/^/  /'
grep -q '^box Attention!|No default printer$\|^box Attention!|No devices$' <<<"$out" ||
  fail "no printer: the print dialog's error box did not appear"
# (The system's own print dialog may first say that no printer is installed.)
expect_eq "our boxes with no printer" "$(grep -c '^box Attention' <<<"$out")" 1
expect_eq "canvas after printing" "$(grep '^canvas' <<<"$out")" "canvas 0 0 255"
[ -z "$(lpstat -o 2>/dev/null)" ] || fail "a job was queued without a printer"

lpadmin -p TintwellPDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd || fail "lpadmin"
lpadmin -d TintwellPDF || fail "lpadmin -d"

OUT=$(sed -n 's/^Out[[:space:]]*//p' /etc/cups/cups-pdf.conf | head -1)
OUT=${OUT//\$\{HOME\}/$HOME}
[ -n "$OUT" ] || OUT=$HOME/PDF
mkdir -p "$OUT"

print_one() {  # print_one MODE: prints the page line; leaves the new PDF in $WORK/MODE.pdf
  local before after new= i out
  touch "$WORK/marker.$1"
  sleep 1
  out=$(run_check "$1")
  echo "$out" >"$WORK/$1.out"
  grep -q '^box ' <<<"$out" && fail "$1: a box appeared: $(grep '^box ' <<<"$out")"
  for i in $(seq 1 100); do
    if [ -z "$(lpstat -o 2>/dev/null)" ]; then
      new=$(find "$OUT" -maxdepth 1 -name '*.pdf' -newer "$WORK/marker.$1" | head -1)
      [ -n "$new" ] && break
    fi
    sleep 0.2
  done
  [ -n "$new" ] || { echo "$out" | sed "s/^/  /" >&2; tail -5 "$CUPSDIR/log/error_log" >&2 2>/dev/null; fail "$1: no PDF appeared in $OUT"; }
  sleep 0.5
  mv "$new" "$WORK/$1.pdf"
  grep '^page ' <<<"$out"
}

page_full=$(print_one full)
page_light=$(print_one light)
echo "printer page: $page_full"

/usr/bin/python3 - "$WORK" "$page_full" <<'PY' || fail "the printed pages are not as expected"
import subprocess, sys
import numpy as np
from PIL import Image
work, page = sys.argv[1], sys.argv[2].split()[1:]
pw, ph, ox, oy, hres, vres, dpix, dpiy, cw, ch, mmw, mmh = map(int, page)
DPI = 300
def raster(name):
    info = subprocess.run(["pdfinfo", f"{work}/{name}.pdf"], capture_output=True, text=True).stdout
    pages = int([l.split()[1] for l in info.splitlines() if l.startswith("Pages:")][0])
    assert pages == 1, f"{name}: {pages} pages"
    subprocess.run(["pdftoppm", "-r", str(DPI), "-png", "-singlefile", f"{work}/{name}.pdf", f"{work}/{name}"], check=True)
    return np.asarray(Image.open(f"{work}/{name}.png").convert("RGB")).astype(int)
full, light = raster("full"), raster("light")
k = DPI / dpix  # raster pixels per printer pixel
# The printed picture: every pixel that is clearly blue.
blue = (full[:, :, 2] > 200) & (full[:, :, 0] < 60) & (full[:, :, 1] < 60)
ys, xs = np.nonzero(blue)
left, right, top, bottom = xs.min(), xs.max() + 1, ys.min(), ys.max() + 1
w, h = right - left, bottom - top
# Printable area on the raster.
pl, pt = ox * k, oy * k
# The printable area as the program measures it: pixels per inch times the size in inches.
import math
pwid = math.trunc(dpix * float(np.float32(mmw / 25.4))) * k
phei = math.trunc(dpiy * float(np.float32(mmh / 25.4))) * k
print(f"picture {w}x{h} at ({left},{top}); printable {pwid:.1f}x{phei:.1f} at ({pl:.1f},{pt:.1f})")
rw, rh = w / pwid, h / phei
print(f"covers {rw:.3f} of the printable width, {rh:.3f} of its height")
assert (abs(rw - 0.9) < 0.01 and rh <= 0.91) or (abs(rh - 0.9) < 0.01 and rw <= 0.91), "not 90 %"
cx, cy = (left + right) / 2, (top + bottom) / 2
assert abs(cx - (pl + pwid / 2)) < 3 and abs(cy - (pt + phei / 2)) < 3, f"not centred: ({cx},{cy})"
assert abs(w / h - cw / ch) < 0.01, "the picture's proportions changed"
# Without light print every pixel prints.
assert blue[top + 1:bottom - 1, left + 1:right - 1].all(), "a pixel is missing without light print"
# With light print: canvas pixel (0,0) white, (1,0) blue, (1,1) white, (0,1) blue.
s = w / cw
def at(img, i, j):
    return img[int(top + (j + 0.5) * s), int(left + (i + 0.5) * s)]
assert s > 2, f"too few raster pixels per canvas pixel ({s:.2f})"
# The spooler's PDF compresses the page image, which blurs a checkerboard a few raster pixels
# wide: half the pixels whitened shows as a mean halfway to white, and the whitened pixel (0,0) as
# far lighter than its blue neighbour (1,0).
inside = light[top + 2:bottom - 2, left + 2:right - 2]
mean = inside.reshape(-1, 3).mean(axis=0)
print(f"light print: mean colour {mean.round(1)}; full print: {full[top + 2:bottom - 2, left + 2:right - 2].reshape(-1, 3).mean(axis=0).round(1)}")
assert 90 < mean[0] < 165 and 90 < mean[1] < 165 and mean[2] > 240, "light print does not whiten half the pixels"
c00, c10 = at(light, 0, 0), at(light, 1, 0)
print(f"light print: canvas pixel (0,0) prints {list(c00)}, (1,0) prints {list(c10)}")
assert c00[0] > c10[0] + 40 and c00[1] > c10[1] + 40, "pixel (0,0) is not the whitened one"
assert c10[2] > 200 and c10[0] < 120, "pixel (1,0) lost its colour"
print("light print: (0,0) white, (1,0) blue")
PY
echo "ok: one page, 90 % of the printable area, centred; light print whitens (0,0) and keeps (1,0)"

# A rest of 60 s between prints: one page comes out, the second click is only the empty sound
# (1040 in place of the printer's 1034), before any dialog.
timeout 60 "$WINE" reg add "$POLICY" /v PrintInterval /t REG_DWORD /d 60 /f </dev/null >/dev/null 2>&1 || fail "reg add"
print_one twice >/dev/null
sed 's/^/  /' "$WORK/twice.out"
expect_eq "sounds of two clicks on the printer" "$(sed -n 's/^sounds //p' "$WORK/twice.out")" "1034 1040"
expect_eq "print dialogs of two clicks" "$(sed -n 's/^dialogs //p' "$WORK/twice.out")" 1
[ -z "$(lpstat -o 2>/dev/null)" ] || fail "a second job was queued"
expect_eq "PDFs of the second click" "$(find "$OUT" -maxdepth 1 -name '*.pdf' -newer "$WORK/marker.twice" | wc -l)" 0
echo "ok: with a rest of 60 s the second print is refused"
