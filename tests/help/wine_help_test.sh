#!/usr/bin/env bash
# Under Wine, the help viewer (hhctrl), asked through the program's own help service for every
# help context the code names, resolves each to the topic the help project maps it to and reads
# that topic out of Vorn4.chm; it also reads the whole table of contents and the index, whose
# Japanese keywords it decodes from code page 932 to exactly the texts of the sources. Wine
# has no HTML engine here, so no page is drawn: the viewer's trace shows what it did.
#   wine_help_test.sh PROBE.exe HELP-FILE SOURCE-ROOT
set -euo pipefail
probe=$1 chm=$2 repo=$3
VORN_WINE_ARCH=$(bash "$repo/scripts/wine-arch.sh" "$probe")
export VORN_WINE_ARCH
source "$repo/scripts/wine-env.sh"
pages="$repo/help/pages"
log=$(mktemp)
trap 'rm -f "$log"' EXIT
fail() { echo "wine help test: $*" >&2; exit 1; }
[ -f "$chm" ] || fail "no help file at $chm"

# The context map of the help project: [MAP] numbers through [ALIAS] names to topics.
declare -A alias_topic topic_of
section=""
while IFS= read -r line; do
  line=${line%$'\r'}
  case $line in
    \[*\]) section=$line ;;
    *=*) [ "$section" = "[ALIAS]" ] && alias_topic[${line%%=*}]=${line#*=} ;;
    "#define "*) read -r _ name number <<<"$line"; topic_of[$((number))]=${alias_topic[$name]:-} ;;
  esac
done < "$pages/Vorn4.hhp"

# The viewer makes no window without a screen, and then stops before resolving anything. It
# runs on a virtual desktop, where its windows come and go without waiting for the X server.
# The test command gives the Windows tests a screen and keeps the prefix's session; run alone,
# this test makes both itself and ends the session afterwards. The probe's exit status does not
# come through the desktop: what it found goes into the trace.
probe_args=("$(winepath -w "$repo")" "$(winepath -w "$chm")")
run_probe() {
  local on_desktop=(wine explorer /desktop=vorn-help-probe,640x480 "$probe" "${probe_args[@]}")
  if [ -n "${DISPLAY:-}" ]; then
    timeout 100 "${on_desktop[@]}"
  else
    wineserver -k 2>/dev/null || true
    wineserver -p </dev/null >/dev/null 2>&1
    timeout 100 xvfb-run -a "${on_desktop[@]}"
  fi
}
[ -n "${DISPLAY:-}" ] || trap 'rm -f "$log"; wineserver -k 2>/dev/null || true' EXIT
# A process whose first window comes before Wine's desktop is up gets no display driver for
# its life ("no driver could be loaded"); that start-up race, and only it, is tried again.
for attempt in 1 2 3; do
  WINEDEBUG=+htmlhelp,+itss,+urlmon run_probe 2>"$log" >/dev/null </dev/null ||
    { grep "help-probe" "$log" >&2 || true; fail "the probe failed"; }
  grep -q "nodrv_CreateWindow" "$log" || break
  echo "wine help test: the viewer got no display driver (attempt $attempt)" >&2
done
grep -q "help-probe: done" "$log" || fail "the probe did not finish"

# Per context: the topic the viewer resolved, whether it opened that topic in the help file,
# and whether the data it read came out as an HTML page.
results=$(awk '
  { sub(/\r$/, "") }
  /help-probe: context / { ctx = $NF; order[++n] = ctx; next }
  ctx == "" { next }
  /FindContextAlias returning/ && !(ctx in topic) { t = $0; sub(/.*returning /, "", t); gsub(/"/, "", t); topic[ctx] = t; next }
  (ctx in topic) && index($0, "Resolving L\"/" topic[ctx] "\"") { opened[ctx] = 1 }
  (ctx in opened) && /MIMETYPEAVAILABLE L"text\/html"/ { html[ctx] = 1 }
  END { for (i = 1; i <= n; i++) { c = order[i]; print c, (c in topic ? topic[c] : "-"), (c in opened) + 0, (c in html) + 0 } }
' "$log")
[ -n "$results" ] || fail "the probe asked for no context"
while read -r context topic opened html; do
  expected=${topic_of[$context]:-}
  [ -n "$expected" ] || fail "context $context: the help project maps it to no topic"
  [ "$topic" = "$expected" ] || fail "context $context: the viewer resolved \"$topic\", the project maps \"$expected\""
  [ "$opened" = 1 ] || fail "context $context: the viewer did not open $topic in the help file"
  [ "$html" = 1 ] || fail "context $context: reading $topic gave no HTML page"
done <<<"$results"

# Every page of the contents was read, and every index keyword arrived as its source text.
for link in $(sed -n 's/.*<param name="Local" value="\([^"]*\)">.*/\1/p' "$pages/Vorn4.hhc"); do
  grep -qF "parse_sitemap_object <param name=\"Local\" value=\"$link\">" "$log" || fail "the contents entry $link was not read"
done
# Wine writes a UTF-16 text as its printable ASCII and \xxxx for everything else.
wine_text() {
  local hex unit out=""
  hex=$(printf %s "$1" | iconv -f UTF-8 -t UTF-16BE | od -An -v -tx1 | tr -d ' \n')
  for ((i = 0; i < ${#hex}; i += 4)); do
    unit=${hex:i:4}
    if ((16#$unit >= 32 && 16#$unit < 127 && 16#$unit != 34 && 16#$unit != 92)); then
      out+=$(printf '%b' "\\x${unit:2:2}")
    else
      out+="\\$unit"
    fi
  done
  printf %s "$out"
}
keywords=0
while IFS= read -r keyword; do
  keywords=$((keywords + 1))
  grep -qF "fill_index_tree tree debug: L\"$(wine_text "$keyword")\"" "$log" || fail "the index keyword \"$keyword\" was not read as written"
done < <(grep -A1 '<LI> <OBJECT' "$pages/Vorn4.hhk" | sed -n 's/.*<param name="Name" value="\([^"]*\)">.*/\1/p')
[ "$keywords" -gt 0 ] || fail "the index has no keyword"
echo "wine help test: $(wc -l <<<"$results") contexts resolved and opened; contents and $keywords index keywords read"
