# Sourced by the run script and the Wine tests: a private Wine prefix and X
# display for one run, and a cleanup that stops exactly what the run started.
#   wine_env_start <work folder> [yes]    64-bit prefix for the x86_64 build: sets WINEPREFIX,
#                                         DISPLAY (starts Xvfb of the size WINE_ENV_SCREEN,
#                                         default 1024x768, unless "yes" and DISPLAY is set), WINE
#   wine32_env_start <work folder> [yes]  the same with a 32-bit prefix set to Windows 98, for
#                                         the i686 product: run programs with "$WINE32"; each
#                                         gets the prefix's virtual desktop (with its
#                                         notification area) and its exit code comes back
#   wine32_available                      succeeds when this machine runs 32-bit Windows
#                                         programs (a test that needs them exits 77, skipped,
#                                         when it fails)
#   wine_env_stop                         wineserver -k for that prefix, kills that Xvfb
# Both prefixes draw "Symbol" (SYMBOL_CHARSET) text with a symbol font whose
# character map GDI can use, and have the caption buttons' font.
WINE=/usr/lib/wine/wine64
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
export WINE
# Once wine32 is installed, /usr/bin/wine starts the 32-bit loader; without it
# the same script falls back to the 64-bit one, so whether 32-bit programs
# run is asked of the 32-bit loader itself (wine32_available).
WINE32=/usr/bin/wine
_wine32_loader=/usr/lib/wine/wine
export WINE32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# A template made by an older version of this script is made anew.
_wine_template_version=2
_wine_env_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
_wine_symbol_source=/usr/share/fonts/opentype/urw-base35/StandardSymbolsPS.otf
_wine_symbol_family="Standard Symbols PS Win"
_wine_desktop_name=Zentra
_wine_xvfb_pid=""

wine32_available() {
  [ -x "$_wine32_loader" ] && [ -x "$WINE32" ] && "$_wine32_loader" --version >/dev/null 2>&1
}

_wine_env_screen() {
  local screen="${WINE_ENV_SCREEN:-1024x768}"
  if ! [[ "$screen" =~ ^[1-9][0-9]{2,4}x[1-9][0-9]{2,4}$ ]]; then
    echo "wine-env: WINE_ENV_SCREEN must be WIDTHxHEIGHT, e.g. 1024x768 (got '$screen')" >&2
    return 1
  fi
  echo "$screen"
}

_wine_env_display() {  # work-folder use-existing-display
  local work="$1" use_display="$2" screen
  screen=$(_wine_env_screen) || return 1
  if [ "$use_display" = "yes" ] && [ -n "${DISPLAY:-}" ]; then
    return 0
  fi
  local n
  for n in $(seq 90 160); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 "${screen}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
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
}

# Fonts every prefix gets, and the registry lines that go with them (written
# to the file $2 for one regedit import).
_wine_template_fonts() {  # template reg-file
  local fonts="$1/drive_c/windows/Fonts" reg="$2"
  mkdir -p "$fonts"
  # The caption buttons are drawn with Wine's symbol font, which this
  # Wine does not find on its own.
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/" 2>/dev/null || true
  # Programs draw symbols with CreateFont(SYMBOL_CHARSET, "Symbol") and
  # bytes of the symbol encoding (0xEB, 0xFB: bracket pieces, 0xA5:
  # infinity). Wine's own "Symbol" maps them only as Macintosh codes, so GDI
  # falls back to a Latin font and draws letters. A copy of the packaged
  # symbol font with a Windows symbol character map stands in for "Symbol".
  if /usr/bin/python3 "$_wine_env_dir/make-symbol-font.py" "$_wine_symbol_source" \
       "$fonts/zsymbol.otf" "$_wine_symbol_family" >>"$1.log" 2>&1; then
    printf '%s\r\n' \
      '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts]' \
      "\"$_wine_symbol_family (TrueType)\"=\"zsymbol.otf\"" '' \
      '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
      "\"Symbol\"=\"$_wine_symbol_family\"" '' >>"$reg"
  else
    echo "wine-env: no symbol font made (see $1.log); Symbol text shows as letters" >&2
  fi
}

# Makes a template prefix with the loader $2 (once per build folder; creating
# one takes tens of seconds, copying it a second or two). Further registry
# lines may be given in the file $4.
_wine_make_template() {  # template loader win32|win64 [extra-reg-file]
  local template="$1" loader="$2" arch="$3" extra="${4:-}"
  [ "$(cat "$template/.complete" 2>/dev/null)" = "$_wine_template_version" ] && return 0
  rm -rf "$template" "$template.log"
  WINEARCH="$arch" WINEPREFIX="$template" "$loader" wineboot -i >"$template.log" 2>&1 || true
  WINEPREFIX="$template" wineserver -w || true
  local reg="$template.reg"
  printf 'REGEDIT4\r\n\r\n' >"$reg"
  _wine_template_fonts "$template" "$reg"
  [ -n "$extra" ] && cat "$extra" >>"$reg"
  WINEPREFIX="$template" "$loader" regedit /s "$(winepath_of "$reg")" >>"$template.log" 2>&1 || true
  WINEPREFIX="$template" wineserver -w || true
  echo "$_wine_template_version" >"$template/.complete"
}

# The host path as the prefix's programs see it (drive Z: is the root).
winepath_of() { echo "Z:${1//\//\\}"; }

wine_env_start() {  # work-folder [use-existing-display]
  local work="$1" use_display="${2:-no}"
  mkdir -p "$work"
  work=$(cd "$work" && pwd)
  export WINEPREFIX="$work/wineprefix"
  _wine_env_display "$work" "$use_display" || return 1
  local template
  template="$(dirname "$work")/wine-template"
  if [ ! -d "$WINEPREFIX" ]; then
    _wine_make_template "$template" "$WINE" win64
    cp -a "$template" "$WINEPREFIX"
  fi
}

wine32_env_start() {  # work-folder [use-existing-display]
  local work="$1" use_display="${2:-no}" screen
  mkdir -p "$work"
  work=$(cd "$work" && pwd)
  screen=$(_wine_env_screen) || return 1
  if ! wine32_available; then
    echo "wine-env: this machine cannot run 32-bit Windows programs (wine32:i386)" >&2
    return 1
  fi
  export WINEPREFIX="$work/wineprefix32"
  _wine_env_display "$work" "$use_display" || return 1
  local template
  template="$(dirname "$work")/wine32-template"
  if [ ! -d "$WINEPREFIX" ]; then
    # Windows 98, and a virtual desktop named in the registry: every program
    # started as "$WINE32" prog.exe opens on it (with the notification
    # area), and "$WINE32" returns the program's own exit code, which a
    # start through explorer /desktop= does not.
    local extra="$work/wine32-template.reg"
    printf '%s\r\n' \
      '[HKEY_CURRENT_USER\Software\Wine]' '"Version"="win98"' '' \
      '[HKEY_CURRENT_USER\Software\Wine\Explorer]' "\"Desktop\"=\"$_wine_desktop_name\"" '' \
      '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' \
      "\"$_wine_desktop_name\"=\"1024x768\"" '' >"$extra"
    _wine_make_template "$template" "$WINE32" win32 "$extra"
    cp -a "$template" "$WINEPREFIX"
    # The desktop's size is this run's screen (Wine reads user.reg when its
    # server starts).
    sed -i "s/^\"$_wine_desktop_name\"=\"[0-9]*x[0-9]*\"\$/\"$_wine_desktop_name\"=\"$screen\"/" \
      "$WINEPREFIX/user.reg"
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
