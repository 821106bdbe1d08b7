#include "shell/program_data.h"

#include "widgets/bitbmplist_class.h"

namespace kelvane {

// NOTE: the configuration and the stores are not wired in yet; until they
// are, the program starts on the first page and keeps nothing.
namespace {
int last_page_shown = 0;
}

std::vector<std::function<void()>> loading_steps() {
    return {
        [] { skin_bitmap().load_skin(); }, [] {}, [] {}, [] {}, [] {},
    };
}

int configured_last_page() {
    return last_page_shown;
}
void remember_last_page(int page) {
    last_page_shown = page;
}
void save_at_end() {}

}  // namespace kelvane
