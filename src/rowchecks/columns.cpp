#include "columns.h"

namespace rowchecks {

std::span<const Column> columns(const tabulon::Run& run)
{
    return visit_layout(run, []<Layout L>() { return std::span<const Column>(columns_of<L>); });
}

bool titles_match(int count, tabulon::Format format)
{
    const auto titles = [](const Layout& layout) { return static_cast<int>(layout_detail::count(layout)); };
    return count == titles({true, format}) || count == titles({true, format, tabulon::has_alternates(format)});
}

}  // namespace rowchecks
