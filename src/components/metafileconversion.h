#pragma once

#include <string>
#include <string_view>

// The metafile libraries, called only inside the metafile program (see metafilerenderer.h):
// they do not survive every hostile file.
namespace arcavio {

// A metafile as an SVG document. Throws invalidMetafileError() for data the converter refuses.
std::string enhancedMetafileToSvg(std::string_view bytes);
std::string metafileToSvg(std::string_view bytes);

} // namespace arcavio
