/* The libjpeg calls live here, in C: the decoder reports fatal errors by a longjmp out of
   the library, which must not cross any C++ frame holding objects. */
#include "components/jpegdecode.h"

#include <setjmp.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jerror.h>
#include <jpeglib.h>

/* A bigger picture than this is refused rather than allocated (8192 x 8192). */
#define ARCAVIO_JPEG_MAX_PIXELS ((uint64_t)1 << 26)

typedef struct ErrorManager {
    struct jpeg_error_mgr base;
    jmp_buf jump;
} ErrorManager;

static void exitWithError(j_common_ptr cinfo)
{
    ErrorManager* manager = (ErrorManager*)cinfo->err;
    longjmp(manager->jump, 1);
}

static void keepQuiet(j_common_ptr cinfo)
{
    (void)cinfo;
}

static void installErrorManager(ErrorManager* manager)
{
    jpeg_std_error(&manager->base);
    manager->base.error_exit = exitWithError;
    manager->base.output_message = keepQuiet;
}

static void cmykRowToRgb(unsigned char* row, unsigned width, int inverted)
{
    /* In place: the RGB pixel is never wider than the CMYK pixel it comes from. */
    for (unsigned x = 0; x < width; ++x) {
        unsigned c = row[4 * x], m = row[4 * x + 1], y = row[4 * x + 2], k = row[4 * x + 3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        row[3 * x] = (unsigned char)(c * k / 255);
        row[3 * x + 1] = (unsigned char)(m * k / 255);
        row[3 * x + 2] = (unsigned char)(y * k / 255);
    }
}

int arcavio_decode_jpeg(const unsigned char* data, size_t size, ArcavioJpegImage* out)
{
    struct jpeg_decompress_struct cinfo;
    ErrorManager errors;
    /* volatile: read after a longjmp back into this frame */
    unsigned char* volatile pixels = NULL;
    unsigned char* volatile rowBuffer = NULL;

    memset(out, 0, sizeof *out);
    memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = &errors.base;
    installErrorManager(&errors);
    if (setjmp(errors.jump)) {
        const int code = errors.base.msg_code;
        jpeg_destroy_decompress(&cinfo);
        free(pixels);
        free(rowBuffer);
        return code != 0 ? code : -1;
    }
    jpeg_create_decompress(&cinfo);
    /* jpeg_mem_src refuses an empty buffer with the same error a read would give */
    jpeg_mem_src(&cinfo, data, (unsigned long)size);
    jpeg_read_header(&cinfo, TRUE);

    int cmyk = 0;
    if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
        cinfo.out_color_space = JCS_CMYK;
        cmyk = 1;
    } else {
        cinfo.out_color_space = JCS_RGB;
    }
    if ((uint64_t)cinfo.image_width * cinfo.image_height > ARCAVIO_JPEG_MAX_PIXELS) {
        errors.base.msg_code = JERR_IMAGE_TOO_BIG;
        longjmp(errors.jump, 1);
    }
    jpeg_start_decompress(&cinfo);

    const unsigned width = cinfo.output_width;
    const unsigned height = cinfo.output_height;
    const size_t rgbStride = (size_t)width * 3;
    const size_t rowStride = (size_t)width * (size_t)cinfo.output_components;
    pixels = malloc(rgbStride * height > 0 ? rgbStride * height : 1);
    rowBuffer = malloc(rowStride > 0 ? rowStride : 1);
    if (pixels == NULL || rowBuffer == NULL) {
        errors.base.msg_code = JERR_OUT_OF_MEMORY;
        longjmp(errors.jump, 1);
    }
    while (cinfo.output_scanline < height) {
        JSAMPROW row = rowBuffer;
        const unsigned line = cinfo.output_scanline;
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            break;
        if (cmyk)
            cmykRowToRgb(rowBuffer, width, cinfo.saw_Adobe_marker);
        memcpy(pixels + (size_t)line * rgbStride, rowBuffer, rgbStride);
    }
    /* A file that ends early leaves its remaining rows as the decoder filled them. */
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    free(rowBuffer);

    out->pixels = pixels;
    out->width = width;
    out->height = height;
    return 0;
}
