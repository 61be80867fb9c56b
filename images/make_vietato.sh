#!/bin/sh
# The foot notice of the listing, in colour (vietato.jpg) and in black and
# white (vietatoBW.jpg): 1122 x 295 pixels, 95 x 25 mm at 300 dpi.
# The drawing is vietato.mvg (ImageMagick's vector format) with the colours
# left as @INK@ (the sign's red) and @TEXT@ (the wording); this script fills
# them in and renders both pictures.
set -e
cd "$(dirname "$0")"
BOLD=$(fc-match -f '%{file}' 'Liberation Sans:bold')
REGULAR=$(fc-match -f '%{file}' 'Liberation Sans')
render() {
    sed -e "s|@INK@|$1|g" -e "s|@TEXT@|$2|g" -e "s|@PALE@|$3|g" \
        -e "s|@BOLD@|$BOLD|g" -e "s|@REGULAR@|$REGULAR|g" vietato.mvg > "$4.tmp.mvg"
    convert "mvg:$4.tmp.mvg" -units PixelsPerInch -density 300 -quality 90 "$4"
    rm -f "$4.tmp.mvg"
}
render '#d01a1a' '#1a1a1a' '#fdecec' vietato.jpg
render '#000000' '#000000' '#ececec' vietatoBW.jpg
