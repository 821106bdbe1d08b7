#include "setup/setup_installer.h"

#include <vector>

#include "setup/setup_package.h"
#include "setup/setup_texts.h"

namespace kelvane {

namespace {

install_step failed(install_outcome outcome, std::u16string_view message) {
    install_step step;
    step.outcome = outcome;
    step.message = message;
    return step;
}

}  // namespace

install_step install_package(file_system& fs, const install_request& request) {
    const auto& texts = setup_texts_for(request.language);

    std::vector<std::uint8_t> package;
    if (!read_setup_package(fs, request.setup_file, request.language, package))
        return failed(install_outcome::package_missing, texts.package_missing);

    // The folder may come in the device's form (C:\Temp\) or the host's (/tmp/).
    std::u16string folder = request.temp_folder;
    if (folder.empty() || (folder.back() != u'\\' && folder.back() != u'/')) folder += u'\\';
    const std::u16string cab = folder + setup_package_file_name;
    const std::u16string ini = folder + setup_description_file_name;

    // Both files are written whole or not at all: the manager must never be
    // started on a cut package or a missing description.
    if (!write_file_atomically(fs, cab, package.data(), package.size()))
        return failed(install_outcome::write_failed,
                      cabinet_not_created_text(request.language, cab));
    if (!write_file_atomically(fs, ini, setup_description_text.data(),
                               setup_description_text.size()))
        return failed(install_outcome::write_failed,
                      description_not_created_text(request.language, ini));

    if (!request.manager_path || request.manager_path->empty())
        return failed(install_outcome::manager_not_found, texts.manager_not_found);

    install_step step;
    step.outcome = install_outcome::start_manager;
    step.manager = *request.manager_path;
    step.parameters = ini;  // the path as it stands, unquoted
    return step;
}

install_step run_install(setup_platform& platform, setup_language language) {
    // Installing beneath a running Kelvane would change the program it runs
    // and race it for its data; nothing is written until it is closed.
    if (platform.program_running())
        return failed(install_outcome::program_running, setup_texts_for(language).program_running);
    install_request request;
    request.setup_file = platform.own_file();
    request.temp_folder = platform.temp_folder();
    request.language = language;
    request.manager_path = platform.manager_path();
    install_step step = install_package(platform.files(), request);
    if (step.outcome == install_outcome::start_manager &&
        !platform.start_program(step.manager, step.parameters))
        return failed(install_outcome::manager_not_found,
                      setup_texts_for(language).manager_not_found);
    return step;
}

}  // namespace kelvane
