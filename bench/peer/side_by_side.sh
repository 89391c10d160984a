#!/bin/sh
# The chart and its peer in paired runs: each round runs both benchmark
# programs one after the other on the same three figures (a re-plot from the
# arrays, a full redisplay, a pan frame) and the medians of the rounds are
# printed with the chart's time as a share of the peer's.
#   bench/peer/side_by_side.sh CHART_BENCH PEER_BENCH [ROUNDS]
set -eu
chart=$1
peer=$2
rounds=${3:-3}
filter='BM_Replot$|BM_FullRedisplay$|BM_PanFrame/(6000|600)$'
export QT_QPA_PLATFORM=offscreen
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
i=1
while [ "$i" -le "$rounds" ]; do
  "$chart" --benchmark_filter="$filter" --benchmark_format=csv 2>/dev/null | grep '^"BM_' >> "$out/chart.csv"
  "$peer" --benchmark_filter="$filter" --benchmark_format=csv 2>/dev/null | grep '^"BM_' >> "$out/peer.csv"
  i=$((i + 1))
done
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
# Field 3 is the real time, field 5 its unit (ms).
awk -F, '
  FNR == 1 { side++ }
  { gsub(/"/, "", $1); t[side, $1, ++n[side, $1]] = $3; names[$1] = 1 }
  function median(s, name,   k, m, i, j, v, tmp) {
    m = n[s, name]
    for (i = 1; i <= m; i++) v[i] = t[s, name, i]
    for (i = 1; i <= m; i++) for (j = i + 1; j <= m; j++) if (v[j] < v[i]) { tmp = v[i]; v[i] = v[j]; v[j] = tmp }
    return m % 2 ? v[(m + 1) / 2] : (v[m / 2] + v[m / 2 + 1]) / 2
  }
  END {
    printf "%-22s %10s %10s %7s\n", "figure (median, ms)", "chart", "peer", "ratio"
    for (name in names) {
      c = median(1, name); p = median(2, name)
      printf "%-22s %10.2f %10.2f %7.2f\n", name, c, p, (p > 0 ? c / p : 0)
    }
  }' "$out/chart.csv" "$out/peer.csv"
