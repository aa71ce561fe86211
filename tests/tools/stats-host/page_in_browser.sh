#!/usr/bin/env bash
# The contest page as a browser renders it: stats-host makes the page of the
# sample log, and a page comparing it with a copy of itself, and headless
# Chromium lays them out in frames 1000 and 360 pixels wide (a desktop and a
# phone). A small checking
# page around them (the contest page itself has no script) reads the layout:
#   - the hourly chart has a bar group for each of the contest's 48 hours and,
#     on the page of one log, a visible bar for every band-hour its rate sheet
#     counts;
#   - each log's score line has a point at the end of each of the 48 hours;
#   - nothing is wider than the frame, at either width.
# Usage: page_in_browser.sh <stats-host> <plug-in> <examples folder> <work folder>
set -euo pipefail
host=$1 plugin=$2 examples=$3 work=$4
chromium=$(command -v chromium || true)
[ -n "$chromium" ] || { echo "FAIL: chromium not found (scripts/setup-deps.sh browser installs it)"; exit 1; }
rm -rf "$work"; mkdir -p "$work"
cp "$examples/wpx-cw-sample.adi" "$work/rival.adi"
"$host" --plugin "$plugin" --dir "$work/run" --page "$work/single.html" "$examples/wpx-cw-sample.adi"
"$host" --plugin "$plugin" --dir "$work/run" --page "$work/compare.html" "$examples/wpx-cw-sample.adi" "$work/rival.adi"
cat >"$work/check.html" <<'HTML'
<!DOCTYPE html><html><body><pre id="out">pending</pre><script>
function measure(frame) {
  const d = frame.contentDocument, r = {};
  const hourly = d.querySelector('svg.hourly'), score = d.querySelector('svg.score');
  r.hours = hourly ? hourly.querySelectorAll('g.hour').length : -1;
  r.bars = 0; r.hidden = 0;
  if (hourly) for (const b of hourly.querySelectorAll('rect.bar')) {
    const box = b.getBoundingClientRect();
    if (box.width > 0 && box.height > 0) ++r.bars; else ++r.hidden;
  }
  r.cells = 0;
  for (const cell of d.querySelectorAll('table.sheet tbody td.b')) if (cell.textContent.trim() !== '') ++r.cells;
  r.points = score ? score.querySelectorAll('circle.pt').length : -1;
  const width = d.documentElement.clientWidth;
  r.overflow = d.documentElement.scrollWidth - width;
  r.wider = [];
  for (const e of d.body.querySelectorAll('*'))
    if (e.getBoundingClientRect().right > width + 0.5 && r.wider.length < 3) r.wider.push(e.tagName);
  return r;
}
const pages = new URLSearchParams(location.search).getAll('page'), frames = [];
for (const page of pages) for (const width of [1000, 360]) {
  const f = document.createElement('iframe');
  f.src = page; f.style = 'width:' + width + 'px;height:600px;border:0'; f.dataset.name = page + '@' + width;
  document.body.appendChild(f); frames.push(f);
}
let loaded = 0;
for (const f of frames) f.onload = () => {
  if (++loaded < frames.length) return;
  document.getElementById('out').textContent =
    frames.map(f => 'RESULT ' + f.dataset.name + ' ' + JSON.stringify(measure(f))).join('\n');
};
</script></body></html>
HTML
dom=$("$chromium" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync --user-data-dir="$work/profile" \
  --allow-file-access-from-files --virtual-time-budget=15000 --dump-dom \
  "file://$work/check.html?page=single.html&page=compare.html" 2>/dev/null)
status=0
results=$(grep -o 'RESULT [^ ]* {[^}]*}' <<<"$dom" || true)
[ "$(wc -l <<<"$results")" -eq 4 ] || { echo "FAIL: the checking page reported nothing:"; echo "$dom" | tail -5; exit 1; }
while read -r _ name json; do
  echo "$name: $json"
  field() { sed -E "s/.*\"$1\":(-?[0-9]+).*/\\1/" <<<"$json"; }
  [ "$(field hours)" = 48 ] || { echo "FAIL: $name: $(field hours) hour groups, not 48"; status=1; }
  case $name in
    single*)
      points=48
      [ "$(field bars)" -gt 0 ] && [ "$(field bars)" = "$(field cells)" ] && [ "$(field hidden)" = 0 ] ||
        { echo "FAIL: $name: $(field bars) visible bars ($(field hidden) not), the rate sheet counts $(field cells)"; status=1; } ;;
    *) points=96 ;;
  esac
  [ "$(field points)" = $points ] || { echo "FAIL: $name: $(field points) score points, not $points"; status=1; }
  [ "$(field overflow)" -le 0 ] && grep -q '"wider":\[\]' <<<"$json" ||
    { echo "FAIL: $name: wider than the page"; status=1; }
done <<<"$results"
exit $status
