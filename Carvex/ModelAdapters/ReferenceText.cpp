#include "Carvex/ModelAdapters/ReferenceText.h"

namespace Carvex::ReferenceText {

std::optional<std::string> componentName(std::string_view ref, std::string_view section)
{
    // Only the first four pieces matter; stop splitting there.
    std::string_view found[4];
    std::size_t count = 0;
    std::size_t start = 0;
    while (count < 4 && start <= ref.size()) {
        std::size_t end = ref.find('/', start);
        if (end == std::string_view::npos)
            end = ref.size();
        if (end > start)
            found[count++] = ref.substr(start, end - start);
        start = end + 1;
    }
    if (count < 4 || found[0] != "#" || found[1] != "components" || found[2] != section)
        return std::nullopt;
    // "~1" becomes "/" before "~0" becomes "~", so that "~01" stays "~1".
    std::string name;
    name.reserve(found[3].size());
    for (std::size_t i = 0; i < found[3].size(); ++i) {
        if (found[3][i] == '~' && i + 1 < found[3].size() && (found[3][i + 1] == '0' || found[3][i + 1] == '1')) {
            name += found[3][i + 1] == '1' ? '/' : '~';
            ++i;
        } else {
            name += found[3][i];
        }
    }
    return name;
}

std::optional<std::string_view> lastPiece(std::string_view ref)
{
    std::size_t end = ref.size();
    while (end > 0 && ref[end - 1] == '/')
        --end;
    if (end == 0)
        return std::nullopt;
    const std::size_t slash = ref.rfind('/', end - 1);
    const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
    return ref.substr(start, end - start);
}

} // namespace Carvex::ReferenceText
