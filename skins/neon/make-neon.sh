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
convert -size 640x380 gradient:'#0d0221'-'#261447' \
  -stroke '#ff3864' -strokewidth 1 -draw 'line 0,300 640,300' -draw 'line 0,320 640,320' -draw 'line 0,345 640,345' \
  -draw 'line 100,300 0,380' -draw 'line 220,300 160,380' -draw 'line 320,300 320,380' -draw 'line 420,300 480,380' -draw 'line 540,300 640,380' \
  -stroke none -fill '#2de2e6' -font DejaVu-Sans-Bold -pointsize 26 -annotate +22+300 'ARCAVIO' \
  -fill '#f6019d' -pointsize 12 -annotate +24+318 'neon skin' -type truecolor BMP3:appb.bmp
