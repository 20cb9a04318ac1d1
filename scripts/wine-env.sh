# Sourced by the run script and the Wine tests: a private Wine prefix and X
# display for one run, and a cleanup that stops exactly what the run started.
#   wine_env_start <work folder>   sets WINEPREFIX, DISPLAY (starts Xvfb if asked, of the size
#                                  WINE_ENV_SCREEN, default 1024x768), WINE
#   wine_env_stop                  wineserver -k for that prefix, kills that Xvfb
WINE=/usr/lib/wine/wine64
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
export WINE
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

_wine_xvfb_pid=""

wine_env_start() {  # work-folder [use-existing-display]
  local work="$1" use_display="${2:-no}"
  mkdir -p "$work"
  work=$(cd "$work" && pwd)
  export WINEPREFIX="$work/wineprefix"
  if [ "$use_display" = "yes" ] && [ -n "${DISPLAY:-}" ]; then
    :
  else
    local n
    for n in $(seq 90 160); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 "${WINE_ENV_SCREEN:-1024x768}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    _wine_xvfb_pid=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
      xdpyinfo >/dev/null 2>&1 && break
      sleep 0.1
    done
    # A desktop session's X server carries a resource database (the root
    # window's RESOURCE_MANAGER property). Without one, Xlib reads
    # ~/.Xdefaults anew on every lookup, and Wine looks up a resource each
    # time a font is selected into a device context: thousands of failed
    # file opens a second while meters repaint. One resource of no meaning
    # to anybody gives Xlib a database to keep (-noreset: the server keeps
    # the property when its last client leaves).
    xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "zentraTest.display: xvfb" \
      2>/dev/null || true
  fi
  # A prefix made once per build folder is copied for each run: creating one
  # takes tens of seconds, copying it well under one.
  local template
  template="$(dirname "$work")/wine-template"
  if [ ! -d "$WINEPREFIX" ]; then
    if [ ! -f "$template/.complete" ]; then
      rm -rf "$template"
      WINEPREFIX="$template" "$WINE" wineboot -i >"$work/wineboot.log" 2>&1 || true
      WINEPREFIX="$template" wineserver -w || true
      # The caption buttons are drawn with Wine's symbol font, which this
      # Wine does not find on its own.
      cp /usr/share/wine/fonts/marlett.ttf "$template/drive_c/windows/Fonts/" 2>/dev/null || true
      touch "$template/.complete"
    fi
    cp -a "$template" "$WINEPREFIX"
  fi
}

wine_env_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "$_wine_xvfb_pid" ]; then
    kill "$_wine_xvfb_pid" 2>/dev/null || true
    wait "$_wine_xvfb_pid" 2>/dev/null || true
    _wine_xvfb_pid=""
  fi
}

# The Windows directory of the prefix (where Zudovodiv.ini lands).
wine_windows_dir() { echo "$WINEPREFIX/drive_c/windows"; }
