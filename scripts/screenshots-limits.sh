#!/usr/bin/env bash
# Pictures of the limit verdicts on a virtual display: OUTDIR/pane-level-limits.png (failing
# cells marked), pane-scan-limits.png, pane-level-limits-zh.png; report.png (the first page of
# the sample project's acceptance report without details) and report-{en,zh}-{first,middle,
# last}.png (with every detail and a logo), report-details{,-zh}.png (the dialog that asks
# for them). Needs the build, xvfb-run and pdftoppm.
set -euo pipefail
out="${1:?usage: screenshots-limits.sh OUTDIR}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QM_BUILD_DIR:-$root/build}"
test_bin="$build/tests/test_desktop"
[ -x "$test_bin" ] && [ -x "$build/bin/qm7100" ] || cmake --build "$build" -j2 --target test_desktop qm7100
mkdir -p "$out"
out="$(cd "$out" && pwd)"
QM_SCREENSHOT_DIR="$out" QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1000x24" \
    "$test_bin" --gtest_also_run_disabled_tests --gtest_filter='LimitsDesktop.DISABLED_*'
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
"$build/bin/qm7100" report "$root/samples/sample.f71" "$tmp/report.pdf"
pdftoppm -r 100 -png -f 1 -l 1 -singlefile "$tmp/report.pdf" "$out/report"

# The report with every detail and a logo, in both languages: its first, a middle and its
# last page.
cat >"$tmp/logo.svg" <<'EOF'
<svg xmlns="http://www.w3.org/2000/svg" width="240" height="80" viewBox="0 0 240 80">
  <rect x="2" y="2" width="76" height="76" rx="14" fill="#0b4f8a"/>
  <path d="M14 58 Q40 10 66 58" stroke="#ffffff" stroke-width="7" fill="none"/>
  <circle cx="40" cy="52" r="7" fill="#f5b800"/>
  <text x="90" y="36" font-family="DejaVu Sans" font-weight="bold" font-size="26"
        fill="#0b4f8a">NORD</text>
  <text x="90" y="66" font-family="DejaVu Sans" font-size="20" fill="#555555">KABEL</text>
</svg>
EOF
cat >"$tmp/en.ini" <<'EOF'
[Report]
Title = Acceptance test of the house network
Company = Kabelnetz Nord GmbH
Logo = logo.svg
Site = Hafenstrasse 12, Block C, 20457 Hamburg
Customer = Wohnbau eG
Order = WO-2026-0412
Technician = Anna Meyer
Notes = Amplifier in the basement replaced before measuring; outlets 3 and 7 not reachable.
EOF
cat >"$tmp/zh.ini" <<'EOF'
[Report]
Title = 楼宇分配网络验收测试
Company = 北方有线网络有限公司
Logo = logo.svg
Site = 上海市浦东新区海港路 12 号 C 座
Customer = 安居物业管理有限公司
Order = WO-2026-0412
Technician = 王小明
Notes = 测量前已更换地下室放大器；3 号和 7 号终端无法到达。
EOF
for lang in en zh; do
    "$build/bin/qm7100" --lang "$lang" report "$root/samples/sample.f71" "$tmp/$lang.pdf" \
        --details "$tmp/$lang.ini"
    pages=$(pdfinfo "$tmp/$lang.pdf" | awk '/^Pages:/ {print $2}')
    for at in "first 1" "middle $(((pages + 1) / 2))" "last $pages"; do
        read -r name page <<<"$at"
        pdftoppm -r 100 -png -f "$page" -l "$page" -singlefile "$tmp/$lang.pdf" \
            "$out/report-$lang-$name"
    done
done
ls "$out"/pane-*-limits*.png "$out"/report*.png
