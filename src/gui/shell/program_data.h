#pragma once
// The program-wide data as the shell sees it: the loading sequence the
// splash window runs, the page to start on, and the writing at the end.

#include <functional>
#include <vector>

namespace kelvane {

// The numbered loading steps, in order (skin, configuration, language,
// automatic backup, trip and account stores).
std::vector<std::function<void()>> loading_steps();

// The page the configuration says was on show last (0-5).
int configured_last_page();
// Keeps the configuration's last page in step with the page on show.
void remember_last_page(int page);

// At the end of the run: the configuration, then the fuel, maintenance and
// fees stores, each writing what it still holds back.
void save_at_end();

}  // namespace kelvane
