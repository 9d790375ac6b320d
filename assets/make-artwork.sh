#!/usr/bin/env bash
# Regenerates every picture in this folder from scratch with ImageMagick.
# Usage: assets/make-artwork.sh   (from any directory)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Called by full path: a different "convert" earlier in PATH would silently
# produce different files.
IM=/usr/bin/convert
if [[ ! -x $IM ]]; then
    echo "make-artwork: $IM not found; install ImageMagick (apt-get install imagemagick)." >&2
    exit 1
fi

fontdir=/usr/share/fonts/truetype/dejavu
BOLD=$fontdir/DejaVuSans-Bold.ttf
BOOK=$fontdir/DejaVuSans.ttf
for f in "$BOLD" "$BOOK"; do
    if [[ ! -f $f ]]; then
        echo "make-artwork: font $f missing; install it with" >&2
        echo "  apt-get install -y --no-install-recommends fonts-dejavu-core" >&2
        exit 1
    fi
done

# Plain C locale for awk's number formatting, and no timestamps or
# profiles in the output, so that reruns give identical files.
export LC_ALL=C
# 8 bits per channel: 16-bit files decode slower and look the same on screen.
PNG_OPTS=(-depth 8 -strip -define 'png:exclude-chunks=date,time')
JPG_OPTS=(-strip -quality 92 -sampling-factor 1x1 -interlace none)

# Brand colours, shared by the logo, badge and spinners.
BRAND_DARK='#0E4D64'
BRAND_MID='#14868C'
BRAND_GREEN='#4FA561'
FOOTER_BG='#D7D7D7'

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# --- tile icons --------------------------------------------------------------

# tile NAME COLOUR TEXT
tile() {
    local name=$1 colour=$2 text=$3
    # The top highlight is white with a grey gradient as its opacity mask: a
    # gradient towards "none" fades through transparent black and would
    # dirty the colour.
    #
    # Every monogram is fitted into the same box, so one letter and three
    # letters carry the same weight in the grid; it is rendered large and
    # scaled down for clean edges, and centred on its ink box (not the
    # font's line box) so it sits optically in the middle.
    local box=78x52
    "$IM" -size 128x128 xc:none \
        -fill "$colour" -draw 'roundrectangle 4,4 123,123 26,26' \
        \( -size 128x128 xc:white \( -size 128x128 gradient:gray16-black \) \
           -alpha off -compose copy-opacity -composite \) \
        -compose src-atop -composite -compose over \
        \( +size -background none -fill white -font "$BOLD" -pointsize 160 \
           "label:$text" -trim +repage -resize "$box" \) \
        -gravity center -composite \
        "${PNG_OPTS[@]}" "$here/tile_$name.png"
}

tile face    '#3B5BDB' 'F'
tile insta   '#C2255C' 'In'
tile whats   '#2F9E44' 'M'
tile tik     '#212529' 'Tk'
tile tele    '#1C9BD6' 'Te'
tile sms     '#F08C00' 'SMS'
tile tube    '#E03131' 'Tu'
tile mkt     '#7048E8' 'Tw'
tile lx      '#0B7285' 'LX'
tile contact '#5C677A' 'C'

# --- vendor logo ---------------------------------------------------------------

# Mark: rounded square in the brand gradient with a geometric "Q" (white
# ring, green tail), then the wordmark and a small spaced caption.
"$IM" -size 80x80 "gradient:$BRAND_MID-$BRAND_DARK" \
    \( -size 80x80 xc:black -fill white -draw 'roundrectangle 0,0 79,79 18,18' \) \
    -alpha off -compose copy-opacity -composite -compose over \
    -fill none -stroke white -strokewidth 9 -draw 'circle 37,37 37,18' \
    -stroke "$BRAND_GREEN" -draw 'stroke-linecap round line 50,50 62,62' \
    "$tmp/mark.png"

"$IM" -size 413x99 xc:none \
    "$tmp/mark.png" -gravity west -geometry +6+0 -composite \
    -gravity northwest \
    -font "$BOLD" -pointsize 62 -fill "$BRAND_DARK" -annotate +102+2 'Quorvel' \
    -font "$BOLD" -pointsize 13 -kerning 7.4 -fill "$BRAND_GREEN" -annotate +106+73 'LAUNCHER' \
    "${PNG_OPTS[@]}" "$here/logo.png"

# --- "IA" badge ----------------------------------------------------------------

# Four-pointed spark with concave sides: CX CY R
spark() {
    local cx=$1 cy=$2 r=$3
    awk -v x="$cx" -v y="$cy" -v r="$r" 'BEGIN {
        printf "path \"M %g,%g Q %g,%g %g,%g Q %g,%g %g,%g Q %g,%g %g,%g Q %g,%g %g,%g Z\"",
            x, y - r,  x, y, x + r, y,  x, y, x, y + r,  x, y, x - r, y,  x, y, x, y - r
    }'
}

"$IM" -size 83x85 xc:none \
    \( -size 79x79 'gradient:#6C47DB-#1C9BD6' \
       \( -size 79x79 xc:black -fill white -draw 'circle 39,39 39,1' \) \
       -alpha off -compose copy-opacity -composite \) \
    -gravity center -compose over -composite \
    \( -background none -fill white -font "$BOLD" -pointsize 34 label:IA -trim +repage \) \
    -gravity center -geometry -3+5 -composite \
    -fill white -draw "$(spark 60 26 11)" \
    -fill 'rgba(255,255,255,0.75)' -draw "$(spark 45 15 5)" \
    "${PNG_OPTS[@]}" "$here/ia.png"

# --- window background -----------------------------------------------------------

# Near-white vertical wash with a faint dot grid and a soft light patch in
# the middle behind the tiles; kept pale so the blue captions on top keep
# their contrast. A JPEG: it is opaque and the largest picture, and decodes
# several times faster than a PNG of it at start-up. Drawn at the window's
# size, then stored at half of it each way: the window stretches it smoothly
# over 871x649, where it looks the same, and holds a quarter of the pixels.
"$IM" -size 871x649 'gradient:#FFFFFF-#E9F0F4' \
    \( -size 18x18 xc:none -fill 'rgba(14,77,100,0.06)' -draw 'circle 9,9 9,7.6' \
       -write mpr:dot +delete \
       -size 871x649 xc:none -tile mpr:dot -draw 'color 0,0 reset' +tile \) \
    -compose over -composite \
    \( -size 871x649 xc:white \( -size 871x649 radial-gradient:gray60-black \) \
       -alpha off -compose copy-opacity -composite \) \
    -compose over -composite \
    -alpha off -resize '436x325!' -depth 8 "${JPG_OPTS[@]}" "$here/background.jpg"

# --- footer pictures ---------------------------------------------------------------

# Pill-shaped "Chat" button with a speech bubble.
"$IM" -size 203x59 "xc:$FOOTER_BG" \
    -fill 'rgba(0,0,0,0.12)' -draw 'roundrectangle 5,7 198,55 24,24' \
    \( -size 193x47 "gradient:#3DB35A-#2B8A45" \
       \( -size 193x47 xc:black -fill white -draw 'roundrectangle 0,0 192,46 23,23' \) \
       -alpha off -compose copy-opacity -composite \) \
    -geometry +5+4 -compose over -composite \
    -fill white -draw 'roundrectangle 28,15 62,39 8,8' \
    -draw 'polygon 34,37 34,47 44,37' \
    -fill '#2F9E44' -draw 'circle 37,27 37,29.3' -draw 'circle 45,27 45,29.3' -draw 'circle 53,27 53,29.3' \
    -font "$BOLD" -pointsize 24 -fill white -gravity west -annotate +82-1 'Chat' \
    "${JPG_OPTS[@]}" "$here/fale.jpg"

# Round orange badge with a shopping cart.
"$IM" -size 72x65 "xc:$FOOTER_BG" \
    -fill 'rgba(0,0,0,0.12)' -draw 'circle 36,34 36,62' \
    -fill '#F08C00' -draw 'circle 36,32 36,60' \
    -fill none -stroke white -strokewidth 3.2 \
    -draw 'stroke-linejoin round stroke-linecap round polyline 18,20 24,20 30,40 50,40 54,25 26,25' \
    -fill white -stroke none -draw 'polygon 27.5,26.5 52,26.5 49,37.5 31,37.5' \
    -draw 'circle 32,46 32,49' -draw 'circle 48,46 48,49' \
    "${JPG_OPTS[@]}" "$here/comprar.jpg"

# Round red badge with a play triangle.
"$IM" -size 60x65 "xc:$FOOTER_BG" \
    -fill 'rgba(0,0,0,0.12)' -draw 'circle 30,34 30,60' \
    -fill '#E03131' -draw 'circle 30,32 30,58' \
    -fill white -stroke white -strokewidth 2 \
    -draw 'stroke-linejoin round polygon 24,20 24,44 43,32' \
    "${JPG_OPTS[@]}" "$here/videos.jpg"

# --- animations ------------------------------------------------------------------

# spinner_frames SIZE FRAMES STROKE TRACK COLOUR OUTPREFIX
# Draws a ring whose arc rotates and breathes (grows and shrinks once per
# loop) so the animation wraps seamlessly. Frames are drawn at 4x and scaled
# down, which gives smoother edges than drawing the arc at final size.
spinner_frames() {
    local size=$1 frames=$2 stroke=$3 track=$4 colour=$5 prefix=$6
    local big=$((size * 4))
    local i
    for ((i = 0; i < frames; i++)); do
        # ImageMagick 6 closes both its "arc" primitive and SVG arc paths
        # with a chord, so the arc is a fine polyline instead.
        local arc
        arc=$(awk -v i="$i" -v n="$frames" -v s="$big" -v w="$((stroke * 4))" 'BEGIN {
            pi = atan2(0, -1)
            t = i / n
            len = 150 + 100 * sin(2 * pi * t)
            a0 = (360 * t - 90) * pi / 180
            a1 = a0 + len * pi / 180
            c = s / 2
            r = c - w / 2 - 2
            steps = int(len / 3)
            printf "polyline"
            for (k = 0; k <= steps; k++) {
                a = a0 + (a1 - a0) * k / steps
                printf " %.2f,%.2f", c + r * cos(a), c + r * sin(a)
            }
        }')
        local ring=$((big / 2))
        "$IM" -size "${big}x${big}" xc:white \
            -fill none -strokewidth "$((stroke * 4))" \
            -stroke "$track" -draw "circle $ring,$ring $ring,$((stroke * 2 + 2))" \
            -stroke "$colour" -draw "stroke-linecap round stroke-linejoin round $arc" \
            -resize "${size}x${size}" "$prefix-$(printf %02d "$i").png"
    done
}

# Big "working" screen: spinner above a caption whose dots count up.
spinner_frames 120 24 9 '#E3ECEF' "$BRAND_MID" "$tmp/work"
caption_w=$("$IM" -font "$BOLD" -pointsize 20 label:'Trabalhando...' -format %w info:)
caption_x=$(((320 - caption_w) / 2))
for f in "$tmp"/work-*.png; do
    n=${f##*-}
    n=$((10#${n%.png}))
    dots=$(printf '%*s' $((n / 8 + 1)) '' | tr ' ' '.')
    "$IM" -size 320x240 xc:white \
        "$f" -gravity north -geometry +0+38 -composite \
        -gravity northwest -font "$BOLD" -pointsize 20 -fill "$BRAND_DARK" \
        -annotate "+${caption_x}+180" "Trabalhando$dots" \
        "$tmp/frame-work-$(printf %02d "$n").png"
done
"$IM" -delay 6 -loop 0 "$tmp"/frame-work-*.png \
    +dither -colors 48 +remap -layers optimize-transparency -strip "$here/working.gif"

# Small spinner for the loading panel (white panel, so no transparency).
spinner_frames 32 16 3 '#E3ECEF' "$BRAND_MID" "$tmp/load"
"$IM" -delay 7 -loop 0 "$tmp"/load-*.png \
    +dither -colors 32 +remap -layers optimize-transparency -strip "$here/loading.gif"

# --- program icon (quorvel.ico, for the Windows program) ------------------------
# A white "Q" on the brand's rounded square, drawn at 256 and scaled down for the smaller sizes.
"$IM" -size 256x256 xc:none \
    -fill "$BRAND_DARK" -draw 'roundrectangle 8,8 247,247 52,52' \
    -font "$BOLD" -pointsize 190 -fill white -gravity center -annotate +0+4 'Q' \
    "${PNG_OPTS[@]}" "$tmp/icon-256.png"
for size in 48 32 16; do
    "$IM" "$tmp/icon-256.png" -resize "${size}x${size}" "${PNG_OPTS[@]}" "$tmp/icon-$size.png"
done
"$IM" "$tmp/icon-16.png" "$tmp/icon-32.png" "$tmp/icon-48.png" "$tmp/icon-256.png" "$here/quorvel.ico"

echo "make-artwork: wrote artwork to $here"
