#!/usr/bin/env bash
# Makes the BMP fixtures from the source pictures, with ImageMagick 6 (convert) and netpbm
# (ppmtobmp). Run once in this folder; the results are committed.
set -euo pipefail
cd "$(dirname "$0")"
python3 make_sources.py

# ImageMagick: BMP3 (40-byte info header) and its default BMP4 output (124-byte header).
# Its BMP writer run-length encodes 8-bit pictures unless told -compress None (its plain
# default output is the same file as the -compress RLE one).
convert src256.ppm -colors 256 -compress None BMP3:im_bmp3_c256.bmp
convert src256.ppm -colors 256 -compress None im_bmp4_c256.bmp
convert src256.ppm -colors 256 -compress RLE BMP3:im_bmp3_c256_rle.bmp
convert src256.ppm -colors 256 -compress RLE im_bmp4_c256_rle.bmp
convert src16.ppm -colors 16 -compress None BMP3:im_bmp3_c16.bmp
convert src16.ppm -colors 16 -compress None im_bmp4_c16.bmp
convert src16.ppm -colors 16 -compress RLE BMP3:im_bmp3_c16_rle.bmp
convert src2.ppm -colors 2 -compress None BMP3:im_bmp3_c2.bmp
convert src256.ppm -type truecolor BMP3:im_bmp3_truecolor.bmp
convert src256.ppm -colors 256 BMP2:im_bmp2_c256.bmp

# netpbm: colours-used 0 and a full colour table.
ppmtobmp -bpp 8 src256.ppm >netpbm_8.bmp
ppmtobmp -bpp 4 src16.ppm >netpbm_4.bmp
ppmtobmp -bpp 1 src2.ppm >netpbm_1.bmp
