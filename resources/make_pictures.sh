#!/usr/bin/env bash
# Draws the wizard's pictures into resources/pictures/ with ImageMagick. The PNG files are
# committed; run this only to draw them again.
set -euo pipefail
out=$(cd "$(dirname "$0")" && pwd)/pictures
mkdir -p "$out"
font=Liberation-Sans-Bold

# The side banner of the main window, 153 x 401.
convert -size 153x401 gradient:'#1A4284'-'#050A14' \
  -fill 'rgba(132,193,255,0.18)' -draw 'circle 120,60 190,60' \
  -fill 'rgba(132,193,255,0.10)' -draw 'circle 20,330 110,330' \
  -fill 'rgba(255,255,255,0.08)' -draw 'rectangle 0,250 153,252' \
  -font "$font" -fill '#E8F4F4' -pointsize 22 -annotate +14+200 'Quorvex' \
  -fill '#85C9F1' -pointsize 18 -annotate +14+224 'Plus 5.4' \
  -fill '#A2BDFD' -pointsize 11 -annotate +14+385 'Software ZELMORIC' \
  -depth 8 "$out/side_banner.png"

# The splash background, 601 x 371.
convert -size 601x371 radial-gradient:'#2C5C9A'-'#060C18' \
  -fill 'rgba(133,201,241,0.12)' -draw 'ellipse 480,90 220,60 0,360' \
  -fill 'rgba(0,213,128,0.10)' -draw 'rectangle 0,292 601,328' \
  -fill 'rgba(255,255,255,0.35)' -draw 'rectangle 20,52 580,53' \
  -depth 8 "$out/splash_background.png"

# The six named pictures of the splash list, 16 x 16.
convert -size 16x16 xc:none -fill '#7A8A99' -stroke '#3C4650' -draw 'circle 8,8 8,1' \
  -fill '#DDE6EE' -draw 'circle 8,8 8,5' "$out/system.png"
convert -size 16x16 xc:none -fill '#C8873A' -stroke '#6B4218' -draw 'rectangle 2,4 13,14' \
  -stroke '#F2D09A' -draw 'line 2,8 13,8' "$out/package.png"
convert -size 16x16 xc:none -fill '#3A7BD5' -stroke '#1A4284' -draw 'rectangle 1,1 14,14' \
  -stroke '#FFFFFF' -draw 'line 4,5 11,5' -draw 'line 4,8 11,8' -draw 'line 4,11 9,11' \
  "$out/register.png"
convert -size 16x16 xc:none -fill '#F2C94C' -stroke '#9A7410' \
  -draw 'polygon 1,4 6,4 7,6 14,6 14,14 1,14' "$out/folders.png"
convert -size 16x16 xc:none -fill '#FFFFFF' -stroke '#5A6A7A' \
  -draw 'polygon 3,1 10,1 13,4 13,14 3,14' -draw 'line 5,6 11,6' -draw 'line 5,9 11,9' \
  "$out/files.png"
convert -size 16x16 xc:none -fill '#00D580' -stroke '#017C96' -draw 'polygon 4,2 14,8 4,14' \
  "$out/start.png"

# The glyphs of the next button: next (an arrow) and install (a downward arrow into a tray).
convert -size 16x16 xc:none -fill '#00D580' -stroke '#017C96' \
  -draw 'polygon 1,6 8,6 8,2 15,8 8,14 8,10 1,10' "$out/glyph_next.png"
convert -size 16x16 xc:none -fill '#84C1FF' -stroke '#1A4284' \
  -draw 'polygon 6,1 10,1 10,7 13,7 8,12 3,7 6,7' -fill none -draw 'polyline 1,11 1,15 15,15 15,11' \
  "$out/glyph_install.png"
