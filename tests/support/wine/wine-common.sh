# Sourced by the Wine scripts: Wine's programs, the environment of a prefix of the
# caller's, and the steps every script takes. Usage: source wine-common.sh PREFIX
WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}
# Quiet, 64-bit, and no offer to install Mono or Gecko into a fresh prefix.
export WINEPREFIX="$1" WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="

# Makes the prefix the first time (install fonts-wine before: Wine takes its fonts then).
make_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine: making the prefix $WINEPREFIX (once)"
    "$WINE" wineboot --init >/dev/null 2>&1 || true
    "$WINESERVER" -w
  fi
}

# The fonts an operator's Windows has (Tahoma, the message font, the caption buttons'
# Marlett): Debian's Wine does not find fonts-wine's by itself; the prefix's own folder
# holds them.
install_fonts() {
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
}

# Waits until FILE has N lines (what a peer prints once it is ready).
wait_lines() {
  for _ in $(seq 1 100); do
    [ "$(wc -l < "$1")" -ge "$2" ] && return 0
    sleep 0.1
  done
  echo "a peer did not start: $(cat "$1")" >&2
  return 1
}
