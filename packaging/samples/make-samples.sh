#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the sample pictures that scripts/run opens: drawn here with ImageMagick, nothing downloaded.
# Run it from this folder; the results are committed, so this is only needed to change them.
set -euo pipefail
convert -size 640x480 gradient:'#87ceeb'-'#f4e3b0' \
  -fill '#f6c344' -draw 'circle 480,120 480,60' \
  -fill '#3b7d3b' -draw 'polygon 0,480 0,330 160,250 320,340 460,260 640,360 640,480' \
  -fill '#2f5f8f' -draw 'rectangle 0,430 640,480' -quality 90 sunrise.jpg
convert -size 480x640 gradient:'#0b1d3a'-'#45308a' \
  -fill white -draw 'point 60,80' -draw 'point 300,40' -draw 'point 420,150' -draw 'point 120,220' \
  -fill '#f0f0d0' -draw 'circle 330,170 330,120' \
  -fill '#111111' -draw 'polygon 0,640 0,520 120,470 240,540 360,450 480,520 480,640' -depth 8 night.png
convert -size 400x300 xc:'#fff8e8' \
  -fill '#d94f3d' -draw 'roundrectangle 40,60 180,240 18,18' \
  -fill '#3d7dd9' -draw 'circle 280,150 280,70' \
  -fill '#3dd98a' -draw 'polygon 200,260 260,180 320,260' -type palette shapes.bmp
convert -size 320x240 pattern:checkerboard -fill '#b03060' -colorize 40 \
  -fill '#ffffff' -draw 'circle 160,120 160,60' -colors 16 tiles.pcx
convert -size 360x240 gradient:'#ff7f50'-'#6a5acd' -swirl 120 -compress RLE swirl.tga
convert -size 300x300 radial-gradient:'#ffffff'-'#2e8b57' \
  -fill '#8b4513' -draw 'rectangle 140,180 160,300' -depth 8 -compress lzw leaf.tif
convert -size 320x240 gradient:'#1d3557'-'#457b9d' \
  -fill '#264653' -draw 'rectangle 60,62 260,70' \
  -fill '#f4a261' -draw 'circle 110,144 110,135' -draw 'circle 210,144 210,135' \
  -fill '#e9c46a' -draw 'ellipse 110,130 40,60 180,360' -draw 'ellipse 210,130 40,60 180,360' \
  -draw 'ellipse 110,130 50,8 0,360' -draw 'ellipse 210,130 50,8 0,360' bells.png
