#!/usr/bin/env bash
# Draws the neon skin's bitmaps with ImageMagick; run it inside this folder.
set -e
sym() { # name symbol-draw-args
  case $1 in
    run)  echo "polygon 19,14 19,34 35,24" ;;
    edit) echo "polygon 14,30 30,14 34,18 18,34 polygon 12,36 14,30 18,34" ;;
    del)  echo "polygon 15,18 18,15 24,21 30,15 33,18 27,24 33,30 30,33 24,27 18,33 15,30 21,24" ;;
    new)  echo "rectangle 21,13 27,35 rectangle 13,21 35,27" ;;
    ref)  echo "polygon 30,10 36,20 26,20" ;;
    ks)   echo "polygon 13,15 13,33 24,24 polygon 24,15 24,33 35,24" ;;
  esac
}
for b in run edit del new ref ks; do
  for s in n u c; do
    case $s in n) fill='#00838f'; ring='#4dd0e1';; u) fill='#00acc1'; ring='#e0f7fa';; c) fill='#004d56'; ring='#26c6da';; esac
    off=0; [ $s = c ] && off=1
    extra=""
    [ $b = ref ] && extra="-stroke white -strokewidth 4 -fill none -draw \"arc 13,13 35,35 20,330\" -stroke none"
    eval convert +antialias -size 48x48 xc:'#ff00ff' -fill "'$fill'" -stroke "'$ring'" -strokewidth 3 -draw "'circle 24,24 24,3'" -stroke none \
      $extra -fill white -draw "'$(sym $b)'" -roll +$off+$off -type truecolor BMP3:${b}${s}.bmp
  done
done
# The background fills the client area between the menu and the status bar: about 640 x 340
# under a window manager with a 20-pixel title bar; the lettering sits below the preview.
convert -size 640x340 gradient:'#0d0221'-'#261447' \
  -stroke '#ff3864' -strokewidth 1 -draw 'line 0,290 640,290' -draw 'line 0,308 640,308' -draw 'line 0,325 640,325' \
  -draw 'line 100,290 0,340' -draw 'line 220,290 160,340' -draw 'line 320,290 320,340' -draw 'line 420,290 480,340' -draw 'line 540,290 640,340' \
  -stroke none -fill '#2de2e6' -font DejaVu-Sans-Bold -pointsize 22 -annotate +22+287 'ARCAVIO' \
  -fill '#f6019d' -pointsize 11 -annotate +24+303 'neon skin' -type truecolor BMP3:appb.bmp
