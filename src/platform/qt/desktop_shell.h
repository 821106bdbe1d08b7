#pragma once
// The handheld's shell on a desktop: the help viewer opens the installed help
// document in the desktop's browser at the requested anchor; the input panel
// and the home key are only recorded (a desktop has a real keyboard).

#include <QUrl>
#include <functional>

#include "platform/shell_service.h"

namespace kelvane {

class desktop_shell : public recording_shell {
public:
    // Opens a URL on the desktop; replaceable so tests never start a browser.
    using opener = std::function<bool(const QUrl&)>;
    desktop_shell();
    explicit desktop_shell(opener open) : open_(std::move(open)) {}

    // Understands the help viewer "peghelp.exe" with "file:<document>#<anchor>";
    // false for any other program, a missing document or a failed open, with
    // failure_text() saying which file and why.
    bool run_program(std::u16string_view program, std::u16string_view argument) override;

private:
    opener open_;
};

}  // namespace kelvane
