#pragma once
// The kelvane command line: kelvane [--screenshot FILE] [--help] [--version].

#include <QString>
#include <QStringList>

namespace kelvane {

struct launch_options {
    enum class action { run, help, version, error };
    action what = action::run;
    // --screenshot FILE: take a picture of the screen, then end.
    QString screenshot;
    // What is wrong with the command line, for action::error.
    QString error;
};

// Reads the arguments that follow the program's name. With allow_unknown,
// arguments it does not know are passed over: before the desktop toolkit
// has taken its own options (-platform and the like) they may be those.
launch_options read_command_line(const QStringList& arguments, bool allow_unknown);

QString usage_text();
QString version_text();

}  // namespace kelvane
