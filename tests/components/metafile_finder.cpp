// Writes where this program would look for the metafile program.
#include <cstdio>

#include "components/metafilerenderer.h"

int main()
{
    const std::string path = arcavio::findMetafileProgram();
    std::fwrite(path.data(), 1, path.size(), stdout);
    return 0;
}
