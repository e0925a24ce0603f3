// Metafiles, through the metafile program and its answer: the program may crash, run out of
// its limits or answer anything; here every such end must be "Metafile is not valid".
#include <string>

#include "components/metafilerenderer.h"
#include "pictures.h"

using namespace arcavio;

ARCAVIO_FUZZ_TARGET
{
    static const bool setUp = [] {
        metafileRenderer().program = ARCAVIO_METAFILE_PROGRAM;
        return true;
    }();
    static_cast<void>(setUp);

    // The answer reader alone, with the input as an answer.
    try {
        const ArgbPicture picture = decodeRenderedPicture(input);
        FUZZ_CHECK(picture.pixels.size() == static_cast<std::size_t>(picture.width) * picture.height);
    } catch (const PictureError& e) {
        FUZZ_CHECK(std::string(e.what()) == "Metafile is not valid");
    }
    // The input as a file of the kind its header names.
    const bool enhanced = input.size() >= 44 && input.substr(40, 4) == " EMF";
    fuzz::decodeAsPreview(input, enhanced ? PictureFormat::EnhancedMetafile : PictureFormat::Metafile);
}
