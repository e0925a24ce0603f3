#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// Result of decoding one JPEG image into 8-bit RGB rows (3 bytes a pixel, no padding).
// pixels is allocated with malloc and belongs to the caller.
typedef struct ArcavioJpegImage {
    unsigned char* pixels;
    unsigned width;
    unsigned height;
} ArcavioJpegImage;

// Decodes a whole JPEG file held in memory. Returns 0 on success, otherwise the decoder's
// message number (its msg_code). Warnings, such as a file that ends early, do not fail:
// what was decoded is returned.
int arcavio_decode_jpeg(const unsigned char* data, size_t size, ArcavioJpegImage* out);

#ifdef __cplusplus
}
#endif
