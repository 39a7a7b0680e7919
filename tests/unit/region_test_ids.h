// Resource ids of the region tests' own masks (region_test.rc, drawn by make_mask_bitmaps.py).
#pragma once

#define IDB_MASK_SHAPES 940 // 10 x 4, three colours, key 2
#define IDB_MASK_MANY 941   // 199 x 60, 6000 one-pixel runs, key 255
#define IDB_MASK_RGB 942    // 24 bits per pixel
#define IDB_MASK_MISSING 949
