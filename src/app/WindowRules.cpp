#include "WindowRules.h"

namespace corvane {

std::optional<std::string> NextTitle(int& counter)
{
    std::optional<std::string> title;
    if (++counter > 450) {
        title = kShortTitle;
        counter = 0;
    }
    if (++counter > 400)
        title = kAttributionTitle;
    return title;
}

} // namespace corvane
