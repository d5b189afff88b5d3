// The status text of the folder picker: a path cut to 35 code units and "...".
#include "controls/PathShortening.h"

std::string ShortenPath(const std::string& path, LeadByteTest isLead)
{
    if (path.size() <= StatusPathLength)
        return path;
    // Walk whole characters; a lead byte whose trail byte would fall beyond
    // the cut stays out with it.
    const Characters<LeadByteTest> characters(path, isLead);
    std::size_t cut = 0;
    while (cut < StatusPathLength) {
        std::size_t width = characters.lengthAt(cut);
        if (cut + width > StatusPathLength)
            break;
        cut += width;
    }
    return path.substr(0, cut) + "...";
}
