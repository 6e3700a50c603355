#!/bin/bash
# Takes the desktop pictures in docs/images that show Vorlisk on a real
# window manager: a dark colour scheme, 2x scaling and a large desktop font.
# Runs the program on a virtual X server (xvfb-run) under openbox and grabs
# the screen with ImageMagick's import, so it needs the Debian packages
# xvfb, xauth, openbox, xdotool and imagemagick.
#
# Usage: packaging/desktop-screenshots.sh [PROGRAM [OUTPUT_DIR]]
#   PROGRAM     defaults to build/vorlisk
#   OUTPUT_DIR  defaults to docs/images
#
# The colours and the font come from a KDE-style kdeglobals file in a
# temporary configuration folder, which Qt's built-in KDE theme reads; so the
# pictures show what a user with such desktop settings sees, without any
# switch in the program.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build/vorlisk}")
mkdir -p "${2:-$root/docs/images}"
outdir=$(realpath "${2:-$root/docs/images}")
[ -x "$program" ] || { echo "desktop-screenshots.sh: no program at $program" >&2; exit 1; }
for tool in xvfb-run openbox xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "desktop-screenshots.sh: $tool not found" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/log" "$work/dark" "$work/large-font"

# A short log and a header template, as a user would have them.
printf 'START-OF-LOG: 3.0\nCONTEST: OK-OM-DX-CW\nCALLSIGN: DL0XX\n' > "$work/log/cabrhdr.txt"
{
    printf 'START-OF-LOG: 3.0\r\nCONTEST: OK-OM-DX-CW\r\nCALLSIGN: DL0XX\r\n'
    printf 'CATEGORY-OPERATOR: SINGLE-OP\r\nCATEGORY-BAND: ALL\r\nCATEGORY-MODE: CW\r\n'
    printf 'QSO: 14000 CW 2004-04-10 2200 DL0XX         B   042    OK1AB         C   17     0\r\n'
    printf 'QSO: 14000 CW 2004-04-10 2201 DL0XX         B   043    OM3XY         D   05     0\r\n'
    printf 'QSO: 14000 CW 2004-04-10 2203 DL0XX         B   044    OK2ZZ         E   11     0\r\n'
    printf 'END-OF-LOG:\r\n'
} > "$work/log/contest.log"

cat > "$work/dark/kdeglobals" <<'EOF'
[Colors:Button]
BackgroundNormal=49,54,59
BackgroundAlternate=64,69,76
ForegroundNormal=252,252,252
ForegroundInactive=161,169,177
DecorationFocus=61,174,233
DecorationHover=61,174,233

[Colors:Selection]
BackgroundNormal=61,174,233
ForegroundNormal=252,252,252

[Colors:Tooltip]
BackgroundNormal=49,54,59
ForegroundNormal=252,252,252

[Colors:View]
BackgroundNormal=27,30,32
BackgroundAlternate=35,38,41
ForegroundNormal=252,252,252
ForegroundInactive=161,169,177
ForegroundLink=29,153,243

[Colors:Window]
BackgroundNormal=42,46,50
BackgroundAlternate=49,54,59
ForegroundNormal=252,252,252
ForegroundInactive=161,169,177
EOF
printf '[General]\nfont=DejaVu Sans,16,-1,5,50,0,0,0,0,0\nfixed=DejaVu Sans Mono,16,-1,5,50,0,0,0,0,0\n' \
    > "$work/large-font/kdeglobals"

# One picture: start openbox and the program on the virtual screen, press the
# given keys, grab the screen and cut away the empty desktop around the window.
cat > "$work/shot.sh" <<'EOF'
#!/bin/bash
out=$1 keys=$2; shift 2
cd "$WORK/log"
openbox >/dev/null 2>&1 & wm=$!
sleep 1
"$@" contest.log >/dev/null 2>&1 & app=$!
sleep 3
xdotool search --onlyvisible --name Vorlisk windowactivate >/dev/null 2>&1 || true
sleep 1
[ -n "$keys" ] && { xdotool key $keys; sleep 2; }
import -window root "$out"
convert "$out" -bordercolor black -border 1 -trim +repage "$out"
kill "$app" "$wm" 2>/dev/null || true
wait 2>/dev/null || true
EOF
chmod +x "$work/shot.sh"

shot() { # shot NAME SCREEN KEYS ENV... -- PROGRAM ARGS...
    local name=$1 screen=$2 keys=$3; shift 3
    local envs=()
    while [ "$1" != "--" ]; do envs+=("$1"); shift; done
    shift
    env WORK="$work" XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 "${envs[@]}" \
        xvfb-run -a -s "-screen 0 ${screen}x24" "$work/shot.sh" "$outdir/$name" "$keys" "$@"
    echo "$outdir/$name"
}

shot desktop-dark.png 1280x800 F9 XDG_CONFIG_HOME="$work/dark" -- "$program" -style Fusion
shot desktop-dark-2x.png 2560x1600 "alt+h Return" XDG_CONFIG_HOME="$work/dark" QT_SCALE_FACTOR=2 \
    -- "$program" -style Fusion
shot desktop-large-font.png 1920x1200 F9 XDG_CONFIG_HOME="$work/large-font" -- "$program"
